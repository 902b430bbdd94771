#include "state/bench_history.h"

#include "bench/result_text.h"
#include "core/fixed_decimal.h"
#include "core/json.h"
#include "core/unicode_text.h"
#include "platform/machine.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <optional>

namespace veltrin {
namespace {

constexpr const char* kFormat = "veltrin-bench-history";
constexpr int kFormatVersion = 1;
constexpr int kLockWaitMilliseconds = 5000;

QString text(const std::string& value) { return QString::fromStdString(value); }

// Written by hand rather than through QJsonObject, which would sort the fields:
// a person reading the file sees them in the order of the record.
std::string entryJson(const BenchHistoryEntry& entry)
{
    return "{\"date\":" + jsonString(entry.date) + ",\"version\":" + jsonString(entry.version) +
           ",\"singleThread\":" + std::to_string(entry.singleThread) +
           ",\"multiThread\":" + std::to_string(entry.multiThread) + ",\"singleCV\":" + fixedDecimal(entry.singleCV, 3) +
           ",\"multiCV\":" + fixedDecimal(entry.multiCV, 3) + ",\"threads\":" + std::to_string(entry.threads) +
           ",\"model\":" + jsonString(entry.model) + ",\"singleRounds\":" + roundTimesJson(entry.singleRounds) +
           ",\"multiRounds\":" + roundTimesJson(entry.multiRounds) + '}';
}

std::string documentJson(const std::vector<BenchHistoryEntry>& runs)
{
    std::string out = std::string("{\"format\":\"") + kFormat + "\",\"version\":" + std::to_string(kFormatVersion) +
                      ",\"runs\":[";
    for (std::size_t index = 0; index < runs.size(); ++index)
        out += (index == 0 ? "\n" : ",\n") + entryJson(runs[index]);
    return out + "]}";
}

// Strict readers: a field of the wrong kind makes the whole entry, and with it
// the file, unreadable, so nothing is dropped quietly and rewritten without it.
std::optional<std::string> stringField(const QJsonObject& object, const char* name)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (!value.isString())
        return std::nullopt;
    return value.toString().toStdString();
}

std::optional<double> numberField(const QJsonObject& object, const char* name)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

std::optional<std::int64_t> integerField(const QJsonObject& object, const char* name)
{
    const auto number = numberField(object, name);
    if (!number || *number != std::trunc(*number) || std::fabs(*number) > 9.0e15)
        return std::nullopt;
    return static_cast<std::int64_t>(*number);
}

std::optional<std::vector<RoundTime>> roundsField(const QJsonObject& object, const char* name)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (!value.isArray())
        return std::nullopt;
    std::vector<RoundTime> rounds;
    for (const QJsonValue& item : value.toArray()) {
        const QJsonObject round = item.toObject();
        const auto seconds = numberField(round, "seconds");
        if (!item.isObject() || !seconds || !round.value(QLatin1String("trimmed")).isBool())
            return std::nullopt;
        rounds.push_back({*seconds, round.value(QLatin1String("trimmed")).toBool()});
    }
    return rounds;
}

std::optional<BenchHistoryEntry> entryFrom(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto date = stringField(object, "date");
    const auto version = stringField(object, "version");
    const auto single = integerField(object, "singleThread");
    const auto multi = integerField(object, "multiThread");
    const auto singleCV = numberField(object, "singleCV");
    const auto multiCV = numberField(object, "multiCV");
    const auto threads = integerField(object, "threads");
    const auto model = stringField(object, "model");
    auto singleRounds = roundsField(object, "singleRounds");
    auto multiRounds = roundsField(object, "multiRounds");
    if (!date || !version || !single || !multi || !singleCV || !multiCV || !threads || !model || !singleRounds ||
        !multiRounds || *threads < 0 || *threads > 1024)
        return std::nullopt;
    return BenchHistoryEntry{*date,     *version, *single,  *multi, *singleCV, *multiCV, static_cast<int>(*threads),
                             *model,    std::move(*singleRounds), std::move(*multiRounds)};
}

struct Parsed {
    std::vector<BenchHistoryEntry> runs;
    std::string fault; // empty when the file is a readable history
};

Parsed parse(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return {{}, "it is not valid JSON"};
    const QJsonObject object = document.object();
    if (!document.isObject() || object.value(QLatin1String("format")).toString() != QLatin1String(kFormat))
        return {{}, "it is not a Veltrin benchmark history"};
    if (object.value(QLatin1String("version")).toInt(-1) != kFormatVersion)
        return {{}, "it was written in a format this version does not know"};
    if (!object.value(QLatin1String("runs")).isArray())
        return {{}, "it has no list of runs"};
    Parsed parsed;
    for (const QJsonValue& value : object.value(QLatin1String("runs")).toArray()) {
        auto entry = entryFrom(value);
        if (!entry)
            return {{}, "one of its runs is malformed"};
        parsed.runs.push_back(std::move(*entry));
    }
    return parsed;
}

// The first free "<file>.damaged-<UTC time>[-n]" beside the file.
QString asidePath(const QString& path)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = path + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    return candidate;
}

} // namespace

BenchHistoryEntry historyEntry(const BenchRun& run, std::string date, std::string version, std::string model)
{
    return {std::move(date),
            std::move(version),
            run.result.singleThread,
            run.result.multiThread,
            run.details.singleCV,
            run.details.multiCV,
            run.details.threadsRan,
            std::move(model),
            run.details.singleRounds,
            run.details.multiRounds};
}

