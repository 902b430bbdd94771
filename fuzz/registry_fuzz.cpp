// ioreg property text, hexadecimal data and uptime output.

#include "fuzz_input.h"
#include "probe/mainboard.h"
#include "probe/operating_system.h"
#include "probe/sources/ioreg.h"


#include <cstdlib>

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzzing::texts(data, size, 2);
    const std::string& text = parts[0];

    for (const char* key : {"manufacturer", "board-name", "board-id", "model", "compatible", "product-name",
                            parts[1].c_str()})
        (void)SystemProbe::ioregStringValue(key, text);

    const auto decoded = SystemProbe::hexToASCII(text);
    if (decoded && (decoded->empty() || decoded->find('\0') != std::string::npos))
        std::abort();

    // Pieces are rejoined with ", ", so the duration may be longer than the text
    // it came from; it is always trimmed.
    const std::string uptime = SystemProbe::uptimeOnly(text);
    if (trimmed(uptime) != uptime)
        std::abort();
    return 0;
}
