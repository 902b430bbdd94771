#pragma once

// A report of a snapshot to post where people ask for help: every area's fields
// under the window's labels, the latest benchmark from the history, and where and
// when it was made, as GitHub-flavoured Markdown or as one self-contained HTML
// page. Identifiers (see core/identifiers.h) are masked unless asked otherwise;
// placeholder values are left out as the window leaves them out.

#include "core/records.h"
#include "state/bench_history.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

enum class ReportFormat { markdown, html };

// HTML for a name ending in .html or .htm (in any case), Markdown otherwise.
ReportFormat reportFormatFor(std::string_view fileName);

struct ReportContext {
    std::string version; // Veltrin's
    std::string date;    // when the report was made, as it reads ("2026-12-07 09:30 UTC")
    std::string source;  // where the snapshot came from (reportSource)
    std::optional<BenchHistoryEntry> benchmark;
    bool masked = true;
};

std::string reportText(const SystemSnapshot& snapshot, const ReportContext& context, ReportFormat format);

// "This machine", or "Replayed capture <folder name>" for a capture.
std::string reportSource(const std::optional<std::string>& captureDirectory);

// Now, as a report dates itself.
std::string reportDateNow();

// Writes `text` to `path` whole: into a temporary file beside it, renamed into
// place once complete. False, with `error` set to a one-line reason, when it cannot.
bool writeReportFile(const std::string& path, const std::string& text, std::string& error);

// The newest run of a history (the last), if any.
std::optional<BenchHistoryEntry> latestRun(const std::vector<BenchHistoryEntry>& runs);

} // namespace veltrin
