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
        {{"--json", "--summary"}, "--json goes with --bench, --bench-history or alone"},
        {{"--summary", "--json"}, "--json goes with --bench, --bench-history or alone"},
        {{"--capture", "a", "--json"}, "--json goes with --bench, --bench-history or alone"},
        {{"--json", "--screenshots", "a"}, "--json goes with --bench, --bench-history or alone"},
        {{"--replace", "--json"}, "--replace only goes with --capture"},
        {{"--bench", "--bench-history"}, "only one mode may be given"},
    };
    for (const Refused& expected : cases) {
        std::string error;
        EXPECT_FALSE(parseCommandLine(expected.arguments, error)) << ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(error, expected.error) << ::testing::PrintToString(expected.arguments);
    }
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
