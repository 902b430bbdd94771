#include "core/no_value_words.h"
#include "probe/sources/filters.h"

#include <gtest/gtest.h>

using namespace veltrin;

TEST(Clean, RejectsPlaceholdersByWholeValueOnly)
{
    const std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>> cases{
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {"  \n\t ", std::nullopt},
        {"To Be Filled By O.E.M.", std::nullopt},
        {"to be filled by o.e.m.", std::nullopt},
        {"  None  ", std::nullopt},
        {"RAM", std::nullopt},
        {"\u2014", std::nullopt},
        {"Unknown", std::nullopt},
        {"Default String", std::nullopt},
        {"NO DIMM", std::nullopt},
        {"Other", std::nullopt},
        {"Other Memory Module", "Other Memory Module"},
        {"  ASUSTeK COMPUTER INC.  ", "ASUSTeK COMPUTER INC."},
        {"Unknown Vendor", "Unknown Vendor"},
        {"DDR4", "DDR4"},
        {"-", "-"},
        {"0", "0"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(SystemProbe::clean(input), expected) << input.value_or("<absent>");
    EXPECT_EQ(NoValueWords::kPlaceholders.size(), 19u);
}
