#include "core/fixed_decimal.h"
#include "core/unicode_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <tuple>
#include <utility>
#include <vector>

using namespace veltrin;

TEST(UnicodeText, TrimsUnicodeWhiteSpaceAndLineBreaks)
{
    EXPECT_EQ(trimmed(" \t\r\n value \u00a0\u2028"), "value");
    EXPECT_EQ(trimmed("   "), "");
    EXPECT_EQ(trimmed(""), "");
    EXPECT_EQ(trimmed("a b"), "a b");
}

TEST(UnicodeText, CasesWithFullUnicodeRules)
{
    EXPECT_EQ(lowercased("TO BE FILLED BY O.E.M."), "to be filled by o.e.m.");
    EXPECT_EQ(lowercased("\u00c9COLE \u0130"), "\u00e9cole i\u0307");
    EXPECT_EQ(uppercased("lpddr5x"), "LPDDR5X");
}

TEST(UnicodeText, ValidatesUtf8)
{
    EXPECT_TRUE(isValidUtf8("plain \u2014 text"));
    EXPECT_TRUE(isValidUtf8(std::string("nul\0inside", 10)));
    EXPECT_FALSE(isValidUtf8("\xff"));
    EXPECT_FALSE(isValidUtf8("\xe2\x80")); // cut sequence
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80")); // surrogate
    EXPECT_EQ(utf8Lossy("a\xffz"), "a\uFFFDz");
}

TEST(UnicodeText, DisplayLineIsOneBoundedLineWithoutControlCharacters)
{
    const std::vector<std::tuple<std::string, std::size_t, std::string>> cases{
        {"Radeon\nPro\t580", 64, "Radeon Pro 580"},
        {std::string("a\0b\x1b[31mc\x7f\u0085d", 13), 64, "ab[31mc d"},
        {"\u00e9\u00e9\u00e9\u00e9", 7, "\u00e9\u00e9\u2026"}, // cut at a character, room left for "…"
        {"abc", 3, "abc"},
        {"abcd", 3, "\u2026"},
        {"a\xffz", 64, "a\uFFFDz"},
        {std::string(100000, 'y'), 4096, std::string(4093, 'y') + "\u2026"},
    };
    for (const auto& [text, limit, expected] : cases)
        EXPECT_EQ(displayLine(text, limit), expected) << text.substr(0, 20);
}

TEST(UnicodeText, ReadsDecimalDigitsOfEveryScript)
{
    EXPECT_EQ(decimalDigitsValue("3200"), 3200);
    EXPECT_EQ(decimalDigitsValue("\uff13\uff12\uff10\uff10"), 3200);
    EXPECT_EQ(decimalDigitsValue("\u0662\u0661\u0663\u0663"), 2133);
    EXPECT_EQ(decimalDigitsValue("32a0"), std::nullopt);
    EXPECT_EQ(decimalDigitsValue(""), std::nullopt);
    EXPECT_EQ(decimalDigitsValue("99999999999999999999"), std::nullopt);
}

TEST(UnicodeText, CountsUserPerceivedCharacters)
{
    EXPECT_EQ(graphemeCount("C02XK1JHJG5J"), 12u);
    EXPECT_EQ(graphemeCount("e\u0301"), 1u);
    EXPECT_EQ(graphemeCount("\U0001F1E9\U0001F1EA"), 1u); // one flag
    EXPECT_EQ(graphemeCount(""), 0u);
    EXPECT_EQ(lastGraphemes("C02XK1JHJG5J", 4), "JG5J");
    EXPECT_EQ(lastGraphemes("cafe\u0301", 1), "e\u0301");
    EXPECT_EQ(lastGraphemes("ab", 4), "ab");
}

namespace {

// A German-style number format that needs no installed system locale.
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

TEST(FixedDecimal, RoundsLikePrintfWhateverTheProcessLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    const char* previousC = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const std::pair<std::pair<double, int>, const char*> cases[] = {
        {{3.6, 2}, "3.60"},         {{0.84, 1}, "0.8"},  {{2.46, 1}, "2.5"},
        {{1234.56789, 2}, "1234.57"}, {{-0.004, 2}, "-0.00"}, {{1.0e20, 0}, "100000000000000000000"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(fixedDecimal(input.first, input.second), expected) << input.first;
    if (previousC)
        std::setlocale(LC_NUMERIC, "C");
    std::locale::global(previous);
}
