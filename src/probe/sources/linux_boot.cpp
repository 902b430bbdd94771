#include "probe/sources/linux_boot.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/linux_files.h"
#include "probe/sources/system_file.h"

#include <algorithm>

namespace veltrin::SystemProbe {
namespace {

// The variable's attributes (a 32-bit mask) come before its one byte of data.
constexpr std::size_t kSecureBootDataOffset = 4;

// Module names are C identifiers with dashes; anything else is no module line.
bool isModuleName(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    });
}

std::string_view originOf(std::string_view marks)
{
    if (marks.find('O') != std::string_view::npos)
        return kOutOfTreeOrigin;
    if (marks.find('E') != std::string_view::npos)
        return kUnsignedOrigin;
    return kInTreeOrigin;
}

std::optional<KernelExtension> moduleLine(const FileContents& files, std::string_view line)
{
    const std::vector<std::string_view> words = blankSeparatedWords(line);
    if (words.size() < 6 || !isModuleName(words[0]))
        return std::nullopt;
    // Marks follow the address only when the module has any: "(POE)", "(OE+)".
    const std::string_view last = words.back();
    const bool marked = words.size() > 6 && last.size() > 2 && last.starts_with('(') && last.ends_with(')');
    const std::string versionFile =
        std::string(LinuxPath::moduleFolder) + std::string(words[0]) + "/" + std::string(kModuleVersionFile);
    return KernelExtension{
        .identifier = std::string(words[0]),
        .version = systemFileText(files, versionFile).value_or(""),
        .origin = std::string(originOf(marked ? last.substr(1, last.size() - 2) : std::string_view())),
    };
}

} // namespace

std::vector<KernelExtension> kernelModules(const FileContents& files)
{
    std::vector<KernelExtension> modules;
    std::string_view list = fileContent(files, LinuxPath::kernelModules).value_or("");
    while (!list.empty() && modules.size() < kMaxListedExtensions) {
        const std::size_t end = std::min(list.find('\n'), list.size());
        if (auto module = moduleLine(files, list.substr(0, end)))
            modules.push_back(*std::move(module));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return modules;
}

std::string secureBootState(const FileContents& files)
{
    const auto variable = fileContent(files, LinuxPath::secureBootVariable);
    if (!variable || variable->size() != kSecureBootDataOffset + 1)
        return {};
    switch ((*variable)[kSecureBootDataOffset]) {
    case 1:
        return "enabled";
    case 0:
        return "disabled";
    default:
        return {};
    }
}

} // namespace veltrin::SystemProbe
