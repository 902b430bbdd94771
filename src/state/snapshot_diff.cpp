#include "state/snapshot_diff.h"

#include "core/identifiers.h"
#include "core/json.h"
#include "core/placeholder_rule.h"
#include "core/unicode_text.h"
#include "state/field_labels.h"

#include <algorithm>
#include <map>

namespace veltrin {
namespace {

constexpr std::size_t kLongestValue = 64 * 1024;

bool changesByItself(std::string_view path)
{
    return std::ranges::find(kSelfChangingFields, path) != kSelfChangingFields.end();
}

class Comparison {
public:
    explicit Comparison(bool masked) : masked_(masked) {}

    std::vector<SnapshotDifference> differences;

    // `path` is the field's, `key` where it is, `member` the list member it is in.
    template <FieldRecord Record>
    void compare(const Record& before, const Record& after, const std::string& path, const std::string& key,
                 const std::string& member)
    {
        forEachFieldPair(before, after, [&](std::string_view name, const auto& left, const auto& right) {
            compare(left, right, fieldPath(path, name), fieldPath(key, name), member);
        });
    }

    template <typename Value>
        requires isScalarField<Value>
    void compare(const Value& before, const Value& after, const std::string& path, const std::string& key,
                 const std::string& member)
    {
        if constexpr (!std::is_same_v<Value, Uuid>) {
            if (changesByItself(path) || same(before, after))
                return;
            differences.push_back({path, key, member, text(before, path), text(after, path)});
        }
    }

    template <typename Element>
    void compare(const std::vector<Element>& before, const std::vector<Element>& after, const std::string& path,
                 const std::string& key, const std::string& member)
    {
        if constexpr (!FieldRecord<Element>) {
            if (!std::ranges::equal(before, after, [&](const Element& a, const Element& b) { return same(a, b); }))
                differences.push_back({path, key, member, joined(before, path), joined(after, path)});
        } else {
            const std::vector<std::string> beforeKeys = memberKeys(before);
            const std::vector<std::string> afterKeys = memberKeys(after);
            const auto at = [&](const std::string& name) { return key + "[" + name + "]"; };
            for (std::size_t index = 0; index < before.size(); ++index) {
                const std::string& name = beforeKeys[index];
                const auto match = std::ranges::find(afterKeys, name);
                if (match == afterKeys.end())
                    differences.push_back({path, at(name), name, summary(before[index], path, name), std::nullopt});
                else
                    compare(before[index], after[std::size_t(match - afterKeys.begin())], path, at(name), name);
            }
            for (std::size_t index = 0; index < after.size(); ++index) {
                const std::string& name = afterKeys[index];
                if (std::ranges::find(beforeKeys, name) == beforeKeys.end())
                    differences.push_back({path, at(name), name, std::nullopt, summary(after[index], path, name)});
            }
        }
    }

private:
    static bool same(const std::string& a, const std::string& b) { return canonicallyEqual(a, b); }
    template <typename Value>
    static bool same(const Value& a, const Value& b)
    {
        return a == b;
    }

    std::string text(const std::string& value, std::string_view path) const
    {
        const std::string line = displayLine(value, kLongestValue);
        return masked_ && isIdentifierField(path) && !line.empty() ? maskedIdentifier(line) : line;
    }
    static std::string text(bool value, std::string_view) { return value ? "true" : "false"; }
    static std::string text(std::int64_t value, std::string_view) { return std::to_string(value); }

    template <typename Element>
    std::string joined(const std::vector<Element>& list, std::string_view path) const
    {
        std::string out;
        for (const Element& element : list)
            out += (out.empty() ? "" : ", ") + text(element, path);
        return out;
    }

    // A member's shown values in one line, in field order, its key left out (the key
    // alone when it shows nothing else).
    template <FieldRecord Element>
    std::string summary(const Element& element, std::string_view path, const std::string& key) const
    {
        std::string out;
        forEachField(element, [&]<typename Value>(std::string_view name, const Value& value) {
            if constexpr (isScalarField<Value> && !std::is_same_v<Value, Uuid>) {
                const std::string shown = text(value, fieldPath(path, name));
                if (name != keyField<Element>() && !veltrinShouldHideField(shown))
                    out += (out.empty() ? "" : ", ") + shown;
            }
        });
        return out.empty() ? key : out;
    }

    // The first of kMemberKeyFields the member's record has; empty when it has none.
    template <FieldRecord Element>
    static constexpr std::string_view keyField()
    {
        for (const std::string_view candidate : kMemberKeyFields)
            for (const std::string_view name : Element::fieldNames)
                if (name == candidate)
                    return name;
        return {};
    }

    // Each member's key: the text of its key field, "#<position>" when it has none
    // or it is empty; the same key again gets " #2", " #3" ….
    template <FieldRecord Element>
    static std::vector<std::string> memberKeys(const std::vector<Element>& list)
    {
        std::vector<std::string> keys;
        std::map<std::string, int> seen;
        for (std::size_t index = 0; index < list.size(); ++index) {
            std::string name;
            forEachField(list[index], [&]<typename Value>(std::string_view field, const Value& value) {
                if constexpr (std::is_same_v<Value, std::string>)
                    if (field == keyField<Element>())
                        name = displayLine(trimmed(value), 256);
            });
            if (name.empty())
                name = "#" + std::to_string(index + 1);
            const int count = ++seen[name];
            keys.push_back(count == 1 ? name : name + " #" + std::to_string(count));
        }
        return keys;
    }

    bool masked_;
};

std::string shownOrPlaceholder(const std::optional<std::string>& value)
{
    if (!value)
        return "(none)";
    return value->empty() ? "(empty)" : *value;
}

std::string jsonOrNull(const std::optional<std::string>& value) { return value ? jsonString(*value) : "null"; }

} // namespace

std::vector<SnapshotDifference> snapshotDifferences(const SystemSnapshot& before, const SystemSnapshot& after,
                                                    bool masked)
{
    Comparison comparison(masked);
    comparison.compare(before, after, {}, {}, {});
    return std::move(comparison.differences);
}

std::string differenceLabel(const SnapshotDifference& difference)
{
    const std::string label(labelOf(difference.path));
    if (difference.member.empty())
        return label;
    const bool wholeMember = !difference.before || !difference.after;
    const std::string list = wholeMember ? difference.path : difference.path.substr(0, difference.path.rfind('.'));
    const std::string memberName = list == difference.area() ? difference.member
                                                             : std::string(labelOf(list)) + " \u203A " + difference.member;
    return wholeMember ? memberName : memberName + " \u203A " + label;
}

std::string differenceLines(const std::vector<SnapshotDifference>& differences)
{
    std::string out;
    for (const SnapshotDifference& difference : differences)
        out += difference.key + ": " + shownOrPlaceholder(difference.before) + " \u2192 " +
               shownOrPlaceholder(difference.after) + "\n";
    return out;
}

std::string differencesJson(const std::vector<SnapshotDifference>& differences)
{
    std::string out = "{\"differences\":[";
    for (std::size_t index = 0; index < differences.size(); ++index) {
        const SnapshotDifference& difference = differences[index];
        out += (index == 0 ? "" : ",");
        out += "{\"area\":" + jsonString(difference.area()) + ",\"field\":" + jsonString(difference.key) +
               ",\"old\":" + jsonOrNull(difference.before) + ",\"new\":" + jsonOrNull(difference.after) + "}";
    }
    return out + "]}";
}

} // namespace veltrin
