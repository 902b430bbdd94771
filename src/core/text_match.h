#pragma once

// The two matching rules every parser shares. Patterns are ICU regular
// expressions, always compiled case-insensitive and with no other flag, so `.`
// stops at a line break while `\s` crosses it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// Capture group 1 of the leftmost match, trimmed of white space and line breaks.
// Absent when the pattern does not compile, does not match, has no group, or its
// first group took no part in the match.
std::optional<std::string> firstMatch(std::string_view text, std::string_view pattern);

// The non-empty lines (split at U+000A) that contain `needle`, ignoring case, in
// text order and untrimmed.
std::vector<std::string> linesContaining(std::string_view text, std::string_view needle);

// The pieces of `text` that follow each occurrence of `marker` (exact and
// case-sensitive), each running to the next occurrence or the end. The text
// before the first occurrence is not a piece.
std::vector<std::string_view> piecesAfter(std::string_view text, std::string_view marker);

// `text` with every match of `pattern` (case-insensitive) removed; unchanged when
// the pattern does not compile.
std::string removingMatches(std::string_view text, std::string_view pattern);

// `literal` with every pattern metacharacter escaped, for building patterns from keys.
std::string escapedPattern(std::string_view literal);

} // namespace veltrin
