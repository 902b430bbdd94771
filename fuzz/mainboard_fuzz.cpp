// The processor and mainboard probes over hostile kernel values and tool output:
// nothing may crash, and no physical board field may carry an Apple identity.

#include "fuzz_input.h"

#include "probe/dmi_reader.h"
#include "probe/mainboard_probe.h"
#include "probe/parsers.h"

#include <cstdlib>

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzzing::texts(data, size, fuzzing::FuzzMachine::kTextCount);
    const fuzzing::FuzzMachine machine(parts);
    const std::string& hardware = parts[1];
    const std::string& software = parts[4];

    const CPUInfo cpu = SystemProbe::cpuInfo(machine, hardware, hardware);
    const auto fields = cpu.fields();
    std::apply([](const auto&... field) { ((field.empty() ? std::abort() : void()), ...); }, fields);

    const DMIInfo dmi = SystemProbe::dmiInfo(machine);
    const MainboardInfo board = SystemProbe::mainboardInfo(machine, hardware, hardware, software, dmi);
    for (const std::string* physical : {&board.manufacturer, &board.model, &board.boardName, &board.boardID,
                                        &board.boardVersion, &board.serial})
        if (SystemProbe::isAppleSMBIOSValue(*physical))
            std::abort();
    if (board.detectionNotes.empty())
        std::abort();
    return 0;
}