bool isWorthRecording(const BenchRun& run)
{
    return run.result.singleThread > 0 && run.result.multiThread > 0 && run.details.threadsRan > 0;
}

BenchHistoryFile::BenchHistoryFile(std::string path, bool writable, std::size_t mostRuns)
    : path_(std::move(path)), writable_(writable), mostRuns_(std::max<std::size_t>(1, mostRuns))
{
}

std::string BenchHistoryFile::defaultPath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    return QDir(data).filePath(QStringLiteral("Veltrin/bench-history.json")).toStdString();
}

BenchHistoryRead BenchHistoryFile::read() const
{
    if (path_.empty())
        return {};
    if (!writable_)
        return readFile(false);
    QLockFile lock(text(path_) + QStringLiteral(".lock"));
    // Without its folder there is no history, and no lock file to take either.
    if (!QFileInfo(QFileInfo(text(path_)).absolutePath()).isDir())
        return {};
    // Whole files replace each other by renaming, so reading without the lock is
    // safe; only moving a damaged file aside needs it.
    return readFile(lock.tryLock(kLockWaitMilliseconds));
}

// Reads the file; a damaged one is moved aside when `mayMoveAside` (the history
// is writable and its lock is held), else only reported.
BenchHistoryRead BenchHistoryFile::readFile(bool mayMoveAside) const
{
    const QString path = text(path_);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};

    Parsed parsed;
    if (info.isSymLink() || !info.isFile()) {
        parsed.fault = "it is not a regular file";
    } else if (info.size() > kLargestFile) {
        parsed.fault = "it is larger than any history Veltrin writes";
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {{}, "The benchmark history " + path_ + " could not be opened; it is left as it is."};
        parsed = parse(file.read(kLargestFile + 1));
    }
    if (parsed.fault.empty())
        return {std::move(parsed.runs), {}};

    const std::string what = "The benchmark history " + path_ + " could not be read: " + parsed.fault;
    if (!mayMoveAside)
        return {{}, what + "."};
    const QString aside = asidePath(path);
    if (!QFile::rename(path, aside))
        return {{}, what + ", and it could not be moved aside; it is left as it is and no run is added to it."};
    return {{}, what + ". It was moved to " + aside.toStdString() + " and a new history begins."};
}

BenchHistoryRead BenchHistoryFile::append(const BenchHistoryEntry& entry) const
{
    if (path_.empty())
        return {{}, "There is no data folder to keep the benchmark history in; this run was not recorded."};
    if (!writable_)
        return read();
    const QString path = text(path_);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return {{}, "The folder of the benchmark history " + path_ + " could not be made; this run was not recorded."};
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMilliseconds))
        return {read().runs, "The benchmark history " + path_ + " is in use; this run was not recorded."};

    BenchHistoryRead history = readFile(true);
    // A damaged file that could not be moved aside still exists: leave it alone.
    if (!history.problem.empty() && QFileInfo::exists(path))
        return history;
    history.runs.push_back(entry);
    if (history.runs.size() > mostRuns_)
        history.runs.erase(history.runs.begin(),
                           history.runs.begin() + std::ptrdiff_t(history.runs.size() - mostRuns_));

    // Written whole to a temporary file and renamed over the old one: a crash
    // or a full disk leaves the previous history, never half of one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray::fromStdString(documentJson(history.runs))) < 0 || !file.commit()) {
        history.runs.pop_back();
        const std::string failed = "The benchmark history " + path_ + " could not be written; this run was not recorded.";
        history.problem = history.problem.empty() ? failed : history.problem + ' ' + failed;
    }
    return history;
}

std::string benchHistoryJson(const std::vector<BenchHistoryEntry>& runs) { return documentJson(runs); }

std::string benchHistoryTable(const std::vector<BenchHistoryEntry>& runs)
{
    const std::vector<std::string> header{"Date (UTC)", "Version", "Single", "Multi", "Single CV", "Multi CV",
                                          "Threads", "Model"};
    std::vector<std::vector<std::string>> rows{header};
    for (const BenchHistoryEntry& run : runs) {
        const QDateTime date = QDateTime::fromString(text(run.date), Qt::ISODate);
        rows.push_back({date.isValid() ? date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString()
                                       : run.date,
                        run.version, std::to_string(run.singleThread), std::to_string(run.multiThread),
                        fixedDecimal(run.singleCV, 1) + "%", fixedDecimal(run.multiCV, 1) + "%",
                        std::to_string(run.threads), run.model});
    }
    std::vector<std::size_t> widths(header.size(), 0);
    for (const auto& row : rows)
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], graphemeCount(row[column]));
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size())
                line += std::string(widths[column] - graphemeCount(row[column]) + 2, ' ');
        }
        out += line + '\n';
    }
    return out;
}

std::string historyModel(const Machine& machine)
{
    const std::string model = trimmed(machine.sysctlValue("hw.model"));
    if (!model.empty())
        return model;
    return trimmed(machine.sysctlValue("machdep.cpu.brand_string"));
}

BenchHistoryRead recordBenchRun(const BenchHistoryFile& history, const BenchRun& run, const std::string& version,
                                const Machine& machine)
{
    if (!isWorthRecording(run))
        return history.read();
    const std::string now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    return history.append(historyEntry(run, now, version, historyModel(machine)));
}

} // namespace veltrin
