#include "core/placeholder_rule.h"

#include "core/no_value_words.h"
#include "core/unicode_text.h"

#include <algorithm>
#include <string>

namespace veltrin {
namespace {

// The probes write both dashes for "nothing"; one spelling keeps the lists short.
std::string withEmDashes(std::string text)
{
    constexpr std::string_view enDash = "\u2013";
    constexpr std::string_view emDash = "\u2014";
    for (auto at = text.find(enDash); at != std::string::npos; at = text.find(enDash, at + emDash.size()))
        text.replace(at, enDash.size(), emDash);
    return text;
}

} // namespace

bool veltrinShouldHideField(std::string_view value)
{
    const std::string normalised = lowercased(withEmDashes(trimmed(value)));
    if (normalised.empty())
        return true;
    const auto isValue = [&](std::string_view placeholder) { return normalised == placeholder; };
    const auto holdsFragment = [&](std::string_view fragment) { return contains(normalised, fragment); };
    return std::ranges::any_of(NoValueWords::kHiddenValues, isValue) ||
           std::ranges::any_of(NoValueWords::kHiddenFragments, holdsFragment);
}

} // namespace veltrin
