#include "core/placeholder_rule.h"

#include <gtest/gtest.h>

#include <ostream>

using veltrin::veltrinShouldHideField;

namespace {

struct Case {
    const char* value;
    bool hidden;
};

void PrintTo(const Case& rule, std::ostream* out) { *out << '"' << rule.value << '"'; }

class PlaceholderRule : public ::testing::TestWithParam<Case> {};

TEST_P(PlaceholderRule, DecidesWhetherAValueIsShown)
{
    EXPECT_EQ(veltrinShouldHideField(GetParam().value), GetParam().hidden) << '"' << GetParam().value << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Values, PlaceholderRule,
    ::testing::Values(
        // Nothing at all.
        Case{"", true}, Case{"   ", true}, Case{" \n\t ", true},
        // Dashes: the en dash counts as an em dash, a hyphen is its own entry.
        Case{"\u2014", true}, Case{"\u2013", true}, Case{"  \u2013\n", true}, Case{"-", true},
        Case{"\u2013\u2013", false}, Case{"--", false},
        // Whole values, any letter case, surrounding blanks ignored.
        Case{"N/A", true}, Case{"na", true}, Case{" NA ", true}, Case{"Unknown", true}, Case{"UNKNOWN", true},
        Case{"Not Detected", true}, Case{"Empty", true}, Case{"No Module Installed", true},
        Case{"not installed", true}, Case{"Not Exposed by macOS", true}, Case{"SMBIOS Fallback", true},
        // Full Unicode lower-casing: the Kelvin sign lower-cases to a plain k.
        Case{"UN\u212ANOWN", true},
        // Fragments anywhere in the value.
        Case{"Apple/EFI 1715.60.5.0.0", true}, Case{"To Be Filled By O.E.M.", true},
        Case{"Default string", true}, Case{"Serial: not available here", true},
        Case{"Value not exposed by this board", true}, Case{"uses SMBIOS fallback data", true},
        // Whole-value entries do not hide longer texts, and real values stay.
        Case{"Unknown CPU", false}, Case{"unknown vendor", false}, Case{"N/A2", false}, Case{"Empty slot 2", false},
        Case{"0", false}, Case{"DDR4", false}, Case{"Apple M2 Max", false}, Case{"Apple", false},
        Case{"EFI 2.70", false}, Case{"14.6.1 (23G93)", false}));

} // namespace
