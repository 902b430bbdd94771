#include "core/unicode_text.h"

#include <unicode/brkiter.h>
#include <unicode/ucasemap.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace veltrin {
namespace {

icu::UnicodeString toUnicode(std::string_view text)
{
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

// Byte offset of the first code point that is not white space, scanning from `begin`.
std::size_t leadingWhiteSpaceEnd(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t offset = 0;
    while (offset < length) {
        int32_t next = offset;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !u_isUWhiteSpace(c))
            break;
        offset = next;
    }
    return static_cast<std::size_t>(offset);
}

std::size_t trailingWhiteSpaceStart(std::string_view text, std::size_t floor)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    auto offset = static_cast<int32_t>(text.size());
    const auto start = static_cast<int32_t>(floor);
    while (offset > start) {
        int32_t previous = offset;
        UChar32 c;
        U8_PREV(bytes, start, previous, c);
        if (c < 0 || !u_isUWhiteSpace(c))
            break;
        offset = previous;
    }
    return static_cast<std::size_t>(offset);
}

} // namespace

std::string trimmed(std::string_view text)
{
    const auto begin = leadingWhiteSpaceEnd(text);
    const auto end = trailingWhiteSpaceStart(text, begin);
    return std::string(text.substr(begin, end - begin));
}

namespace {

using Utf8CaseMapping = int32_t (*)(const UCaseMap*, char*, int32_t, const char*, int32_t, UErrorCode*);

// Maps UTF-8 straight to UTF-8 in the root locale: a long tool output is not
// widened to UTF-16 and back just to change its case.
std::string caseMapped(std::string_view text, Utf8CaseMapping map)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT32_MAX / 3))
        return std::string(text);
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCaseMap, decltype(&ucasemap_close)> caseMap(ucasemap_open("", 0, &status),
                                                                        &ucasemap_close);
    if (U_FAILURE(status))
        return std::string(text);
    const auto length = static_cast<int32_t>(text.size());
    // Case mapping changes a character's length by a few bytes at most; start
    // with a little room and redo once with the exact size when that is short.
    std::string mapped(text.size() + text.size() / 8 + 16, '\0');
    int32_t needed = map(caseMap.get(), mapped.data(), static_cast<int32_t>(mapped.size()), text.data(), length,
                         &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        mapped.assign(static_cast<std::size_t>(needed), '\0');
        needed = map(caseMap.get(), mapped.data(), needed, text.data(), length, &status);
    }
    if (U_FAILURE(status))
        return std::string(text);
    mapped.resize(static_cast<std::size_t>(needed));
    return mapped;
}

} // namespace

std::string lowercased(std::string_view text) { return caseMapped(text, ucasemap_utf8ToLower); }

std::string uppercased(std::string_view text) { return caseMapped(text, ucasemap_utf8ToUpper); }

bool canonicallyEqual(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return false;
    const icu::UnicodeString left = nfc->normalize(toUnicode(a), status);
    const icu::UnicodeString right = nfc->normalize(toUnicode(b), status);
    return U_SUCCESS(status) && left == right;
}

std::optional<std::int64_t> decimalDigitsValue(std::string_view digits)
{
    if (digits.empty() || digits.size() > static_cast<std::size_t>(INT32_MAX))
        return std::nullopt;
    const auto* data = reinterpret_cast<const uint8_t*>(digits.data());
    const auto length = static_cast<int32_t>(digits.size());
    std::int64_t value = 0;
    int32_t offset = 0;
    while (offset < length) {
        UChar32 c;
        U8_NEXT(data, offset, length, c);
        const int32_t digit = c < 0 ? -1 : u_charDigitValue(c);
        if (digit < 0 || value > (INT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::string displayLine(std::string_view text, std::size_t maxBytes)
{
    static constexpr std::string_view ellipsis = "\u2026";
    const std::string source = isValidUtf8(text) ? std::string(text) : utf8Lossy(text);
    const auto* data = reinterpret_cast<const uint8_t*>(source.data());
    const auto length = static_cast<int32_t>(source.size());
    std::string line;
    int32_t offset = 0;
    while (offset < length) {
        const int32_t start = offset;
        UChar32 c;
        U8_NEXT(data, offset, length, c);
        const bool breaksLine = c == '\n' || c == '\r' || c == '\t' || c == 0x0B || c == 0x0C || c == 0x85 ||
                                c == 0x2028 || c == 0x2029;
        if (!breaksLine && u_charType(c) == U_CONTROL_CHAR)
            continue;
        const std::string_view piece = breaksLine ? std::string_view(" ")
                                                  : std::string_view(source).substr(start, offset - start);
        if (line.size() + piece.size() > maxBytes) {
            while (line.size() + ellipsis.size() > maxBytes && !line.empty()) {
                auto end = static_cast<int32_t>(line.size());
                U8_BACK_1(reinterpret_cast<const uint8_t*>(line.data()), 0, end);
                line.resize(static_cast<std::size_t>(end));
            }
            return line + std::string(ellipsis);
        }
        line += piece;
    }
    return line;
}

bool isValidUtf8(std::string_view bytes)
{
    // Tool output is capped far below this; anything larger is refused rather than misread.
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        return false;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int32_t>(bytes.size());
    int32_t offset = 0;
    while (offset < length) {
        UChar32 c;
        U8_NEXT(data, offset, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string utf8Lossy(std::string_view bytes)
{
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        bytes = bytes.substr(0, static_cast<std::size_t>(INT32_MAX));
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int32_t>(bytes.size());
    std::string out;
    out.reserve(bytes.size());
    int32_t offset = 0;
    while (offset < length) {
        const int32_t start = offset;
        UChar32 c;
        U8_NEXT(data, offset, length, c);
        if (c < 0)
            out += "\xEF\xBF\xBD";
        else
            out.append(bytes.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(offset - start)));
    }
    return out;
}

namespace {

// A character-boundary iterator over `unicode`; null when ICU has none.
std::unique_ptr<icu::BreakIterator> characterBreaks(const icu::UnicodeString& unicode)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !breaks)
        return nullptr;
    breaks->setText(unicode);
    return breaks;
}

} // namespace

std::size_t graphemeCount(std::string_view text)
{
    const icu::UnicodeString unicode = toUnicode(text);
    const auto breaks = characterBreaks(unicode);
    if (!breaks)
        return static_cast<std::size_t>(unicode.countChar32());
    std::size_t count = 0;
    breaks->first();
    while (breaks->next() != icu::BreakIterator::DONE)
        ++count;
    return count;
}

std::string lastGraphemes(std::string_view text, std::size_t count)
{
    const icu::UnicodeString unicode = toUnicode(text);
    const auto breaks = characterBreaks(unicode);
    int32_t start = unicode.length();
    if (breaks) {
        start = breaks->last();
        for (std::size_t taken = 0; taken < count && start > 0; ++taken)
            start = breaks->previous();
    } else {
        start = unicode.moveIndex32(start, -static_cast<int32_t>(std::min<std::size_t>(count, INT32_MAX)));
    }
    std::string tail;
    unicode.tempSubString(start).toUTF8String(tail);
    return tail;
}

bool containsIgnoringCase(std::string_view haystack, std::string_view needle)
{
    return lowercased(haystack).find(lowercased(needle)) != std::string::npos;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.starts_with(prefix); }

bool contains(std::string_view text, std::string_view needle)
{
    return text.find(needle) != std::string_view::npos;
}

} // namespace veltrin
