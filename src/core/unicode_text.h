#pragma once

// Unicode rules shared by the parsers and the interface, all through ICU.
// Inputs and outputs are UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin {

// Removes white space and line breaks (the Unicode White_Space property) from both ends.
std::string trimmed(std::string_view text);

// Full Unicode lower-casing, independent of the user's locale.
std::string lowercased(std::string_view text);

// Full Unicode upper-casing, independent of the user's locale.
std::string uppercased(std::string_view text);

// True when both texts hold the same characters whatever their normalisation form.
bool canonicallyEqual(std::string_view a, std::string_view b);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Decodes bytes as UTF-8, replacing every ill-formed sequence with U+FFFD.
std::string utf8Lossy(std::string_view bytes);

// The number a run of decimal digits of any script spells ("3200", full-width
// "３２００"); absent when a character is not a decimal digit or the number does
// not fit.
std::optional<std::int64_t> decimalDigitsValue(std::string_view digits);

// `text` as one display line: line breaks and tabs become spaces, every other
// control character (NUL included) is dropped, and a text longer than `maxBytes`
// is cut at a character boundary and ends with "…". Ill-formed UTF-8 is replaced.
std::string displayLine(std::string_view text, std::size_t maxBytes);

// User-perceived characters (extended grapheme clusters).
std::size_t graphemeCount(std::string_view text);

// The last `count` user-perceived characters of `text` (all of it when it has fewer).
std::string lastGraphemes(std::string_view text, std::size_t count);

// Plain substring test after lower-casing both sides.
bool containsIgnoringCase(std::string_view haystack, std::string_view needle);

bool startsWith(std::string_view text, std::string_view prefix);
bool contains(std::string_view text, std::string_view needle);

} // namespace veltrin
