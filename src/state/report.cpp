#include "state/report.h"

#include "core/fixed_decimal.h"
#include "core/identifiers.h"
#include "core/placeholder_rule.h"
#include "core/unicode_text.h"
#include "state/field_labels.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

#include <cctype>
#include <functional>
#include <map>

namespace veltrin {
namespace {

// A line longer than any real value: one that long is cut rather than flood a post.
constexpr std::size_t kLongestValue = 8 * 1024;

constexpr const char* kTitle = "Veltrin Hardware Report";

// What a report holds, whatever it is written as.
struct Table {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    bool keyed = false; // the first column names each row
};

struct Block {
    enum class Kind { section, subsection, paragraph, table };
    Kind kind;
    std::string text;
    Table table;
};

Table keyedTable(std::vector<std::vector<std::string>> rows) { return {{"Field", "Value"}, std::move(rows), true}; }

// Runs of blanks as one: reports from system_profiler line up values with them.
std::string singleSpaced(const std::string& line)
{
    std::string out;
    for (const char c : line)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

// Builds the blocks of a snapshot's areas from the records' own field lists, so a
// field or area added to a record appears with nothing more than its label.
class ReportBuilder {
public:
    explicit ReportBuilder(bool masked) : masked_(masked) {}

    std::vector<Block> blocks;

    template <FieldRecord Record>
    void addAreas(const Record& snapshot)
    {
        forEachField(snapshot, [&]<typename Value>(std::string_view name, const Value& area) {
            const std::string path(name);
            add(Block::Kind::section, std::string(labelOf(path)));
            if constexpr (FieldRecord<Value>)
                addRecord(area, path);
            else if constexpr (isFieldList<Value>)
                addList(area, path, true);
        });
    }

    void add(Block::Kind kind, std::string text, Table table = {})
    {
        blocks.push_back({kind, std::move(text), std::move(table)});
    }

private:
    // The record's rows, in an untitled table and then one table per group in the
    // groups' order, each group only when it shows a row; then its lists.
    template <FieldRecord Record>
    void addRecord(const Record& record, const std::string& path)
    {
        std::map<std::string_view, std::vector<std::vector<std::string>>> rowsByGroup;
        std::vector<std::function<void()>> nested;
        forEachField(record, [&]<typename Value>(std::string_view name, const Value& value) {
            const std::string field = fieldPath(path, name);
            if constexpr (FieldRecord<Value>) {
                nested.push_back([this, &value, field] {
                    add(Block::Kind::subsection, std::string(labelOf(field)));
                    addRecord(value, field);
                });
            } else if constexpr (isFieldList<Value>) {
                // An empty list inside a record is a fact not known, left out like a placeholder.
                if (!value.empty())
                    nested.push_back([this, &value, field] {
                        add(Block::Kind::subsection, std::string(labelOf(field)));
                        addList(value, field, false);
                    });
            } else if (const auto shown = shownValue(value, field)) {
                const FieldLabel* entry = fieldLabel(field);
                rowsByGroup[entry ? entry->group : std::string_view()].push_back(
                    {std::string(labelOf(field)), *shown});
            }
        });
        if (const auto untitled = rowsByGroup.find({}); untitled != rowsByGroup.end())
            add(Block::Kind::table, {}, keyedTable(untitled->second));
        for (const FieldGroup& group : fieldGroups()) {
            const auto rows = rowsByGroup.find(group.key);
            if (rows == rowsByGroup.end())
                continue;
            add(Block::Kind::subsection, std::string(group.title));
            if (!group.note.empty())
                add(Block::Kind::paragraph, std::string(group.note));
            add(Block::Kind::table, {}, keyedTable(rows->second));
        }
        for (const auto& addNested : nested)
            addNested();
    }

    // One row per member, one column per field any member shows.
    template <typename Element>
    void addList(const std::vector<Element>& list, const std::string& path, bool isArea)
    {
        if (list.empty()) {
            if (isArea)
                add(Block::Kind::paragraph, "None reported.");
            return;
        }
        if constexpr (!FieldRecord<Element>) {
            std::string joined;
            for (const Element& element : list)
                if (const auto shown = shownValue(element, path))
                    joined += (joined.empty() ? "" : ", ") + *shown;
            add(Block::Kind::paragraph, joined);
        } else {
            std::vector<std::vector<std::optional<std::string>>> cells(list.size());
            std::vector<std::string> columns;
            std::vector<bool> anyShown;
            for (std::size_t row = 0; row < list.size(); ++row) {
                std::size_t column = 0;
                forEachField(list[row], [&]<typename Value>(std::string_view name, const Value& value) {
                    static_assert(isScalarField<Value>, "a list member's fields are shown as one table row: "
                                                   "give a nested list or record a section of its own");
                    const std::string field = fieldPath(path, name);
                    if (row == 0) {
                        columns.emplace_back(labelOf(field));
                        anyShown.push_back(false);
                    }
                    cells[row].push_back(shownValue(value, field));
                    anyShown[column] = anyShown[column] || cells[row].back().has_value();
                    ++column;
                });
            }
            Table table;
            for (std::size_t column = 0; column < columns.size(); ++column)
                if (anyShown[column])
                    table.columns.push_back(columns[column]);
            for (const auto& row : cells) {
                std::vector<std::string> shown;
                for (std::size_t column = 0; column < row.size(); ++column)
                    if (anyShown[column])
                        shown.push_back(row[column].value_or(""));
                table.rows.push_back(std::move(shown));
            }
            add(Block::Kind::table, {}, std::move(table));
        }
    }

    // What a row shows for a value; nothing for a placeholder, a flag that is not
    // set or a record's random id.
    std::optional<std::string> shownValue(const std::string& value, std::string_view path) const
    {
        if (veltrinShouldHideField(value))
            return std::nullopt;
        const std::string line = singleSpaced(displayLine(trimmed(value), kLongestValue));
        return masked_ && isIdentifierField(path) ? maskedIdentifier(line) : line;
    }
    static std::optional<std::string> shownValue(bool value, std::string_view)
    {
        return value ? std::optional<std::string>("Yes") : std::nullopt;
    }
    static std::optional<std::string> shownValue(std::int64_t value, std::string_view) { return std::to_string(value); }
    static std::optional<std::string> shownValue(const Uuid&, std::string_view) { return std::nullopt; }

    bool masked_;
};

std::string historyDate(const std::string& date)
{
    const QDateTime parsed = QDateTime::fromString(QString::fromStdString(date), Qt::ISODate);
    return parsed.isValid() ? parsed.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString() + " UTC" : date;
}

std::vector<Block> reportBlocks(const SystemSnapshot& snapshot, const ReportContext& context)
{
    ReportBuilder builder(context.masked);
    builder.add(Block::Kind::table, {},
                keyedTable({{"Veltrin", context.version},
                            {"Date", context.date},
                            {"Source", context.source},
                            {"Identifiers", context.masked ? "Masked: serial numbers and UUIDs show only their last "
                                                             "four characters"
                                                           : "Shown in full"}}));
    builder.addAreas(snapshot);
    builder.add(Block::Kind::section, "Benchmark");
    if (!context.benchmark) {
        builder.add(Block::Kind::paragraph, "No benchmark has been recorded.");
        return std::move(builder.blocks);
    }
    const BenchHistoryEntry& run = *context.benchmark;
    builder.add(Block::Kind::paragraph, "The latest run in the benchmark history.");
    builder.add(Block::Kind::table, {},
                keyedTable({{"Date", historyDate(run.date)},
                            {"Single-thread score", std::to_string(run.singleThread)},
                            {"Multi-thread score", std::to_string(run.multiThread)},
                            {"Threads", std::to_string(run.threads)},
                            {"Stability", "single CV " + fixedDecimal(run.singleCV, 1) + "% / multi CV " +
                                              fixedDecimal(run.multiCV, 1) + "%"},
                            {"Veltrin version", run.version},
                            {"Model", run.model}}));
    return std::move(builder.blocks);
}

// Markdown: every character that could start an inline construct (emphasis, code,
// link, HTML, entity, strikethrough, math) or end a table cell is escaped, so a
// value reads as exactly its text wherever it is rendered.
// An underscore inside a word ("x86_64") starts nothing in GitHub's Markdown and
// stays as it is, which keeps the text readable where it is pasted unrendered.
std::string markdownText(std::string_view text)
{
    const auto isWordCharacter = [&](std::size_t at) {
        const unsigned char c = at < text.size() ? static_cast<unsigned char>(text[at]) : ' ';
        return std::isalnum(c) != 0 || c >= 0x80;
    };
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        const bool inWord = c == '_' && at > 0 && isWordCharacter(at - 1) && isWordCharacter(at + 1);
        if (!inWord && std::string_view("\\`*_[]<>|~&$").find(c) != std::string_view::npos)
            out += '\\';
        out += c;
    }
    return out;
}

std::string markdownRow(const std::vector<std::string>& cells, bool escape)
{
    std::string line = "|";
    for (const std::string& cell : cells)
        line += " " + (escape ? markdownText(cell) : cell) + " |";
    return line + "\n";
}

std::string markdown(const std::vector<Block>& blocks)
{
    std::string out = std::string("# ") + kTitle + "\n";
    for (const Block& block : blocks) {
        out += "\n";
        switch (block.kind) {
        case Block::Kind::section: out += "## " + markdownText(block.text) + "\n"; break;
        case Block::Kind::subsection: out += "### " + markdownText(block.text) + "\n"; break;
        case Block::Kind::paragraph: out += markdownText(block.text) + "\n"; break;
        case Block::Kind::table:
            out += markdownRow(block.table.columns, true);
            out += markdownRow(std::vector<std::string>(block.table.columns.size(), "---"), false);
            for (const auto& row : block.table.rows)
                out += markdownRow(row, true);
            break;
        }
    }
    return out;
}

std::string htmlText(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// Light and dark follow the reader's setting; print is always black on white.
constexpr const char* kStyle = R"(:root {
  color-scheme: light dark;
  --text: #1c1e22; --muted: #59606c; --line: #d3d7de; --head: #eef1f5; --page: #ffffff; --accent: #2f6fde;
}
@media (prefers-color-scheme: dark) {
  :root { --text: #e5e7eb; --muted: #a3aab6; --line: #3b4049; --head: #23272e; --page: #16181c; --accent: #6fa3ff; }
}
body { margin: 0; background: var(--page); color: var(--text);
  font: 15px/1.45 -apple-system, BlinkMacSystemFont, "Segoe UI", "Helvetica Neue", Arial, sans-serif; }
main { max-width: 64rem; margin: 0 auto; padding: 2rem 1.25rem 3rem; }
h1 { font-size: 1.75rem; margin: 0 0 1rem; }
h2 { font-size: 1.3rem; margin: 2rem 0 0.6rem; padding-bottom: 0.25rem; border-bottom: 2px solid var(--accent); }
h3 { font-size: 1.05rem; margin: 1.4rem 0 0.4rem; }
p { margin: 0.3rem 0 0.6rem; color: var(--muted); }
table { border-collapse: collapse; width: 100%; margin: 0.4rem 0 1rem; }
th, td { text-align: left; vertical-align: top; padding: 0.35rem 0.6rem; border: 1px solid var(--line);
  overflow-wrap: anywhere; }
thead th { background: var(--head); }
tbody th { font-weight: 600; width: 13rem; }
@media print {
  :root { --text: #000000; --muted: #333333; --line: #999999; --head: #eeeeee; --page: #ffffff; --accent: #000000; }
  main { max-width: none; padding: 0; }
  h2, h3 { break-after: avoid; }
  tr { break-inside: avoid; }
}
)";

std::string htmlTable(const Table& table)
{
    std::string out = "<table>\n<thead><tr>";
    for (const std::string& column : table.columns)
        out += "<th scope=\"col\">" + htmlText(column) + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    for (const auto& row : table.rows) {
        out += "<tr>";
        for (std::size_t column = 0; column < row.size(); ++column)
            out += table.keyed && column == 0 ? "<th scope=\"row\">" + htmlText(row[column]) + "</th>"
                                              : "<td>" + htmlText(row[column]) + "</td>";
        out += "</tr>\n";
    }
    return out + "</tbody>\n</table>\n";
}

// One file that fetches nothing: the style is inline, there is no script, image
// or font, and the page's own policy refuses any load should a value ever carry one.
std::string html(const std::vector<Block>& blocks)
{
    std::string out = std::string("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n") +
                      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
                      "'unsafe-inline'\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                      "<meta name=\"color-scheme\" content=\"light dark\">\n<title>" +
                      kTitle + "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n<main>\n<h1>" + kTitle +
                      "</h1>\n";
    for (const Block& block : blocks) {
        switch (block.kind) {
        case Block::Kind::section: out += "<h2>" + htmlText(block.text) + "</h2>\n"; break;
        case Block::Kind::subsection: out += "<h3>" + htmlText(block.text) + "</h3>\n"; break;
        case Block::Kind::paragraph: out += "<p>" + htmlText(block.text) + "</p>\n"; break;
        case Block::Kind::table: out += htmlTable(block.table); break;
        }
    }
    return out + "</main>\n</body>\n</html>\n";
}

} // namespace

ReportFormat reportFormatFor(std::string_view fileName)
{
    const std::string name = lowercased(fileName);
    return name.ends_with(".html") || name.ends_with(".htm") ? ReportFormat::html : ReportFormat::markdown;
}

std::string reportText(const SystemSnapshot& snapshot, const ReportContext& context, ReportFormat format)
{
    const std::vector<Block> blocks = reportBlocks(snapshot, context);
    return format == ReportFormat::html ? html(blocks) : markdown(blocks);
}

std::string reportSource(const std::optional<std::string>& captureDirectory)
{
    if (!captureDirectory)
        return "This machine";
    // The folder's own name only: the path may name the person's home.
    const QString folder = QFileInfo(QString::fromStdString(*captureDirectory)).canonicalFilePath();
    const QString name = QFileInfo(folder.isEmpty() ? QString::fromStdString(*captureDirectory) : folder).fileName();
    return "Replayed capture " + displayLine(name.toStdString(), 256);
}

std::string reportDateNow()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString() + " UTC";
}

bool writeReportFile(const std::string& path, const std::string& text, std::string& error)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()) ||
        !file.commit()) {
        error = "cannot write " + path + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

std::optional<BenchHistoryEntry> latestRun(const std::vector<BenchHistoryEntry>& runs)
{
    if (runs.empty())
        return std::nullopt;
    return runs.back();
}

} // namespace veltrin
