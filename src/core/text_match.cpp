#include "core/text_match.h"

#include "core/unicode_text.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

#include <algorithm>
#include <climits>

#include <memory>

namespace veltrin {
namespace {

icu::UnicodeString toUnicode(std::string_view text)
{
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

// Compiled case-insensitive and with no other flag; absent when it does not compile.
std::unique_ptr<icu::RegexPattern> compiledPattern(std::string_view pattern)
{
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(toUnicode(pattern), UREGEX_CASE_INSENSITIVE, parseError, status));
    if (U_FAILURE(status))
        return nullptr;
    return compiled;
}

} // namespace

MatchPattern::MatchPattern(std::string_view pattern) : compiled_(compiledPattern(pattern)) {}

std::optional<std::string> MatchPattern::firstMatch(std::string_view text) const
{
    if (!compiled_ || text.size() > static_cast<std::size_t>(INT32_MAX))
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    // Matched over the UTF-8 bytes themselves, so a long tool output is not copied
    // to UTF-16 for every pattern; the group's native indexes are byte offsets.
    const std::unique_ptr<UText, decltype(&utext_close)> subject(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status), &utext_close);
    const std::unique_ptr<icu::RegexMatcher> matcher(compiled_->matcher(status));
    if (U_FAILURE(status) || !subject || !matcher)
        return std::nullopt;
    matcher->reset(subject.get());
    matcher->setTimeLimit(kMatchWorkLimit, status);
    // A match that runs out of work (U_REGEX_TIME_OUT) is no match.
    if (!matcher->find(status) || U_FAILURE(status))
        return std::nullopt;
    if (matcher->groupCount() < 1)
        return std::nullopt;
    const int64_t start = matcher->start64(1, status);
    const int64_t end = matcher->end64(1, status);
    if (start < 0 || end < start || U_FAILURE(status))
        return std::nullopt;
    return trimmed(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

std::optional<std::string> firstMatch(std::string_view text, std::string_view pattern)
{
    return MatchPattern(pattern).firstMatch(text);
}

std::vector<std::string> linesContaining(std::string_view text, std::string_view needle)
{
    const std::string foldedNeedle = lowercased(needle);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (!line.empty() && lowercased(line).find(foldedNeedle) != std::string::npos)
            lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string_view> piecesAfter(std::string_view text, std::string_view marker)
{
    std::vector<std::string_view> pieces;
    if (marker.empty())
        return pieces;
    std::size_t start = text.find(marker);
    while (start != std::string_view::npos) {
        start += marker.size();
        const std::size_t next = text.find(marker, start);
        pieces.push_back(text.substr(start, next == std::string_view::npos ? std::string_view::npos : next - start));
        start = next;
    }
    return pieces;
}

std::string MatchPattern::removingMatches(std::string_view text) const
{
    if (!compiled_)
        return std::string(text);
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString subject = toUnicode(text);
    std::unique_ptr<icu::RegexMatcher> matcher(compiled_->matcher(subject, status));
    if (U_FAILURE(status) || !matcher)
        return std::string(text);
    matcher->setTimeLimit(kMatchWorkLimit, status);
    const icu::UnicodeString result = matcher->replaceAll(icu::UnicodeString(), status);
    if (U_FAILURE(status))
        return std::string(text);
    std::string utf8;
    result.toUTF8String(utf8);
    return utf8;
}

std::string escapedPattern(std::string_view literal)
{
    std::string out;
    out.reserve(literal.size() * 2);
    for (const char c : literal) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = byte >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                           (c >= 'A' && c <= 'Z') || c == '_';
        if (!plain)
            out += '\\';
        out += c;
    }
    return out;
}

std::vector<std::string_view> blankSeparatedWords(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos)
            return words;
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
}

} // namespace veltrin
