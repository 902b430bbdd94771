// dmidecode output: block splitting, value lookup and memory devices.

#include "fuzz_input.h"

#include "probe/memory.h"
#include "probe/sources/dmidecode.h"

#include <cstdlib>

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = fuzzing::texts(data, size, 1)[0];

    for (const std::string& block : SystemProbe::dmiBlocks(text))
        if (block.empty())
            std::abort();

    constexpr std::pair<const char*, const char*> kLookups[] = {
        {"BIOS Information", "Vendor"},          {"BIOS Information", "Version"},
        {"BIOS Information", "Release Date"},    {"System Information", "Manufacturer"},
        {"System Information", "Product Name"},  {"System Information", "Serial Number"},
        {"System Information", "Version"},       {"Base Board Information", "Manufacturer"},
        {"Base Board Information", "Product Name"}, {"Base Board Information", "Version"},
        {"Base Board Information", "Serial Number"}, {"Base Board Information", "Asset Tag"},
    };
    for (const auto& [handle, key] : kLookups) {
        const auto value = SystemProbe::dmiValue(text, handle, key);
        if (value && value->find('\n') != std::string::npos)
            std::abort(); // a value never runs into the next line
    }

    for (const MemoryModule& module : SystemProbe::dmiMemoryModules(text))
        if (module.size.empty() || module.bank.empty())
            std::abort();
    return 0;
}
