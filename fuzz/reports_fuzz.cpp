// The memory and graphics reports, with dmidecode memory devices beside them.

#include "fuzz_input.h"

#include "probe/dmi_reader.h"
#include "probe/parsers.h"

#include <cstdlib>

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzzing::texts(data, size, fuzzing::FuzzMachine::kTextCount);
    const fuzzing::FuzzMachine machine(parts);
    const std::string& report = parts[2];   // SPMemoryDataType
    const std::string& graphics = parts[3]; // SPDisplaysDataType
    const std::string& dmidecode = parts.back();

    DMIInfo dmi;
    dmi.raw = dmidecode;
    dmi.memoryModules = SystemProbe::dmiMemoryModules(dmidecode);
    const MemoryInfo memory = SystemProbe::memoryInfo(machine, "", report, dmi);
    if (memory.total.empty())
        std::abort();

    const auto adapters = SystemProbe::gpuInfo(graphics);
    if (adapters.empty())
        std::abort(); // the probe never returns an empty list
    return 0;
}
