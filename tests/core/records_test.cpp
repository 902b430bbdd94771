#include "core/json.h"
#include "core/records.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

using namespace veltrin;

TEST(Records, CompareStringsByCanonicalEquivalence)
{
    CPUInfo composed{"Caf\u00e9", "v", "a", "1", "2", "f", "1", "2", "3", "4", "x"};
    CPUInfo decomposed = composed;
    decomposed.name = "Cafe\u0301";
    EXPECT_EQ(composed, decomposed);
    decomposed.features = "y";
    EXPECT_NE(composed, decomposed);
}

TEST(Records, IdentifiableRecordsGetAFreshIdentityPerConstruction)
{
    const GPUInfo first{.name = "Radeon", .chipset = "Radeon"};
    const GPUInfo second{.name = "Radeon", .chipset = "Radeon"};
    EXPECT_NE(first, second);
    const GPUInfo copy = first;
    EXPECT_EQ(first, copy);

    MemoryInfo a{"16 GB", "DDR4", "2400 MHz", "2 populated", "", "", {MemoryModule{.bank = "BANK 0"}}};
    MemoryInfo b = a;
    EXPECT_EQ(a, b);
    b.modules = {MemoryModule{.bank = "BANK 0"}};
    EXPECT_NE(a, b);
}

TEST(Records, IdentitiesAreRandomVersionFourUuids)
{
    const std::regex form("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string text = Uuid::random().toString();
        EXPECT_TRUE(std::regex_match(text, form)) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST(Records, BenchResultsCompareScoresAndTexts)
{
    const BenchResult ready{0, 0, "Ready", "", "", "", "", ""};
    BenchResult running = ready;
    EXPECT_EQ(ready, running);
    running.status = "Running\u2026";
    EXPECT_NE(ready, running);
}

TEST(Json, WritesEveryFieldInDeclarationOrder)
{
    SystemSnapshot snapshot;
    snapshot.cpu.name = "Apple M2 \"Max\"\n";
    snapshot.memory.modules.push_back(MemoryModule{.bank = "BANK 0", .size = "8 GB"});
    snapshot.gpus.push_back(GPUInfo{.name = "Caf\u00e9 \u2014 GPU"});
    const std::string json = toJson(snapshot);

    EXPECT_EQ(json.rfind("{\"cpu\":{\"name\":\"Apple M2 \\\"Max\\\"\\n\",\"vendor\":\"\"", 0), 0u);
    EXPECT_NE(json.find("\"modules\":[{\"id\":\"" + snapshot.memory.modules[0].id.toString() +
                        "\",\"bank\":\"BANK 0\",\"size\":\"8 GB\""),
              std::string::npos);
    EXPECT_NE(json.find("\"name\":\"Caf\u00e9 \u2014 GPU\""), std::string::npos);
    EXPECT_LT(json.find("\"mainboard\""), json.find("\"memory\""));
    EXPECT_LT(json.find("\"memory\""), json.find("\"gpus\""));
    EXPECT_NE(json.find("\"detectionNotes\":\"\",\"opencoreVersion\":\"\",\"legacyPatcherVersion\":\"\","
                        "\"originalModel\":\"\",\"boardSource\":\"\"}"),
              std::string::npos);

    const BenchResult result{12, 345, "Complete", "2 threads", "s", "t", "m", "x"};
    EXPECT_EQ(toJson(result), "{\"singleThread\":12,\"multiThread\":345,\"status\":\"Complete\",\"threads\":"
                              "\"2 threads\",\"stability\":\"s\",\"singleTime\":\"t\",\"multiTime\":\"m\",\"method\":\"x\"}");
    EXPECT_EQ(jsonString(std::string("a\x01", 2)), "\"a\\u0001\"");
}
