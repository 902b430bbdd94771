// The boot decoders over hostile text: the extension table kextstat and kmutil
// print, nvram's values, csrutil's status and the Linux module list with its
// version files and the Secure Boot variable. Nothing may crash, the lists stay
// within their limit, and every value is a known word or empty.

#include "platform/command_table.h"
#include "platform/linux_files.h"
#include "probe/boot.h"

#include <cstdlib>
#include <string>
#include <string_view>

using namespace veltrin;

namespace {

// The input split at every ASCII record separator (0x1E), one piece per source:
// the module files are bytes as read, the tool outputs text as the runner keeps it.
std::string_view piece(std::string_view& input)
{
    const std::size_t end = std::min(input.find('\x1e'), input.size());
    const std::string_view text = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));
    return text;
}

bool oneOf(const std::string& value, std::initializer_list<std::string_view> words)
{
    for (const std::string_view word : words)
        if (value == word)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    MachineReadings readings;
    for (const Tool tool : {Tool::loadedExtensions, Tool::loadedExtensionsKmutil, Tool::bootArguments,
                            Tool::sipConfiguration, Tool::sipStatus})
        readings.tools[tool] = {std::string(piece(input)), 0};
    for (const std::string_view path : {LinuxPath::kernelModules, LinuxPath::kernelCommandLine,
                                        LinuxPath::secureBootVariable, std::string_view("/sys/module/a/version")})
        readings.files[std::string(path)] = std::string(piece(input));

    const BootInfo boot = SystemProbe::bootInfo(readings);
    if (boot.extensions.size() > kMaxListedExtensions)
        std::abort();
    if (!oneOf(boot.secureBoot, {"", "enabled", "disabled"}))
        std::abort();
    if (!boot.sipValue.empty() && !boot.sipValue.starts_with("0x"))
        std::abort();
    for (const KernelExtension& extension : boot.extensions)
        if (extension.identifier.empty() ||
            !oneOf(extension.origin, {"Apple", "third-party", "out-of-tree", "unsigned", "in-tree"}))
            std::abort();
    return 0;
}
