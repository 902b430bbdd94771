#include "probe/sources/system_profiler_xml.h"

#include "core/unicode_text.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <iterator>

namespace veltrin::SystemProbe {
namespace {

// A property list has no entities of its own; a document that declares some
// expands at most this much of them, so a few bytes cannot grow into megabytes.
constexpr int kEntityExpansionLimit = 1024;

// Reads one property list with Qt's stream reader, building at most
// kMaxPlistValues values and none deeper than kMaxPlistDepth.
class PlistReader {
public:
    explicit PlistReader(const QByteArray& xml) : reader_(xml) { reader_.setEntityExpansionLimit(kEntityExpansionLimit); }

    std::optional<PlistValue> document()
    {
        if (!reader_.readNextStartElement() || reader_.name() != QLatin1String("plist"))
            return std::nullopt;
        if (!reader_.readNextStartElement())
            return std::nullopt;
        PlistValue root;
        if (!read(root, 1))
            return std::nullopt;
        return root;
    }

private:
    // Reads the value whose start tag the reader stands on, through its end tag.
    // False when the value is not worth keeping: a scalar the fault cut short. A
    // container keeps what it held before a fault.
    bool read(PlistValue& value, int depth)
    {
        if (++values_ > kMaxPlistValues) {
            reader_.raiseError(QStringLiteral("more values than any report holds"));
            return false;
        }
        const QString name = reader_.name().toString();
        if (name == QLatin1String("array")) {
            value.kind = PlistValue::Kind::array;
            readArray(value, depth);
            return true;
        }
        if (name == QLatin1String("dict")) {
            value.kind = PlistValue::Kind::dictionary;
            readDictionary(value, depth);
            return true;
        }
        const QString text = reader_.readElementText();
        const bool isBoolean = name == QLatin1String("true") || name == QLatin1String("false");
        value.kind = PlistValue::Kind::scalar;
        value.text = (isBoolean ? name : text).toStdString();
        return !reader_.hasError();
    }

    // True when a value at `depth` may be built; deeper ones are skipped whole.
    bool enter(int depth)
    {
        if (depth < kMaxPlistDepth)
            return true;
        reader_.skipCurrentElement();
        return false;
    }

    void readArray(PlistValue& array, int depth)
    {
        while (reader_.readNextStartElement()) {
            if (!enter(depth))
                continue;
            PlistValue element;
            if (read(element, depth + 1))
                array.items.push_back(std::move(element));
        }
    }

    void readDictionary(PlistValue& dictionary, int depth)
    {
        while (reader_.readNextStartElement()) {
            if (reader_.name() != QLatin1String("key")) {
                reader_.skipCurrentElement(); // a value without its key says nothing
                continue;
            }
            std::string key = reader_.readElementText().toStdString();
            if (reader_.hasError() || !reader_.readNextStartElement())
                return;
            if (!enter(depth))
                continue;
            PlistValue element;
            if (read(element, depth + 1))
                dictionary.entries.push_back({std::move(key), std::move(element)});
        }
    }

    QXmlStreamReader reader_;
    std::size_t values_ = 0;
};

// For the keys whose values are system_profiler's own codes, what the English
// report shows for each code. A value that is a code of the key's family but not
// one of these gives no value; any other value is shown as it is.
bool isCode(std::string_view value, std::string_view family) { return startsWith(value, family); }

// The vendors whose code and English text real outputs show; Intel's is written
// as it is shown.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kGraphicsVendors{{
    {"sppci_vendor_amd", "AMD (0x1002)"},
    {"sppci_vendor_apple", "Apple (0x106b)"},
}};

std::optional<std::string> graphicsVendor(const std::string& value)
{
    if (!isCode(value, "sppci_vendor_"))
        return value;
    const std::string code = lowercased(value);
    for (const auto& [known, shown] : kGraphicsVendors)
        if (code == known)
            return std::string(shown);
    return std::nullopt;
}

bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "spdisplays_metal3" is shown as "Metal 3".
std::optional<std::string> metalSupport(const std::string& value)
{
    static constexpr std::string_view prefix = "spdisplays_metal";
    if (!isCode(value, "spdisplays_"))
        return value;
    if (!startsWith(value, prefix) || !isDigits(std::string_view(value).substr(prefix.size())))
        return std::nullopt;
    return "Metal " + value.substr(prefix.size());
}

// The named resolutions and what the English report shows for each; any other
// name ("spdisplays_qhd") gives no value here.
constexpr std::array<std::pair<std::string_view, std::string_view>, 1> kNamedResolutions{{
    {"spdisplays_2160p", "3840 x 2160 (2160p/4K UHD 1 - Ultra High Definition)"},
}};

