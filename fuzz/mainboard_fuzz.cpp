// The processor and mainboard probes over hostile kernel values and tool output:
// nothing may crash, and no physical board field may carry an Apple identity.

#include "fuzz_input.h"
#include "probe/cpu.h"
#include "probe/mainboard.h"
#include "probe/sources/dmidecode.h"
#include "probe/sources/filters.h"
#include "probe/system_probe.h"


#include <cstdlib>
#include <type_traits>

using namespace veltrin;
using SystemProbe::DMIInfo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MachineReadings readings = fuzzing::readings(fuzzing::texts(data, size, fuzzing::kTextCount));

    // Every text field has a value; at most one cluster per level a chip may have.
    const CPUInfo cpu = SystemProbe::cpuInfo(readings);
    const auto blank = []<typename Field>(const Field& field) {
        if constexpr (std::is_same_v<Field, std::string>)
            return field.empty();
        return false;
    };
    std::apply([&](const auto&... field) { ((blank(field) ? std::abort() : void()), ...); }, cpu.fields());
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
