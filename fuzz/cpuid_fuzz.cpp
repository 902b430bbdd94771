// The processor's CPUID answers (cpuid.txt, first, so the captures' own files seed
// it) with the kernel values beside them (sysctl.txt): the decoders alone, then the
// whole processor record on both platforms, the Linux one with /proc/cpuinfo and a
// cache folder's ways from the input.

#include "fuzz_input.h"
#include "platform/linux_files.h"
#include "platform/machine.h"
#include "probe/cpu.h"
#include "probe/sources/cpuid.h"

#include <cstdlib>

using namespace veltrin;
using namespace veltrin::SystemProbe;

namespace {

void checkLayout(const CacheLayout& layout)
{
    if (layout.ways && *layout.ways != kFullyAssociative && (*layout.ways < 1 || *layout.ways > 1024))
        std::abort(); // ten bits plus one, or a code of AMD's table
    if (layout.lineSize && (*layout.lineSize < 1 || *layout.lineSize > 4096))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> parts = fuzzing::texts(data, size, 4);
    const CpuidAnswers answers(parts[0]);
    if (const auto signature = cpuidSignature(answers); signature && (signature->family > 0x10E || signature->model > 0xFF))
        std::abort();
    for (const CacheLevel level : {CacheLevel::l1Instruction, CacheLevel::l1Data, CacheLevel::l2, CacheLevel::l3}) {
        if (const auto bytes = cpuidCacheSize(answers, level); bytes && *bytes <= 0)
            std::abort();
        checkLayout(cpuidCacheLayout(answers, level));
    }

    std::vector<std::string> texts(fuzzing::kTextCount); // sysctl.txt only, no tool printed anything
    texts[0] = parts[1];
    MachineReadings readings = fuzzing::readings(texts);
    readings.cpuid = parts[0];
    for (const std::string_view platform : {kMacPlatform, kLinuxPlatform}) {
        readings.platform = std::string(platform);
        readings.files[std::string(LinuxPath::cpuInfo)] = parts[2];
        readings.files[std::string(LinuxPath::cacheFolder) + "index0/level"] = "1\n";
        readings.files[std::string(LinuxPath::cacheFolder) + "index0/type"] = "Data\n";
        readings.files[std::string(LinuxPath::cacheFolder) + "index0/ways_of_associativity"] = parts[3];
        const CPUInfo cpu = cpuInfo(readings);
        for (const std::string* text : {&cpu.family, &cpu.extModel, &cpu.microcode, &cpu.l1dWays, &cpu.cacheLine,
                                        &cpu.coreDesign, &cpu.kernelSignature})
            if (text->size() > 64 || text->find('\n') != std::string::npos)
                std::abort();
    }
    return 0;
}
