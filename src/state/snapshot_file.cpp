#include "state/snapshot_file.h"

#include "core/json.h"
#include "platform/replay_machine.h"
#include "probe/system_probe.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace veltrin {
namespace {

// Far more than any snapshot's JSON; a larger file is something else.
constexpr qint64 kLargestSnapshotFile = 16 * 1024 * 1024;

// Each reader checks that the JSON value has the field's kind, then fills the
// field; a false return has set `problem` to the field's path and what is wrong.
class FieldReader {
public:
    std::string problem;

    bool read(const QJsonValue& json, std::string& field, const std::string& path)
    {
        if (!json.isString())
            return refuse(path, "is not a string");
        field = json.toString().toStdString();
        return true;
    }

    bool read(const QJsonValue& json, bool& field, const std::string& path)
    {
        if (!json.isBool())
            return refuse(path, "is not true or false");
        field = json.toBool();
        return true;
    }

    bool read(const QJsonValue& json, std::int64_t& field, const std::string& path)
    {
        const double number = json.toDouble();
        if (!json.isDouble() || number != std::trunc(number) || std::fabs(number) > 9.0e15)
            return refuse(path, "is not a whole number");
        field = static_cast<std::int64_t>(number);
        return true;
    }

    // Ids are random per build of a record; the one written carries nothing.
    bool read(const QJsonValue& json, Uuid&, const std::string& path)
    {
        return json.isString() || refuse(path, "is not a string");
    }

    template <typename Element>
    bool read(const QJsonValue& json, std::vector<Element>& list, const std::string& path)
    {
        if (!json.isArray())
            return refuse(path, "is not a list");
        const QJsonArray items = json.toArray();
        list.clear();
        for (qsizetype index = 0; index < items.size(); ++index) {
            Element element{};
            if (!read(items.at(index), element, path + "[" + std::to_string(index) + "]"))
                return false;
            list.push_back(std::move(element));
        }
        return true;
    }

    template <FieldRecord Record>
    bool read(const QJsonValue& json, Record& record, const std::string& path)
    {
        if (!json.isObject())
            return refuse(path, "is not an object");
        const QJsonObject object = json.toObject();
        bool good = true;
        forEachField(record, [&](std::string_view name, auto& field) {
            const QString key = QString::fromUtf8(name.data(), qsizetype(name.size()));
            if (good && object.contains(key))
                good = read(object.value(key), field, fieldPath(path, name));
        });
        return good;
    }

private:
    bool refuse(const std::string& path, const char* what)
    {
        problem = "its " + path + " " + what;
        return false;
    }
};

SnapshotRead notASnapshot(std::string reason) { return {std::nullopt, "not Veltrin's JSON: " + std::move(reason)}; }

SnapshotRead readCapture(const std::string& path, const std::function<void(const std::string&)>& warn)
{
    std::string error;
    const auto machine = ReplayMachine::open(path, error, warn);
    if (!machine)
        return {std::nullopt, error};
    if (!machine->holdsCaptureFiles())
        return {std::nullopt, path + " is not a capture folder: it holds no file a capture writes"};
    return {SystemProbe::collect(*machine), {}};
}

} // namespace

SnapshotRead snapshotFromJson(std::string_view text)
{
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(text.data(), qsizetype(text.size())), &error);
    if (error.error != QJsonParseError::NoError)
        return notASnapshot("it is not valid JSON (" + error.errorString().toStdString() + " at byte " +
                            std::to_string(error.offset) + ")");
    if (!document.isObject())
        return notASnapshot("it is not a JSON object");
    const QJsonObject object = document.object();

    const QJsonValue version = object.value(QStringLiteral("schemaVersion"));
    if (!version.isUndefined()) {
        const int number = version.toInt(0);
        if (!version.isDouble() || number < 1 || version.toDouble() != number)
            return notASnapshot("its schemaVersion is not a version number");
        if (number > kSnapshotSchemaVersion)
            return notASnapshot("it was written by a newer Veltrin (schema version " + std::to_string(number) + ")");
    }
    // Every Veltrin writes all of its areas; a file with none of them is something else.
    std::string areas;
    bool anyArea = false;
    for (const std::string_view area : SystemSnapshot::fieldNames) {
        areas += (areas.empty() ? "" : ", ") + std::string(area);
        anyArea = anyArea || object.contains(QString::fromUtf8(area.data(), qsizetype(area.size())));
    }
    if (!anyArea)
        return notASnapshot("it holds none of a snapshot's areas (" + areas + ")");

    SystemSnapshot snapshot;
    FieldReader reader;
    if (!reader.read(QJsonValue(object), snapshot, {}))
        return notASnapshot(reader.problem);
    return {std::move(snapshot), {}};
}

SnapshotRead readSnapshot(const std::string& path, const std::function<void(const std::string&)>& warn)
{
    const QFileInfo info(QString::fromStdString(path));
    if (info.isDir())
        return readCapture(path, warn);
    if (!info.exists())
        return {std::nullopt, path + " does not exist"};
    if (!info.isFile())
        return {std::nullopt, path + " is neither a capture folder nor a file"};
    if (info.size() > kLargestSnapshotFile)
        return {std::nullopt, path + " is not Veltrin's JSON: it is larger than any snapshot"};
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, "cannot read " + path};
    const QByteArray bytes = file.read(kLargestSnapshotFile + 1);
    SnapshotRead read = snapshotFromJson(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!read.snapshot)
        read.problem = path + " is " + read.problem;
    return read;
}

} // namespace veltrin
