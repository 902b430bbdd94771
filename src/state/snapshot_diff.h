#pragma once

// What differs between two snapshots, field by field, in the snapshot's order (so
// grouped by area). Members of a list are matched by their bank, slot, name or
// identifier, the same text twice counting as two, or else by position; never by
// their random ids.
// Values that change by themselves from one moment to the next are left out.

#include "core/records.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// By field path (see field_labels.h).
inline constexpr std::array<std::string_view, 3> kSelfChangingFields{
    "mainboard.uptime",
    "memory.used",
    "memory.pressure",
};

// The fields whose text names a list member, the first a member has being its key.
inline constexpr std::array<std::string_view, 4> kMemberKeyFields{"bank", "slot", "name", "identifier"};

struct SnapshotDifference {
    std::string path; // the field's path, "memory.modules.size"; for a whole member its list's, "memory.modules"
    std::string key;  // where it is: "memory.modules[BANK 0].size", or "memory.modules[BANK 0]" for a whole member
    std::string member; // the key of the list member it is in or is ("BANK 0"); empty outside lists
    // The values as they read, identifiers masked when asked. A member found on one
    // side only is that side's fields in one line, and absent on the other.
    std::optional<std::string> before;
    std::optional<std::string> after;

    std::string_view area() const { return std::string_view(path).substr(0, path.find('.')); }
    friend bool operator==(const SnapshotDifference&, const SnapshotDifference&) = default;
};

std::vector<SnapshotDifference> snapshotDifferences(const SystemSnapshot& before, const SystemSnapshot& after,
                                                    bool masked);

// How the window names it: the field's label ("Board Serial"), after its list and
// member when it is in one ("Modules › BANK 0 › Size"; the area's own list by its
// member alone: "Radeon Pro 560X › VRAM / Cores").
std::string differenceLabel(const SnapshotDifference& difference);

// One "key: before → after" line each, an empty value shown as (empty) and a
// missing member as (none).
std::string differenceLines(const std::vector<SnapshotDifference>& differences);

// {"differences":[{"area":…,"field":…,"old":…,"new":…},…]}, a missing member's side null.
std::string differencesJson(const std::vector<SnapshotDifference>& differences);

} // namespace veltrin
