// The processor and mainboard probes over hostile kernel values and tool output:
// nothing may crash, and no physical board field may carry an Apple identity.

#include "fuzz_input.h"
#include "probe/cpu.h"
#include "probe/mainboard.h"
#include "probe/sources/dmidecode.h"
#include "probe/sources/filters.h"
#include "probe/system_probe.h"


#include <cstdlib>
#include <utility>

using namespace veltrin;
using SystemProbe::DMIInfo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MachineReadings readings = fuzzing::readings(fuzzing::texts(data, size, fuzzing::kTextCount));

    // Each of the eleven text fields before the cluster list has a value (the
    // processor's own fields after it are empty where unknown); at most one
    // cluster per level a chip may have.
    const CPUInfo cpu = SystemProbe::cpuInfo(readings);
    const auto fields = cpu.fields();
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((std::get<I>(fields).empty() ? std::abort() : void()), ...);
    }(std::make_index_sequence<11>());
    if (cpu.clusters.size() > static_cast<std::size_t>(kMaxPerfLevels))
        std::abort();

    const DMIInfo dmi = SystemProbe::dmiTables(readings);
    const MainboardInfo board = SystemProbe::mainboardInfo(readings, dmi);
    for (const std::string* physical : {&board.manufacturer, &board.model, &board.boardName, &board.boardID,
                                        &board.boardVersion, &board.serial})
        if (SystemProbe::isAppleSMBIOSValue(*physical))
            std::abort();
    if (board.detectionNotes.empty())
        std::abort();
    return 0;
}
