#pragma once

// system_profiler's -xml form of a report. The text report translates its labels
// into the Mac's language ("Model Identifier:" reads "型号标识符：" on a Chinese
// Mac), so a report's text is read only when it is in English; otherwise the same
// facts come from this form, whose keys are the same in every language.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// The English labels the areas read from each report. system_profiler
// translates every one of them, so a report that carries none is in another
// language (or empty), and its areas read the XML form instead.
namespace EnglishLabels {
inline constexpr std::array<std::string_view, 9> hardware{
    "Model Identifier:", "Model Name:",      "Processor Name:",          "Processor Speed:", "Serial Number",
    "Hardware UUID:",    "Boot ROM Version:", "System Firmware Version:", "SMC Version"};
// All but "Type:", a word other languages' reports print too; with the report's
// title, which on-package memory also prints as the label of its size.
inline constexpr std::array<std::string_view, 6> memory{"Memory:",       "Size:",         "Speed:",
                                                        "Configured Clock Speed:", "Manufacturer:", "Part Number:"};
// Every other graphics label is read in the piece that follows this one.
inline constexpr std::array<std::string_view, 1> graphics{"Chipset Model:"};
} // namespace EnglishLabels

// True when `report` carries one of `labels` (exact, case-sensitive). An empty
// report carries none; its area then reads the XML form, which is empty too
// wherever the tool did not run.
bool isEnglishReport(std::string_view report, std::span<const std::string_view> labels);

struct PlistEntry;

// One value of a property list. A scalar (string, integer, real, date, data,
// true, false) keeps its text as written, true and false as "true" and "false";
// a dictionary keeps its keys in document order.
struct PlistValue {
    enum class Kind { scalar, array, dictionary };
    Kind kind = Kind::scalar;
    std::string text;
    std::vector<PlistValue> items; // an array's elements
    std::vector<PlistEntry> entries; // a dictionary's keys and values

    // A dictionary's value for `key`; null when there is none.
    const PlistValue* find(std::string_view key) const;
    // The trimmed text of a dictionary's scalar for `key`; absent when there is none.
    std::optional<std::string> scalar(std::string_view key) const;
    // The elements of a dictionary's array for `key`; none when there is no such array.
    std::span<const PlistValue> list(std::string_view key) const;
};

struct PlistEntry {
    std::string key;
    PlistValue value;
};

// Bounds on what one output may make the decoder build. Real reports nest a
// handful of levels and hold a few thousand values; deeper content is skipped,
// and reading stops at the value limit, keeping what was read.
inline constexpr int kMaxPlistDepth = 32;
inline constexpr std::size_t kMaxPlistValues = 100'000;

// The property list in `xml`, which may follow lines the tool wrote to standard
// error; absent when the text holds none. A list cut short (a run stopped at its
// time limit) or broken keeps every value read before the fault, as a cut text
// report keeps its first lines.
std::optional<PlistValue> parsePlist(std::string_view xml);

// What the output's reports list: the "_items" of every data type it holds, in
// order. None when the text is no property list of reports.
std::vector<PlistValue> systemProfilerItems(std::string_view xml);

// The first scalar for `key` anywhere in `values` and their contents, depth first
// in document order: where the English text report is searched as a whole, the
// first line with the key's label.
std::optional<std::string> firstScalar(std::span<const PlistValue> values, std::string_view key);

// What the English text report prints for a value of `key`: the value itself,
// or, for the keys whose values are system_profiler's own codes (a graphics
// vendor, the Metal family, a display's resolution, an early Apple Silicon
// memory type), the words the English report shows for the code. Absent when the
// code is not one of those known.
std::optional<std::string> englishText(std::string_view key, std::string value);

// englishText of the value of `key` in the dictionary `item`; absent when it has no such key.
std::optional<std::string> englishValue(const PlistValue& item, std::string_view key);

} // namespace veltrin::SystemProbe
