#include "command_line.h"

#include <gtest/gtest.h>

using namespace veltrin;

namespace {

struct Accepted {
    std::vector<std::string> arguments;
    Mode mode;
    bool json;
    std::optional<std::string> replay;
    std::string output;
};

struct Refused {
    std::vector<std::string> arguments;
    std::string error;
};

} // namespace

TEST(CommandLine, AcceptsEveryModeAndIgnoresFindersProcessSerialNumber)
{
    const Accepted cases[] = {
        {{}, Mode::window, false, std::nullopt, ""},
        {{"-psn_0_1234"}, Mode::window, false, std::nullopt, ""},
        {{"-psn_0_1234", "--version"}, Mode::version, false, std::nullopt, ""},
        {{"--json"}, Mode::json, true, std::nullopt, ""},
        {{"--replay", "-psn_dir", "--json"}, Mode::json, true, "-psn_dir", ""},
        {{"--json", "--bench"}, Mode::bench, true, std::nullopt, ""},
        {{"--summary", "--summary"}, Mode::summary, false, std::nullopt, ""},
        {{"--replay", "in", "--capture", "out"}, Mode::capture, false, "in", "out"},
        {{"--screenshots", "shots", "--replay", "in"}, Mode::screenshots, false, "in", "shots"},
    };
    for (const Accepted& expected : cases) {
        std::string error;
        const auto line = parseCommandLine(expected.arguments, error);
        ASSERT_TRUE(line) << ::testing::PrintToString(expected.arguments) << ": " << error;
        EXPECT_EQ(line->mode, expected.mode) << ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(line->json, expected.json) << ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(line->replayDirectory, expected.replay) << ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(line->outputDirectory, expected.output) << ::testing::PrintToString(expected.arguments);
    }
}

TEST(CommandLine, RefusesWhatWouldBeIgnoredSilently)
{
    const Refused cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--replay"}, "--replay needs a directory"},
        {{"--capture", ""}, "--capture needs a directory"},
        {{"--replay", "a", "--replay", "b"}, "--replay may be given only once"},
        {{"--capture", "a", "--capture", "b"}, "--capture may be given only once"},
        {{"--screenshots", "a", "--screenshots", "a"}, "--screenshots may be given only once"},
        {{"--capture", "a", "--screenshots", "b"}, "only one mode may be given"},
        {{"--summary", "--bench"}, "only one mode may be given"},
        {{"--json", "--summary"}, "--json goes with --bench, --bench-history, --diff or alone"},
        {{"--summary", "--json"}, "--json goes with --bench, --bench-history, --diff or alone"},
        {{"--capture", "a", "--json"}, "--json goes with --bench, --bench-history, --diff or alone"},
        {{"--json", "--screenshots", "a"}, "--json goes with --bench, --bench-history, --diff or alone"},
        {{"--replace", "--json"}, "--replace only goes with --capture"},
        {{"--bench", "--bench-history"}, "only one mode may be given"},
        {{"--report", "--json"}, "--json goes with --bench, --bench-history, --diff or alone"},
        {{"--report", "a.md", "--report"}, "--report may be given only once"},
        {{"--report", "--diff", "a", "b"}, "only one mode may be given"},
        {{"--diff", "a"}, "--diff needs two capture folders or JSON files"},
        {{"--diff", "a", "--json"}, "--diff needs two capture folders or JSON files"},
        {{"--replay", "in", "--diff", "a", "b"}, "--replay does not go with --diff, which reads both sides itself"},
        {{"--report", "--format"}, "--format takes html or markdown"},
        {{"--report", "--format", "pdf"}, "--format takes html or markdown"},
        {{"--report", "--format", "html", "--format", "html"}, "--format may be given only once"},
        {{"--format", "html", "--json"}, "--format only goes with --report"},
        {{"--summary", "--unmasked"}, "--unmasked goes with --report or --diff"},
    };
    for (const Refused& expected : cases) {
        std::string error;
        EXPECT_FALSE(parseCommandLine(expected.arguments, error)) << ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(error, expected.error) << ::testing::PrintToString(expected.arguments);
    }
}

TEST(CommandLine, TakesAReportsFileFormatAndMaskingAndTheTwoSidesOfADiff)
{
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> file;
        ReportFormatChoice format;
        bool unmasked;
    };
    const Case reports[] = {
        {{"--report"}, std::nullopt, ReportFormatChoice::byFileName, false},
        {{"--report", "--unmasked"}, std::nullopt, ReportFormatChoice::byFileName, true},
        {{"--report", "out.html", "--replay", "in"}, "out.html", ReportFormatChoice::byFileName, false},
        {{"--format", "html", "--report"}, std::nullopt, ReportFormatChoice::html, false},
        {{"--report", "post.txt", "--format", "markdown"}, "post.txt", ReportFormatChoice::markdown, false},
    };
    for (const Case& expected : reports) {
        std::string error;
        const auto line = parseCommandLine(expected.arguments, error);
        ASSERT_TRUE(line) << ::testing::PrintToString(expected.arguments) << ": " << error;
        EXPECT_EQ(line->mode, Mode::report);
        EXPECT_EQ(line->reportFile, expected.file) << ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(line->reportFormat, expected.format) << ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(line->unmasked, expected.unmasked) << ::testing::PrintToString(expected.arguments);
    }

    std::string error;
    const auto diff = parseCommandLine({"--json", "--diff", "before", "after.json", "--unmasked"}, error);
    ASSERT_TRUE(diff) << error;
    EXPECT_EQ(diff->mode, Mode::diff);
    EXPECT_TRUE(diff->json);
    EXPECT_TRUE(diff->unmasked);
    EXPECT_EQ(diff->diffSources, (std::vector<std::string>{"before", "after.json"}));
}

TEST(CommandLine, EscapesControlCharactersInMessages)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/tmp/plain dir", "/tmp/plain dir"},
        {"a\x1b[31mred", "a\\x1B[31mred"},
        {std::string("nul\0after", 9), "nul\\x00after"},
        {"line\nbreak\r\t\x7f", "line\\x0Abreak\\x0D\\x09\\x7F"},
        {"csi\xc2\x9b" "2J", "csi\\xC2\\x9B2J"},                 // C1 control in UTF-8
        {"caf\xc3\xa9 \xc2\xa0 \xe2\x80\x94", "caf\xc3\xa9 \xc2\xa0 \xe2\x80\x94"}, // printable stays as it is
        {"cut\xc2", "cut\xc2"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(escapedControlCharacters(text), expected);
}
