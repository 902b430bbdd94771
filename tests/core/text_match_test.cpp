#include "core/text_match.h"

#include <gtest/gtest.h>

using namespace veltrin;

namespace {

struct MatchCase {
    const char* description;
    std::string text;
    std::string pattern;
    std::optional<std::string> expected;
};

} // namespace

TEST(FirstMatch, FollowsTheSharedMatchingRules)
{
    const std::vector<MatchCase> cases{
        {"capture stops at the line end", "  Processor Name: Intel Core i9\n  Speed: 3 GHz\n",
         "Processor Name:\\s*(.+)", "Intel Core i9"},
        {"case-insensitive", "  processor name: intel core i9\n", "PROCESSOR NAME:\\s*(.+)", "intel core i9"},
        {"label with only spaces at the end gives empty text", "Serial:   ", "Serial:\\s*(.+)", ""},
        {"\\s crosses a line break to the next line with text", "Version:\n\t\tRev 1.xx\n", "Version:\\s*(.+)",
         "Rev 1.xx"},
        {"value padded with spaces is trimmed", "Model:    MacBookPro15,1   \n", "Model:\\s*(.+)", "MacBookPro15,1"},
        {"no match", "Model: X", "Serial:\\s*(.+)", std::nullopt},
        {"pattern without a group", "Model: X", "Model:", std::nullopt},
        {"group that took no part", "b", "(a)?b", std::nullopt},
        {"unbalanced parenthesis", "Model: X", "Model:\\s*(.+", std::nullopt},
        {"leftmost match wins", "Type: DDR4\nType: DDR5\n", "Type:\\s*(.+)", "DDR4"},
        {"dot does not cross lines", "a\nb", "(a.b)", std::nullopt},
        {"caret anchors the whole text only", "x\nModel: Y", "^Model:\\s*(.+)", std::nullopt},
        {"lazy quantifier and angle brackets", "\"board-id\" = <4d61632d>\n", "board-id.*?<([0-9a-fA-F]+)>",
         "4d61632d"},
        {"inline flag is accepted", "lpddr5x", "(?i)\\b(LPDDR[2-6]X?|DDR[2-6])\\b", "lpddr5x"},
        {"non-ASCII text survives", "Name: Caf\u00e9 \u2014 GPU\n", "Name:\\s*(.+)", "Caf\u00e9 \u2014 GPU"},
        {"Unicode white space is trimmed", "Name:\u00a0Value\u2003\n", "Name:(.+)", "Value"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(firstMatch(test.text, test.pattern), test.expected) << test.description;
}

TEST(LinesContaining, KeepsMatchingNonEmptyLinesInOrder)
{
    const std::string text = "\n\nResolution: 2560 x 1440\n  Vendor: AMD\n\n  resolution: 1920 x 1080\nMetal: 3\n\n";
    EXPECT_EQ(linesContaining(text, "Resolution:"),
              (std::vector<std::string>{"Resolution: 2560 x 1440", "  resolution: 1920 x 1080"}));
    EXPECT_TRUE(linesContaining("", "x").empty());
    EXPECT_TRUE(linesContaining("\n\n\n", "").empty());
    EXPECT_EQ(linesContaining("a\r\nb", "a"), (std::vector<std::string>{"a\r"}));
}

TEST(EscapedPattern, MatchesKeysLiterally)
{
    for (const std::string key : {"Serial Number", "hw.model (x)", "a+b*c?", "[x]{2}|^$\\"}) {
        const std::string pattern = "\\n\\s*" + escapedPattern(key) + ":\\s*(.+)";
        EXPECT_EQ(firstMatch("head\n  " + key + ": found\n", pattern), "found") << key;
    }
    EXPECT_EQ(firstMatch("head\n  hwXmodel: found\n", "\\n\\s*" + escapedPattern("hw.model") + ":\\s*(.+)"),
              std::nullopt);
}

TEST(PiecesAfter, SplitsAtEachExactMarker)
{
    using Pieces = std::vector<std::string_view>;
    EXPECT_EQ(piecesAfter("head BANK 0: a\nBANK 1: b", "BANK "), (Pieces{"0: a\n", "1: b"}));
    EXPECT_EQ(piecesAfter("BANK BANK ", "BANK "), (Pieces{"", ""}));
    EXPECT_TRUE(piecesAfter("bank 0: a", "BANK ").empty());
    EXPECT_TRUE(piecesAfter("text", "").empty());
}

TEST(MatchPattern, RemovesEveryMatchIgnoringCase)
{
    EXPECT_EQ(MatchPattern("Synchronous|Registered").removingMatches("DDR4 synchronous REGISTERED"), "DDR4  ");
    EXPECT_EQ(MatchPattern("(unbalanced").removingMatches("DDR4"), "DDR4");
}

TEST(MatchPattern, MatchesManyTextsLikeFirstMatch)
{
    const MatchPattern size("Size:[ \\t]*(.+)");
    for (const std::string piece : {"0:\n  Size: 8 GB\n", "1:\n  Size: Empty\n", "2:\n  Type: DDR4\n", ""})
        EXPECT_EQ(size.firstMatch(piece), firstMatch(piece, "Size:[ \\t]*(.+)")) << piece;
    EXPECT_EQ(MatchPattern("(").firstMatch("("), std::nullopt);
}

// A board-name pattern backtracks over every start of a long run of its prefix
// before the one real name at the end: without a work limit that takes minutes.
TEST(MatchPattern, GivesUpOnRunawayBacktrackingInsteadOfStalling)
{
    const std::string pattern = R"(((?:MSI|MAG|MPG|MEG|PRO)[A-Z0-9 \t-]*Z890[A-Z0-9 \t-]*))";
    const auto textWithRun = [](std::size_t repeats) {
        std::string text;
        for (std::size_t i = 0; i < repeats; ++i)
            text += "MSI ";
        return text + ". MSI Z890 TOMAHAWK";
    };
    EXPECT_EQ(firstMatch(textWithRun(50), pattern), "MSI Z890 TOMAHAWK");
    EXPECT_EQ(firstMatch(textWithRun(50'000), pattern), std::nullopt);
}
