#include "probe/sources/inference.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "probe/sources/filters.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>

namespace veltrin::SystemProbe {
namespace {

constexpr std::string_view kMSI = "Micro-Star International Co., Ltd. / MSI";
constexpr std::string_view kGigabyte = "Gigabyte Technology Co., Ltd.";
constexpr std::string_view kASUS = "ASUSTeK Computer Inc.";
constexpr std::string_view kASRock = "ASRock";
constexpr std::string_view kAMI = "American Megatrends International";

constexpr std::array<SubstringRule, 10> kOEMRules{{
    {"micro-star", kMSI},
    {"msi", kMSI},
    {"gigabyte", kGigabyte},
    {"asustek", kASUS},
    {"asus", kASUS},
    {"asrock", kASRock},
    {"dell", "Dell Inc."},
    {"lenovo", "Lenovo"},
    {"hpq", "HP"},
    {"hewlett", "HP"},
}};

// Product lines, so "mag ", "rog " and "prime " need the space that follows them.
constexpr std::array<SubstringRule, 19> kBoardNameRules{{
    {"msi", kMSI},
    {"mag ", kMSI},
    {"mpg ", kMSI},
    {"meg ", kMSI},
    {"tomahawk", kMSI},
    {"edge ti", kMSI},
    {"carbon", kMSI},
    {"gigabyte", kGigabyte},
    {"aorus", kGigabyte},
    {"asus", kASUS},
    {"rog ", kASUS},
    {"tuf ", kASUS},
    {"prime ", kASUS},
    {"proart", kASUS},
    {"asrock", kASRock},
    {"steel legend", kASRock},
    {"taichi", kASRock},
    {"apple", "Apple Inc. (SMBIOS fallback)"},
    {"mac", "Apple Inc. (SMBIOS fallback)"},
}};

// The capture stops at the line end: spaces and tabs, not line breaks, may stand
// inside a board name, so a name never runs on into the next key.
constexpr std::array<std::string_view, 4> kZ890BoardPatterns{
    R"(((?:MSI|MAG|MPG|MEG|PRO)[A-Z0-9 \t-]*Z890[A-Z0-9 \t-]*))",
    R"(((?:ROG|TUF|PRIME|PROART)[A-Z0-9 \t-]*Z890[A-Z0-9 \t-]*))",
    R"(((?:AORUS|GIGABYTE)[A-Z0-9 \t-]*Z890[A-Z0-9 \t-]*))",
    R"((Z890[A-Z0-9 \t-]*))",
};

// A bare code counts only where no letter or digit stands right before it, so
// hexadecimal literals such as 0x100 in registry and DMI text are not read as X100.
constexpr std::array<std::string_view, 3> kChipsetPatterns{
    R"((Intel\s+(?:Z|B|H|Q|W|X)[0-9]{3}))",
    R"((?<![\p{L}\p{N}])((?:Z|B|H|Q|W|X)[0-9]{3}))",
    R"((AMD\s+(?:X|B|A)[0-9]{3}))",
};

// Codes that only AMD chipsets carry; a bare one names an AMD board, never an Intel one.
constexpr std::array<std::string_view, 11> kAMDOnlyChipsetCodes{
    "X370", "B350", "X470", "B450", "X570", "B550", "X670", "B650", "X870", "B850", "B840",
};

// Newest first within each line-up, so a text naming two boards takes the newer Z part.
constexpr std::array<std::string_view, 21> kIntelChipsetCodes{
    "z890", "z790", "z690", "z590", "z490", "z390", "z370",
    "b860", "b760", "b660", "b560", "b460", "b360",
    "h810", "h770", "h670", "h610", "h570", "h510", "h470", "h370",
};

constexpr std::array<SubstringRule, 16> kPlatformRules{{
    {"800 series", "Intel 800 Series / Z890-class"},
    {"alder lake-s pch", "Intel 800 Series / Z890-class"},
    {"meteor lake", "Intel 800 Series / Z890-class"},
    {"700 series", "Intel 700 Series"},
    {"600 series", "Intel 600 Series"},
    {"x870", "AMD X870"},
    {"x670", "AMD X670"},
    {"b650", "AMD B650"},
    {"apple silicon", "Apple Silicon platform"},
    {"mac14", "Apple Silicon platform"},
    {"mac15", "Apple Silicon platform"},
    {"mac16", "Apple Silicon platform"},
    {"macpro7,1", "Intel Xeon W / C621-class platform"},
    {"imac20", "Intel 400-series platform"},
    {"imac19", "Intel 300-series platform"},
    {"macmini8,1", "Intel 300-series platform"},
}};

constexpr std::array<SubstringRule, 4> kFirmwareRules{{
    {"american megatrends", kAMI},
    {"ami", kAMI},
    {"insyde", "Insyde"},
    {"phoenix", "Phoenix"},
}};

std::optional<std::string> ownedHit(std::string_view text, std::span<const SubstringRule> rules)
{
    const auto hit = firstSubstringHit(lowercased(text), rules);
    return hit ? std::optional<std::string>(*hit) : std::nullopt;
}

// True when no letter (of any script) stands right before byte `offset`.
bool startsAWord(std::string_view text, std::size_t offset)
{
    if (offset == 0)
        return true;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    auto previous = static_cast<int32_t>(offset);
    UChar32 c;
    U8_PREV(bytes, 0, previous, c);
    return c < 0 || !u_isalpha(c);
}

// firstSubstringHit, counting only occurrences that start a word: "Modellname"
// names no Dell board, while "_ASUS_", "HPQOEM" and "DELL  " still count.
std::optional<std::string> firstWordStartHit(std::string_view text, std::span<const SubstringRule> rules)
{
    const std::string lowered = lowercased(text);
    for (const auto& [needle, result] : rules)
        for (auto at = lowered.find(needle); at != std::string::npos; at = lowered.find(needle, at + 1))
            if (startsAWord(lowered, at))
                return std::string(result);
    return std::nullopt;
}

} // namespace

std::optional<std::string_view> firstSubstringHit(std::string_view loweredText, std::span<const SubstringRule> rules)
{
    for (const auto& [needle, result] : rules)
        if (loweredText.find(needle) != std::string_view::npos)
            return result;
    return std::nullopt;
}

std::optional<std::string> acpiOEMGuess(std::string_view text) { return firstWordStartHit(text, kOEMRules); }

std::optional<std::string> pciVendorGuess(std::string_view text)
{
    const std::string lowered = lowercased(text);
    if (contains(lowered, "killer") && contains(lowered, "msi"))
        return "MSI / Micro-Star International";
    return std::nullopt;
}

std::optional<std::string> manufacturerFromBoardName(const std::optional<std::string>& name)
{
    const auto usable = clean(name);
    return usable ? ownedHit(*usable, kBoardNameRules) : std::nullopt;
}

std::optional<std::string> acpiBoardGuess(std::string_view text)
{
    for (const std::string_view pattern : kZ890BoardPatterns)
        if (auto name = firstMatch(text, pattern))
            return clean(name);
    return std::nullopt;
}

std::optional<std::string> chipsetFromText(std::string_view text)
{
    for (const std::string_view pattern : kChipsetPatterns) {
        const auto code = firstMatch(text, pattern);
        if (!code)
            continue;
        const std::string upper = uppercased(*code);
        if (upper.starts_with("INTEL") || upper.starts_with("AMD"))
            return code;
        const bool amdOnly =
            std::find(kAMDOnlyChipsetCodes.begin(), kAMDOnlyChipsetCodes.end(), upper) != kAMDOnlyChipsetCodes.end();
        return (amdOnly ? "AMD " : "Intel ") + upper;
    }
    return std::nullopt;
}

std::string chipsetGuess(std::string_view text)
{
    const std::string lowered = lowercased(text);
    for (const std::string_view code : kIntelChipsetCodes)
        if (contains(lowered, code))
            return "Intel " + uppercased(code);
    if (const auto platform = firstSubstringHit(lowered, kPlatformRules))
        return std::string(*platform);
    return chipsetFromText(text).value_or("Unknown");
}

std::string trustedChipsetGuess(std::string_view text)
{
    std::string guess = chipsetGuess(text);
    const std::string lowered = lowercased(guess);
    if (lowered == "unknown" || contains(lowered, "apple silicon") || contains(lowered, "xeon w"))
        return {};
    return guess;
}

std::optional<std::string> firmwareVendorGuess(std::string_view text) { return ownedHit(text, kFirmwareRules); }

} // namespace veltrin::SystemProbe
