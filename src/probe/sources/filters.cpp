#include "probe/sources/filters.h"

#include "core/no_value_words.h"
#include "core/unicode_text.h"

#include <algorithm>
#include <array>
#include <span>

namespace veltrin::SystemProbe {
namespace {

// "macmini" joins the product words: Macmini8,1 is a common OpenCore identity and
// names no other product word, so without it the spoofed model reached the board.
constexpr std::array<std::string_view, 5> kAppleProductWords{"apple", "macpro", "imac", "macbook", "macmini"};

// OpenCore writes its maker's name, Acidanthera, over the board and firmware
// makers of the tables it generates; that name never describes the real board,
// and anywhere in the platform text it says OpenCore booted the machine.
constexpr std::array<std::string_view, 3> kOpenCoreMarkers{"open core", "opencore", "acidanthera"};
constexpr std::string_view kFallbackMarker = "smbios fallback";
constexpr std::array<std::string_view, 4> kFirmwareFallbacks{"apple/efi", "smbios fallback", "boot rom", "acidanthera"};

bool containsAny(std::string_view text, std::span<const std::string_view> words)
{
    return std::any_of(words.begin(), words.end(), [&](std::string_view word) { return contains(text, word); });
}

bool equalsAny(std::string_view text, std::span<const std::string_view> words)
{
    return std::find(words.begin(), words.end(), text) != words.end();
}

} // namespace

bool isPlaceholderValue(std::string_view loweredTrimmedValue)
{
    return equalsAny(loweredTrimmedValue, NoValueWords::kPlaceholders);
}

std::optional<std::string> clean(const std::optional<std::string>& value)
{
    if (!value)
        return std::nullopt;
    std::string text = trimmed(*value);
    if (text.empty() || isPlaceholderValue(lowercased(text)))
        return std::nullopt;
    return text;
}

std::optional<std::string> firstUsable(std::initializer_list<std::optional<std::string>> candidates)
{
    for (const auto& candidate : candidates)
        if (auto usable = clean(candidate))
            return usable;
    return std::nullopt;
}

bool isAppleSMBIOSValue(const std::optional<std::string>& value)
{
    const auto usable = clean(value);
    if (!usable)
        return false;
    const std::string lowered = lowercased(*usable);
    return containsAny(lowered, kAppleProductWords) || lowered.starts_with("mac-");
}

bool containsOpenCoreMarker(std::string_view text) { return containsAny(lowercased(text), kOpenCoreMarkers); }

bool isBoardFiller(std::string_view value) { return equalsAny(lowercased(trimmed(value)), NoValueWords::kBoardFiller); }

std::optional<std::string> trustedBoardValue(const std::optional<std::string>& value)
{
    auto usable = clean(value);
    if (!usable)
        return std::nullopt;
    const std::string lowered = lowercased(*usable);
    if (equalsAny(lowered, NoValueWords::kBoardFiller) || isAppleSMBIOSValue(usable) ||
        contains(lowered, kFallbackMarker) || containsAny(lowered, kOpenCoreMarkers))
        return std::nullopt;
    return usable;
}

std::optional<std::string> trustedSerialValue(const std::optional<std::string>& value)
{
    auto trusted = trustedBoardValue(value);
    if (trusted && containsAny(lowercased(*trusted), NoValueWords::kSerialFiller))
        return std::nullopt;
    return trusted;
}

std::optional<std::string> trustedFirmwareValue(const std::optional<std::string>& value)
{
    auto usable = clean(value);
    if (!usable)
        return std::nullopt;
    const std::string lowered = lowercased(*usable);
    if (containsAny(lowered, kFirmwareFallbacks) || lowered.starts_with("mac-"))
        return std::nullopt;
    return usable;
}

bool isEmptyMemorySlot(std::string_view value)
{
    const std::string lowered = lowercased(trimmed(value));
    return lowered.empty() || equalsAny(lowered, NoValueWords::kEmptySlots) ||
           contains(lowered, NoValueWords::kEmptySlotFragment);
}

std::optional<std::string> cleanMemoryTypeValue(const std::optional<std::string>& value)
{
    if (!value)
        return std::nullopt;
    std::string text = trimmed(*value);
    const std::string lowered = lowercased(text);
    const bool namesNoTechnology = text.empty() || isPlaceholderValue(lowered) || isEmptyMemorySlot(text) ||
                                   equalsAny(lowered, NoValueWords::kGenericMemory) ||
                                   (contains(lowered, "ram") && !contains(lowered, "ddr"));
    if (namesNoTechnology)
        return std::nullopt;
    return text;
}

std::string moduleValue(const std::optional<std::string>& value)
{
    const auto cleaned = clean(value);
    return cleaned && !isEmptyMemorySlot(*cleaned) ? *cleaned : std::string();
}

} // namespace veltrin::SystemProbe
