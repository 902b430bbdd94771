#include "probe/sources/kext_listing.h"

#include "core/text_match.h"
#include "core/unicode_text.h"

#include <algorithm>

namespace veltrin::SystemProbe {
namespace {

bool isDecimal(std::string_view word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// An address or size column: "0", or hexadecimal digits after "0x".
bool isNumberColumn(std::string_view word)
{
    if (word == "0")
        return true;
    if (word.size() < 3 || !word.starts_with("0x"))
        return false;
    return std::all_of(word.begin() + 2, word.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

bool isAppleBundle(std::string_view identifier)
{
    return identifier.starts_with("com.apple.") || identifier == "__kernel__";
}

// The text inside the parentheses that open `rest`, nested ones included; absent
// when they do not open it or never close.
std::optional<std::string_view> parenthesised(std::string_view rest)
{
    if (!rest.starts_with('('))
        return std::nullopt;
    int depth = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        depth += rest[i] == '(' ? 1 : rest[i] == ')' ? -1 : 0;
        if (depth == 0)
            return rest.substr(1, i - 1);
    }
    return std::nullopt;
}

// Index, refs, address, size and wired, then the identifier and its version.
std::optional<KernelExtension> row(std::string_view line)
{
    const std::vector<std::string_view> words = blankSeparatedWords(line);
    if (words.size() < 7 || !isDecimal(words[0]) || !isDecimal(words[1]) ||
        !std::all_of(words.begin() + 2, words.begin() + 5, isNumberColumn))
        return std::nullopt;
    const std::string_view identifier = words[5];
    const std::size_t versionAt = static_cast<std::size_t>(words[6].data() - line.data());
    const auto version = parenthesised(line.substr(versionAt));
    if (!version || identifier.starts_with('(') || !isValidUtf8(identifier))
        return std::nullopt;
    return KernelExtension{
        .identifier = std::string(identifier),
        .version = trimmed(*version),
        .origin = std::string(isAppleBundle(identifier) ? kAppleOrigin : kThirdPartyOrigin),
    };
}

} // namespace

std::vector<KernelExtension> loadedExtensions(std::string_view listing)
{
    std::vector<KernelExtension> extensions;
    while (!listing.empty() && extensions.size() < kMaxListedExtensions) {
        const std::size_t end = std::min(listing.find('\n'), listing.size());
        if (auto extension = row(listing.substr(0, end)))
            extensions.push_back(*std::move(extension));
        listing.remove_prefix(std::min(end + 1, listing.size()));
    }
    return extensions;
}

} // namespace veltrin::SystemProbe
