#include "core/unicode_text.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <climits>
#include <memory>

namespace veltrin {
namespace {

icu::UnicodeString toUnicode(std::string_view text)
{
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string toUtf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
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

std::string lowercased(std::string_view text)
{
    return toUtf8(toUnicode(text).toLower(icu::Locale::getRoot()));
}

std::string uppercased(std::string_view text)
{
    return toUtf8(toUnicode(text).toUpper(icu::Locale::getRoot()));
}

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

std::size_t graphemeCount(std::string_view text)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    const icu::UnicodeString unicode = toUnicode(text);
    if (U_FAILURE(status) || !breaks)
        return static_cast<std::size_t>(unicode.countChar32());
    breaks->setText(unicode);
    std::size_t count = 0;
    breaks->first();
    while (breaks->next() != icu::BreakIterator::DONE)
        ++count;
    return count;
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
