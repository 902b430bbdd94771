#include "core/identifiers.h"
#include "core/records.h"
#include "state/field_labels.h"
#include "state/report.h"
#include "state/snapshot_diff.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace veltrin;

namespace {

bool isFieldPath(std::string_view path)
{
    const std::vector<FieldShape> shapes = fieldShapes<SystemSnapshot>();
    return std::ranges::any_of(shapes, [&](const FieldShape& shape) { return shape.path == path; });
}

SystemSnapshot boardWithIdentifiers()
{
    SystemSnapshot snapshot;
    snapshot.cpu = {"Intel(R) Core(TM) i7-9700 CPU @ 3.00GHz", "GenuineIntel", "x86_64", "8", "8", "3.00 GHz",
                    "32 KB", "32 KB", "256 KB", "\u2014", "\u2014"};
    snapshot.mainboard.manufacturer = "ASRock";
    snapshot.mainboard.model = "Z390 | Phantom <b>Gaming</b> *ITX* [ac]";
    snapshot.mainboard.chipset = "Unknown";
    snapshot.mainboard.serial = "M80-D5003600421";
    snapshot.mainboard.macModel = "iMacPro1,1";
    snapshot.mainboard.macSerial = "C02XG2JHJG5H";
    snapshot.mainboard.hardwareUUID = "AF9C6236-E2E7-5B73-A553-619C3411576C";
    snapshot.mainboard.biosVendor = "American Megatrends Inc.";
    snapshot.mainboard.os = "14.6.1 (23G93)";
    snapshot.gpus = {GPUInfo{.name = "Radeon RX 580", .vram = "8 GB", .displays = "2560 x 1440 /     1920 x 1080"}};
    return snapshot;
}

ReportContext context(bool masked)
{
    return {"1.6", "2026-12-07 09:30 UTC", "Replayed capture board", std::nullopt, masked};
}

} // namespace

// Every field a record gains needs a label, or the report and the comparison name it
// by its bare field name; the lists of special fields name only fields that exist.
TEST(FieldLabels, NameEveryFieldOfTheSnapshotAndNothingElse)
{
    for (const FieldShape& shape : fieldShapes<SystemSnapshot>()) {
        if (shape.kind != FieldKind::identity) {
            EXPECT_NE(fieldLabel(shape.path), nullptr) << shape.path << " has no label in state/field_labels.cpp";
        }
    }
    for (const FieldLabel& entry : fieldLabels()) {
        EXPECT_TRUE(isFieldPath(entry.path)) << entry.path;
        EXPECT_TRUE(entry.group.empty() || std::ranges::any_of(fieldGroups(), [&](const FieldGroup& group) {
                        return group.key == entry.group;
                    })) << entry.path;
    }
    for (const std::string_view path : kSelfChangingFields)
        EXPECT_TRUE(isFieldPath(path)) << path;
}

TEST(Report, MasksIdentifiersHidesPlaceholdersAndKeepsTheBoardApartFromSMBIOS)
{
    const std::string masked = reportText(boardWithIdentifiers(), context(true), ReportFormat::markdown);
    for (const char* whole : {"M80-D5003600421", "C02XG2JHJG5H", "AF9C6236-E2E7-5B73-A553-619C3411576C"})
        EXPECT_EQ(masked.find(whole), std::string::npos) << whole;
    EXPECT_NE(masked.find("| Board Serial | " + maskedIdentifier("M80-D5003600421") + " |"), std::string::npos);
    EXPECT_NE(masked.find("| macOS Serial | \u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022JG5H |"), std::string::npos);
    EXPECT_NE(masked.find("| Identifiers | Masked"), std::string::npos);

    const std::string whole = reportText(boardWithIdentifiers(), context(false), ReportFormat::markdown);
    EXPECT_NE(whole.find("| System UUID | AF9C6236-E2E7-5B73-A553-619C3411576C |"), std::string::npos);
    EXPECT_NE(whole.find("| Identifiers | Shown in full |"), std::string::npos);

    // Placeholders and unset flags make no row, as in the window; an empty list inside a record no table.
    for (const char* absent : {"| L3 |", "| Chipset |", "Rosetta", "### Modules", "### Clusters"})
        EXPECT_EQ(masked.find(absent), std::string::npos) << absent;
    const auto at = [&](const std::string& text) { return masked.find(text); };
    EXPECT_LT(at("### Physical Board"), at("| Manufacturer | ASRock |"));
    EXPECT_LT(at("| Manufacturer | ASRock |"), at("### Firmware"));
    EXPECT_LT(at("### Firmware"), at("### macOS SMBIOS"));
    EXPECT_LT(at("### macOS SMBIOS"), at("| Model ID | iMacPro1,1 |"));
    EXPECT_LT(at("| Model ID | iMacPro1,1 |"), at("### Operating System"));
    // A list area is one table, a column per field some member shows.
    EXPECT_NE(masked.find("| Name | VRAM / Cores | Displays |\n| --- | --- | --- |\n"
                          "| Radeon RX 580 | 8 GB | 2560 x 1440 / 1920 x 1080 |"),
              std::string::npos);
    EXPECT_NE(masked.find("## Benchmark\n\nNo benchmark has been recorded.\n"), std::string::npos);
}

