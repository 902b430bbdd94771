#include "core/json.h"

#include <cstdio>

namespace veltrin {
namespace {

std::string jsonValue(const std::string& text) { return jsonString(text); }
std::string jsonValue(std::int64_t number) { return std::to_string(number); }
std::string jsonValue(bool flag) { return flag ? "true" : "false"; }
std::string jsonValue(const Uuid& id) { return jsonString(id.toString()); }

template <FieldRecord Record>
std::string jsonValue(const Record& record);

template <typename Element>
std::string jsonValue(const std::vector<Element>& list)
{
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += ",";
        out += jsonValue(list[i]);
    }
    return out + "]";
}

template <FieldRecord Record>
std::string jsonValue(const Record& record)
{
    std::string out;
    forEachField(record, [&](std::string_view name, const auto& value) {
        out += out.empty() ? "{" : ",";
        out += jsonString(name) + ":" + jsonValue(value);
    });
    return out.empty() ? "{}" : out + "}";
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string toJson(const SystemSnapshot& snapshot)
{
    std::string out = jsonValue(snapshot);
    out.pop_back();
    return out + ",\"schemaVersion\":" + std::to_string(kSnapshotSchemaVersion) + "}";
}

std::string toJson(const BenchResult& result) { return jsonValue(result); }

} // namespace veltrin
