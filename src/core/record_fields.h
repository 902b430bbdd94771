#pragma once

// A record names its fields once: VELTRIN_FIELDS(a, b, c) inside the record gives
// `fieldNames` (each member's own name, in order) and `fields()` (the members,
// tied in that order), both from that one list, so the two cannot disagree.
// `listsEveryMember<Record>()` then checks at compile time that the list holds
// every member of the record, so a member added without being listed (and so
// missing from the JSON and from equality) does not build.

#include <array>
#include <cstddef>
#include <string_view>
#include <tuple>
#include <utility>

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

} // namespace veltrin

#define VELTRIN_FIELDS(...)                                                                                          \
    static constexpr auto fieldNames = ::veltrin::fieldNameList<::veltrin::fieldCount(#__VA_ARGS__)>(#__VA_ARGS__);  \
    auto fields() const { return std::tie(__VA_ARGS__); }                                                            \
    auto fields() { return std::tie(__VA_ARGS__); }
