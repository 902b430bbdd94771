#include "core/identifiers.h"
#include "core/records.h"
#include "core/unicode_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace veltrin;

namespace {

std::string bullets(int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "\u2022";
    return out;
}

} // namespace

TEST(Identifiers, MaskedValuesKeepTheirLastFourCharactersAndOnlyWhetherTheyAreShortOrLong)
{
    const std::pair<std::string, std::string> cases[] = {
        {"C02XG2JHJG5H", bullets(8) + "JG5H"},                          // a Mac's serial: 12 characters
        {"  FVFF91M9Q6L8\n", bullets(8) + "Q6L8"},                       // as a tool printed it
        {"M80-D5003600421", bullets(16) + "0421"},                        // a board's, longer
        {"AF9C6236-E2E7-5B73-A553-619C3411576C", bullets(16) + "576C"},   // a UUID
        {"12345678", bullets(8) + "5678"},
        {"1234567", bullets(8)},                                         // too short to keep any
        {"S\u00e9rie-\u00e9t\u00e9-42", bullets(8) + "\u00e9-42"},       // characters, not bytes
    };
    for (const auto& [value, masked] : cases)
        EXPECT_EQ(maskedIdentifier(value), masked) << value;
}

// A field named like a serial, a UUID or an address must be on the list, and every
// entry on it must name a field the snapshot has.
TEST(Identifiers, ListEveryFieldNamedLikeOneAndNothingElse)
{
    const std::vector<FieldShape> shapes = fieldShapes<SystemSnapshot>();
    for (const FieldShape& shape : shapes) {
        const std::string name = lowercased(shape.path.substr(shape.path.rfind('.') + 1));
        const bool looksLikeOne = shape.kind == FieldKind::value &&
                                  (contains(name, "serial") || contains(name, "uuid") || contains(name, "address"));
        EXPECT_EQ(isIdentifierField(shape.path), looksLikeOne) << shape.path;
    }
    for (const std::string_view path : kIdentifierFields)
        EXPECT_TRUE(std::ranges::any_of(shapes, [&](const FieldShape& shape) { return shape.path == path; })) << path;
}

TEST(RecordFields, ShapesWalkEveryRecordAndListMemberDepthFirst)
{
    const std::vector<FieldShape> shapes = fieldShapes<SystemSnapshot>();
    const auto kindOf = [&](std::string_view path) {
        const auto found = std::ranges::find(shapes, path, &FieldShape::path);
        return found == shapes.end() ? std::optional<FieldKind>() : found->kind;
    };
    EXPECT_EQ(shapes.front().path, "cpu");
    EXPECT_EQ(kindOf("cpu"), FieldKind::record);
    EXPECT_EQ(kindOf("cpu.clusters"), FieldKind::list);
    EXPECT_EQ(kindOf("cpu.clusters.l2"), FieldKind::value);
    EXPECT_EQ(kindOf("cpu.translated"), FieldKind::value);
    EXPECT_EQ(kindOf("memory.modules.id"), FieldKind::identity);
    EXPECT_EQ(kindOf("gpus.displays"), FieldKind::value);
    // Depth first: a list's member fields follow the list, before the record's next field.
    const auto at = [&](std::string_view path) { return std::ranges::find(shapes, path, &FieldShape::path) - shapes.begin(); };
    EXPECT_EQ(at("cpu.clusters.name"), at("cpu.clusters") + 1);
    EXPECT_LT(at("cpu.clusters.l2"), at("cpu.translated"));
    EXPECT_LT(at("memory.modules.part"), at("gpus"));
}
