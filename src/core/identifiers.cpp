#include "core/identifiers.h"

#include "core/unicode_text.h"

#include <algorithm>

namespace veltrin {
namespace {

constexpr std::size_t kKeptCharacters = 4;
constexpr std::size_t kShortestKeeping = 8;
constexpr std::size_t kLongestShort = 12;

} // namespace

bool isIdentifierField(std::string_view path)
{
    return std::ranges::find(kIdentifierFields, path) != kIdentifierFields.end();
}

std::string maskedIdentifier(std::string_view value)
{
    const std::string text = trimmed(value);
    const std::size_t length = graphemeCount(text);
    std::string masked;
    for (std::size_t bullet = 0; bullet < (length <= kLongestShort ? 8u : 16u); ++bullet)
        masked += "\u2022";
    return length < kShortestKeeping ? masked : masked + lastGraphemes(text, kKeptCharacters);
}

} // namespace veltrin