// "spdisplays_2560x1600Retina" is shown as "2560 x 1600 Retina", a named
// resolution as the table above says.
std::optional<std::string> displayResolution(const std::string& value)
{
    static constexpr std::string_view prefix = "spdisplays_";
    if (!isCode(value, prefix))
        return value;
    for (const auto& [name, shown] : kNamedResolutions)
        if (value == name)
            return std::string(shown);
    const std::string_view rest = std::string_view(value).substr(prefix.size());
    const auto cross = rest.find('x');
    if (cross == std::string_view::npos)
        return std::nullopt;
    const std::string_view width = rest.substr(0, cross);
    const std::string_view after = rest.substr(cross + 1);
    const auto heightEnd = std::min(after.find_first_not_of("0123456789"), after.size());
    const std::string_view height = after.substr(0, heightEnd);
    const std::string_view name = after.substr(heightEnd);
    if (!isDigits(width) || !isDigits(height))
        return std::nullopt;
    return std::string(width) + " x " + std::string(height) + (name.empty() ? "" : " " + std::string(name));
}

// The first Apple Silicon Macs' releases wrote "lp_ddr4" where the report shows "LPDDR4".
std::optional<std::string> memoryType(const std::string& value)
{
    static constexpr std::string_view prefix = "lp_ddr";
    if (!isCode(value, prefix))
        return value;
    return "LPDDR" + uppercased(std::string_view(value).substr(prefix.size()));
}

struct CodedKey {
    std::string_view key;
    std::optional<std::string> (*english)(const std::string&);
};

constexpr std::array<CodedKey, 4> kCodedKeys{{
    {"spdisplays_vendor", graphicsVendor},
    {"spdisplays_mtlgpufamilysupport", metalSupport},
    {"spdisplays_pixelresolution", displayResolution},
    {"dimm_type", memoryType},
}};

} // namespace

bool isEnglishReport(std::string_view report, std::span<const std::string_view> labels)
{
    return std::any_of(labels.begin(), labels.end(), [&](std::string_view label) { return contains(report, label); });
}

const PlistValue* PlistValue::find(std::string_view key) const
{
    for (const auto& [name, value] : entries)
        if (name == key)
            return &value;
    return nullptr;
}

std::optional<std::string> PlistValue::scalar(std::string_view key) const
{
    const PlistValue* value = find(key);
    if (value == nullptr || value->kind != Kind::scalar)
        return std::nullopt;
    return trimmed(value->text);
}

std::span<const PlistValue> PlistValue::list(std::string_view key) const
{
    const PlistValue* value = find(key);
    if (value == nullptr || value->kind != Kind::array)
        return {};
    return value->items;
}

std::optional<PlistValue> parsePlist(std::string_view xml)
{
    // The runner gives standard error with the output, and system_profiler warns
    // there on some systems before the document starts; the document is what
    // follows.
    auto start = xml.find("<?xml");
    if (start == std::string_view::npos)
        start = xml.find("<plist");
    if (start == std::string_view::npos)
        return std::nullopt;
    xml.remove_prefix(start);
    PlistReader reader(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
    return reader.document();
}

std::vector<PlistValue> systemProfilerItems(std::string_view xml)
{
    std::optional<PlistValue> root = parsePlist(xml);
    std::vector<PlistValue> items;
    if (!root || root->kind != PlistValue::Kind::array)
        return items;
    for (PlistValue& report : root->items) {
        if (report.kind != PlistValue::Kind::dictionary)
            continue;
        for (auto& [key, value] : report.entries)
            if (key == "_items" && value.kind == PlistValue::Kind::array)
                std::move(value.items.begin(), value.items.end(), std::back_inserter(items));
    }
    return items;
}

std::optional<std::string> firstScalar(std::span<const PlistValue> values, std::string_view key)
{
    for (const PlistValue& value : values) {
        if (value.kind == PlistValue::Kind::array) {
            if (auto found = firstScalar(value.items, key))
                return found;
            continue;
        }
        for (const auto& [name, entry] : value.entries) {
            if (name == key && entry.kind == PlistValue::Kind::scalar)
                return trimmed(entry.text);
            if (auto found = firstScalar(std::span(&entry, 1), key))
                return found;
        }
    }
    return std::nullopt;
}

std::optional<std::string> englishText(std::string_view key, std::string value)
{
    for (const CodedKey& coded : kCodedKeys)
        if (coded.key == key)
            return coded.english(value);
    return value;
}

std::optional<std::string> englishValue(const PlistValue& item, std::string_view key)
{
    auto value = item.scalar(key);
    return value ? englishText(key, std::move(*value)) : std::nullopt;
}

} // namespace veltrin::SystemProbe
