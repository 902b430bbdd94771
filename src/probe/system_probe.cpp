#include "probe/system_probe.h"

#include "core/unicode_text.h"
#include "probe/boot.h"
#include "probe/cpu.h"
#include "probe/graphics.h"
#include "probe/mainboard.h"
#include "probe/memory.h"
#include "probe/operating_system.h"
#include "probe/sources/sysfs_dmi.h"

#include <type_traits>
#include <utility>

namespace veltrin::SystemProbe {
namespace {

// Whatever a tool printed, a field shows one line of a sane length: a flooding
// tool cannot put megabytes into the window, the summary or the JSON. The
// feature-flag list is the one long line real machines print (about 1.5 KB on a
// current x86 processor).
constexpr std::size_t kMaxFieldBytes = 4096;
constexpr std::size_t kMaxFeatureFlagsBytes = 65536;

template <typename Value>
void boundForDisplay(Value& value, std::string_view name)
{
    if constexpr (std::is_same_v<Value, std::string>) {
        value = displayLine(value, name == "features" ? kMaxFeatureFlagsBytes : kMaxFieldBytes);
    } else if constexpr (requires { value.fields(); }) {
        auto fields = value.fields();
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (boundForDisplay(std::get<I>(fields), Value::fieldNames[I]), ...);
        }(std::make_index_sequence<Value::fieldNames.size()>{});
    } else if constexpr (requires { value.begin(); }) {
        for (auto& element : value)
            boundForDisplay(element, name);
    }
}

} // namespace

DMIInfo dmiTables(const MachineReadings& readings)
{
    if (readings.dmidecodePath && readings.dmidecode.status == 0 && !readings.dmidecode.output.empty())
        return dmidecodeInfo(*readings.dmidecodePath, readings.dmidecode);
    if (auto sysfs = sysfsDmiInfo(readings.files))
        return *std::move(sysfs);
    return readings.dmidecodePath ? dmidecodeInfo(*readings.dmidecodePath, readings.dmidecode) : DMIInfo{};
}

SystemSnapshot snapshotFrom(const MachineReadings& readings)
{
    const DMIInfo dmi = dmiTables(readings);
    SystemSnapshot snapshot;
    snapshot.cpu = cpuInfo(readings);
    snapshot.mainboard = mainboardInfo(readings, dmi);
    const OperatingSystemInfo system = operatingSystemInfo(readings);
    snapshot.mainboard.os = system.os;
    snapshot.mainboard.kernel = system.kernel;
    snapshot.mainboard.uptime = system.uptime;
    snapshot.memory = memoryInfo(readings, dmi);
    snapshot.gpus = graphicsInfo(readings);
    snapshot.boot = bootInfo(readings);
    boundForDisplay(snapshot, "");
    return snapshot;
}

SystemSnapshot collect(const Machine& machine) { return snapshotFrom(readMachine(machine)); }

} // namespace veltrin::SystemProbe
