#pragma once

// JSON renderings for the command line: every record field under its own name,
// in declaration order, strings as UTF-8 with no escaping of non-ASCII text.

#include "core/records.h"

#include <string>
#include <string_view>

namespace veltrin {

// The version of the snapshot's JSON form, written after the snapshot's fields and
// described by the published schema (snapshot.schema.json). It rises when a field
// is removed, renamed or changes its type; a field added keeps it.
inline constexpr int kSnapshotSchemaVersion = 1;

std::string jsonString(std::string_view text);
// The snapshot's fields, then "schemaVersion".
std::string toJson(const SystemSnapshot& snapshot);
std::string toJson(const BenchResult& result);

} // namespace veltrin
