#pragma once

// How the report and the comparison name a snapshot's fields, as data: one label
// per field path ("mainboard.serial"; the members of a list without an index,
// "memory.modules.bank"), and for the rows of a record the group they are shown
// in. A field added to a record needs its entry here; a test fails until it has one.

#include <span>
#include <string_view>

namespace veltrin {

struct FieldLabel {
    std::string_view path;
    std::string_view label;
    std::string_view group = {}; // a key of fieldGroups(); empty: the record's untitled first table
};

// A titled table of a record's rows, with a line saying where its values come from.
struct FieldGroup {
    std::string_view key;
    std::string_view title;
    std::string_view note = {};
};

std::span<const FieldLabel> fieldLabels();
// In the order the report shows them.
std::span<const FieldGroup> fieldGroups();

// The entry for `path`; null when there is none.
const FieldLabel* fieldLabel(std::string_view path);
// Its label, or the field's own name when it has none.
std::string_view labelOf(std::string_view path);

} // namespace veltrin
