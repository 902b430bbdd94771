#pragma once

// The two matching rules every parser shares. Patterns are ICU regular
// expressions, always compiled case-insensitive and with no other flag, so `.`
// stops at a line break while `\s` crosses it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace veltrin {

// The work one match may do, in ICU's match-engine time units (each about ten
// thousand engine steps). Real reports need a tiny fraction of it; a pattern that
// backtracks over a long adversarial run hits it and counts as no match instead
// of stalling a refresh.
inline constexpr std::int32_t kMatchWorkLimit = 500;

// Capture group 1 of the leftmost match, trimmed of white space and line breaks.
// Absent when the pattern does not compile, does not match, has no group, or its
// first group took no part in the match, and when the match exceeds its work limit.
std::optional<std::string> firstMatch(std::string_view text, std::string_view pattern);

// One pattern compiled once for matching many texts (the pieces of a long report):
// the same rules as firstMatch, without compiling the pattern for every piece.
class MatchPattern {
public:
    explicit MatchPattern(std::string_view pattern);
    std::optional<std::string> firstMatch(std::string_view text) const;
    // `text` with every match removed; unchanged when the pattern does not compile
    // or the removal exceeds the work limit.
    std::string removingMatches(std::string_view text) const;

private:
    std::shared_ptr<const icu::RegexPattern> compiled_; // null when the pattern does not compile
};

// The non-empty lines (split at U+000A) that contain `needle`, ignoring case, in
// text order and untrimmed.
std::vector<std::string> linesContaining(std::string_view text, std::string_view needle);

// The pieces of `text` that follow each occurrence of `marker` (exact and
// case-sensitive), each running to the next occurrence or the end. The text
// before the first occurrence is not a piece.
std::vector<std::string_view> piecesAfter(std::string_view text, std::string_view marker);

// The words of one line of a table: the runs of characters between spaces and
// tabs, in order.
std::vector<std::string_view> blankSeparatedWords(std::string_view line);

// `literal` with every pattern metacharacter escaped, for building patterns from keys.
std::string escapedPattern(std::string_view literal);

} // namespace veltrin
