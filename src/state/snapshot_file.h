#pragma once

// A snapshot read back from what Veltrin wrote: a capture folder, replayed through
// the probe, or a file of `veltrin --json` output.

#include "core/records.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin {

struct SnapshotRead {
    std::optional<SystemSnapshot> snapshot;
    std::string problem; // why there is none, one line ("not Veltrin's JSON: …"; with its path from readSnapshot)
};

// The snapshot in `--json` text. Fields the text lacks (an older Veltrin wrote it)
// keep their empty values, record ids are drawn afresh, and anything that is not
// the snapshot's shape, or a newer schema version, makes it no snapshot.
SnapshotRead snapshotFromJson(std::string_view text);

// `path` as a capture folder (one holding sysctl.txt) or a `--json` file. Warnings
// about capture files read as absent go to `warn`, one line each.
SnapshotRead readSnapshot(const std::string& path, const std::function<void(const std::string&)>& warn = {});

} // namespace veltrin
