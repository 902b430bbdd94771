// The capture-directory reader: sysctl.txt lines and exit-status files.

#include "fuzz_input.h"

#include <cstdlib>

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& [name, value] : parseKernelValues(bytes))
        if (name.empty() || name.find('\n') != std::string::npos || value.find('\n') != std::string::npos)
            std::abort();
    (void)parseExitStatus(bytes);
    return 0;
}
