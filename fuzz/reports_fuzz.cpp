// The memory and graphics reports (text and XML form), with dmidecode memory devices beside them.

#include "fuzz_input.h"
#include "probe/graphics.h"
#include "probe/memory.h"
#include "probe/sources/dmidecode.h"


#include <cstdlib>

using namespace veltrin;
using SystemProbe::DMIInfo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MachineReadings readings = fuzzing::readings(fuzzing::texts(data, size, fuzzing::kTextCount));

    DMIInfo dmi;
    dmi.raw = readings.dmidecode.output;
    dmi.memoryModules = SystemProbe::dmiMemoryModules(dmi.raw);
    const MemoryInfo memory = SystemProbe::memoryInfo(readings, dmi);
    if (memory.total.empty())
        std::abort();

    const auto adapters = SystemProbe::graphicsInfo(readings);
    if (adapters.empty())
        std::abort(); // the probe never returns an empty list
    return 0;
}
