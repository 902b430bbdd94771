#pragma once

// A record names its fields once: VELTRIN_FIELDS(a, b, c) inside the record gives
// `fieldNames` (each member's own name, in order) and `fields()` (the members,
// tied in that order), both from that one list, so the two cannot disagree.
// `listsEveryMember<Record>()` then checks at compile time that the list holds
// every member of the record, so a member added without being listed (and so
// missing from the JSON and from equality) does not build.

#include "core/uuid.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace veltrin {

constexpr std::size_t fieldCount(std::string_view list)
{
    std::size_t count = 1;
    for (const char c : list)
        count += c == ',' ? 1 : 0;
    return count;
}

// "a, b,c" split at its commas, each name without the blanks around it.
template <std::size_t N>
constexpr std::array<std::string_view, N> fieldNameList(std::string_view list)
{
    std::array<std::string_view, N> names{};
    std::size_t index = 0;
    while (index < N) {
        const std::size_t comma = list.find(',');
        std::string_view name = list.substr(0, comma);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\n'))
            name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\n'))
            name.remove_suffix(1);
        names[index++] = name;
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return names;
}

namespace detail {

// Stands for any member in an unevaluated aggregate initialisation.
struct AnyMember {
    template <typename T>
    operator T() const;
};

// How many initialisers the aggregate takes: one per member.
template <typename Record, typename... Members>
constexpr std::size_t memberCount()
{
    if constexpr (requires { Record{Members{}..., AnyMember{}}; })
        return memberCount<Record, Members..., AnyMember>();
    else
        return sizeof...(Members);
}

} // namespace detail

template <typename Record>
constexpr bool listsEveryMember()
{
    return Record::fieldNames.size() == detail::memberCount<Record>() &&
           Record::fieldNames.size() == std::tuple_size_v<decltype(std::declval<const Record&>().fields())>;
}

// A record is anything that names its fields with VELTRIN_FIELDS.
template <typename Value>
concept FieldRecord = requires(const Value& value) {
    Value::fieldNames;
    value.fields();
};

template <typename Value>
struct IsFieldList : std::false_type {};
template <typename Element>
struct IsFieldList<std::vector<Element>> : std::true_type {
    using ElementType = Element;
};
template <typename Value>
inline constexpr bool isFieldList = IsFieldList<Value>::value;

// A field that is neither a record nor a list: text, a number, a flag or an id.
template <typename Value>
inline constexpr bool isScalarField = !FieldRecord<Value> && !isFieldList<Value>;

// Calls visit(name, member) for each field of `record` in declaration order; the
// members are const exactly when `record` is.
template <typename Record, typename Visit>
void forEachField(Record& record, Visit&& visit)
{
    using Plain = std::remove_const_t<Record>;
    auto fields = record.fields();
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (visit(Plain::fieldNames[I], std::get<I>(fields)), ...);
    }(std::make_index_sequence<Plain::fieldNames.size()>{});
}

// Calls visit(name, left, right) for each field of two records of one type.
template <typename Record, typename Visit>
void forEachFieldPair(const Record& left, const Record& right, Visit&& visit)
{
    const auto a = left.fields();
    const auto b = right.fields();
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (visit(Record::fieldNames[I], std::get<I>(a), std::get<I>(b)), ...);
    }(std::make_index_sequence<Record::fieldNames.size()>{});
}

// Where a field sits in a snapshot: its record path ("mainboard.serial"), the
// members of a list named without an index ("memory.modules.bank").
inline std::string fieldPath(std::string_view parent, std::string_view name)
{
    return parent.empty() ? std::string(name) : std::string(parent) + "." + std::string(name);
}

// What a field holds, as far as walking a snapshot cares.
enum class FieldKind { value, identity, record, list };

struct FieldShape {
    std::string path;
    FieldKind kind;
};

// Every field of `Record` below `parent`, depth first in declaration order: each
// field itself, then, for a record or a list of records, the fields inside.
template <typename Record>
void appendFieldShapes(std::string_view parent, std::vector<FieldShape>& shapes)
{
    const auto visit = [&]<typename Value>(std::string_view name, const Value*) {
        const std::string path = fieldPath(parent, name);
        if constexpr (FieldRecord<Value>) {
            shapes.push_back({path, FieldKind::record});
            appendFieldShapes<Value>(path, shapes);
        } else if constexpr (isFieldList<Value>) {
            shapes.push_back({path, FieldKind::list});
            if constexpr (FieldRecord<typename IsFieldList<Value>::ElementType>)
                appendFieldShapes<typename IsFieldList<Value>::ElementType>(path, shapes);
        } else {
            shapes.push_back({path, std::is_same_v<Value, Uuid> ? FieldKind::identity : FieldKind::value});
        }
    };
    using Fields = decltype(std::declval<const Record&>().fields());
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (visit(Record::fieldNames[I], static_cast<const std::remove_cvref_t<std::tuple_element_t<I, Fields>>*>(nullptr)),
         ...);
    }(std::make_index_sequence<Record::fieldNames.size()>{});
}

template <typename Record>
std::vector<FieldShape> fieldShapes()
{
    std::vector<FieldShape> shapes;
    appendFieldShapes<Record>({}, shapes);
    return shapes;
}

} // namespace veltrin

#define VELTRIN_FIELDS(...)                                                                                          \
    static constexpr auto fieldNames = ::veltrin::fieldNameList<::veltrin::fieldCount(#__VA_ARGS__)>(#__VA_ARGS__);  \
    auto fields() const { return std::tie(__VA_ARGS__); }                                                            \
    auto fields() { return std::tie(__VA_ARGS__); }