TEST(Report, AValueReadsAsItsTextInMarkdownAndInHTML)
{
    const SystemSnapshot snapshot = boardWithIdentifiers();
    const std::string markdown = reportText(snapshot, context(true), ReportFormat::markdown);
    EXPECT_NE(markdown.find("| Model | Z390 \\| Phantom \\<b\\>Gaming\\</b\\> \\*ITX\\* \\[ac\\] |"), std::string::npos);
    EXPECT_NE(markdown.find("| Architecture | x86_64 |"), std::string::npos); // inside a word, _ starts nothing

    const std::string html = reportText(snapshot, context(true), ReportFormat::html);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>\n", 0), 0u);
    EXPECT_NE(html.find("<tr><th scope=\"row\">Model</th><td>Z390 | Phantom &lt;b&gt;Gaming&lt;/b&gt; *ITX* [ac]</td></tr>"),
              std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_NE(html.find("prefers-color-scheme: dark"), std::string::npos);
    EXPECT_NE(html.find("@media print"), std::string::npos);
}

TEST(Report, ShowsTheLatestBenchmarkWithItsDateAndWhereTheSnapshotCameFrom)
{
    SystemSnapshot snapshot;
    snapshot.cpu.translated = true;
    const BenchHistoryEntry older{"2026-01-01T08:00:00Z", "1.5", 900, 4000, 1.0, 2.0, 8, "iMacPro1,1", {}, {}};
    const BenchHistoryEntry newer{"2026-01-02T03:04:05Z", "1.6", 1234, 5678, 0.84, 2.51, 8, "iMacPro1,1", {}, {}};
    ReportContext withRun = context(true);
    withRun.benchmark = latestRun({older, newer});
    withRun.source = reportSource(std::string(VELTRIN_FIXTURES) + "/captures/mbp15-1-i7-8750h/");
    const std::string report = reportText(snapshot, withRun, ReportFormat::markdown);
    for (const char* row : {"| Date | 2026-01-02 03:04 UTC |", "| Single-thread score | 1234 |",
                            "| Multi-thread score | 5678 |", "| Stability | single CV 0.8% / multi CV 2.5% |",
                            "| Veltrin version | 1.6 |", "| Source | Replayed capture mbp15-1-i7-8750h |",
                            "| Running under Rosetta | Yes |"})
        EXPECT_NE(report.find(row), std::string::npos) << row;
    EXPECT_EQ(latestRun({}), std::nullopt);
    EXPECT_EQ(reportSource(std::nullopt), "This machine");
}

TEST(Report, TakesItsFormatFromTheFileName)
{
    const std::pair<const char*, ReportFormat> cases[] = {
        {"report.html", ReportFormat::html}, {"REPORT.HTM", ReportFormat::html}, {"report.md", ReportFormat::markdown},
        {"report", ReportFormat::markdown},  {"html", ReportFormat::markdown},   {"a.html.txt", ReportFormat::markdown},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(reportFormatFor(name), format) << name;
}
