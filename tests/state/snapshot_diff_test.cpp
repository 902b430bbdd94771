#include "core/json.h"
#include "state/snapshot_diff.h"
#include "state/snapshot_file.h"

#include "qt_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace veltrin;
using veltrin::testing::capturePath;
using veltrin::testing::capturedSnapshot;

namespace {

std::vector<std::string> keysOf(const std::vector<SnapshotDifference>& differences)
{
    std::vector<std::string> keys;
    for (const SnapshotDifference& difference : differences)
        keys.push_back(difference.key);
    return keys;
}

MemoryModule module(const char* bank, const char* size) { return MemoryModule{.bank = bank, .size = size, .type = "DDR4"}; }

} // namespace

TEST(SnapshotDiff, TwoReadingsOfOneMachineAreTheSameWhateverTheirIds)
{
    const SystemSnapshot first = capturedSnapshot("long-values-composite");
    const SystemSnapshot second = capturedSnapshot("long-values-composite");
    ASSERT_FALSE(first.memory.modules.empty());
    EXPECT_FALSE(first.memory.modules[0] == second.memory.modules[0]); // fresh ids
    EXPECT_TRUE(snapshotDifferences(first, second, true).empty());
}

TEST(SnapshotDiff, MatchesMembersByBankOrNameNeverByPosition)
{
    SystemSnapshot before;
    before.memory.modules = {module("BANK 0", "8 GB"), module("BANK 1", "8 GB"), module("BANK 2", "8 GB")};
    before.gpus = {GPUInfo{.name = "Intel UHD Graphics 630", .vram = "1536 MB"}, GPUInfo{.name = "Radeon Pro 560X"}};
    before.cpu.clusters = {CPUCluster{"Performance", "8", "192 KB", "128 KB", "16 MB"}};
    SystemSnapshot after = before;
    // The same modules in another order, one upgraded, one gone, one added; the adapters swapped.
    after.memory.modules = {module("BANK 2", "8 GB"), module("BANK 0", "16 GB"), module("BANK 3", "32 GB")};
    after.gpus = {GPUInfo{.name = "Radeon Pro 560X"}, GPUInfo{.name = "Intel UHD Graphics 630", .vram = "1536 MB"}};
    after.cpu.clusters[0].l2 = "24 MB";
    const auto differences = snapshotDifferences(before, after, true);
    EXPECT_EQ(keysOf(differences),
              (std::vector<std::string>{"cpu.clusters[Performance].l2", "memory.modules[BANK 0].size",
                                        "memory.modules[BANK 1]", "memory.modules[BANK 3]"}));
    ASSERT_EQ(differences.size(), 4u);
    EXPECT_EQ(differences[1].before, "8 GB");
    EXPECT_EQ(differences[1].after, "16 GB");
    EXPECT_EQ(differences[2].before, "8 GB, DDR4"); // the member's values, its key left out
    EXPECT_EQ(differences[2].after, std::nullopt);
    EXPECT_EQ(differences[3].before, std::nullopt);
    EXPECT_EQ(differenceLabel(differences[0]), "Clusters \u203A Performance \u203A L2");
    EXPECT_EQ(differenceLabel(differences[2]), "Modules \u203A BANK 1");
    EXPECT_EQ(differenceLines(differences),
              "cpu.clusters[Performance].l2: 16 MB \u2192 24 MB\n"
              "memory.modules[BANK 0].size: 8 GB \u2192 16 GB\n"
              "memory.modules[BANK 1]: 8 GB, DDR4 \u2192 (none)\n"
              "memory.modules[BANK 3]: (none) \u2192 32 GB, DDR4\n");
}

TEST(SnapshotDiff, CountsTheSameNameTwiceAndFallsBackToPositionWithoutOne)
{
    SystemSnapshot before;
    before.gpus = {GPUInfo{.name = "Radeon RX 580", .vram = "8 GB"}, GPUInfo{.name = "Radeon RX 580", .vram = "4 GB"},
                   GPUInfo{.vram = "2 GB"}};
    SystemSnapshot after = before;
    after.gpus[1].vram = "8 GB";
    after.gpus[2].vram = "1 GB";
    const auto differences = snapshotDifferences(before, after, true);
    EXPECT_EQ(keysOf(differences), (std::vector<std::string>{"gpus[Radeon RX 580 #2].vram", "gpus[#3].vram"}));
    ASSERT_FALSE(differences.empty());
    EXPECT_EQ(differenceLabel(differences[0]), "Radeon RX 580 #2 \u203A VRAM / Cores");
    EXPECT_EQ(differences[0].area(), "gpus");
}

TEST(SnapshotDiff, IgnoresWhatChangesByItselfAndMasksIdentifiers)
{
    SystemSnapshot before;
    before.mainboard.uptime = "3 days";
    before.memory.used = "11.2 GB";
    before.memory.pressure = "62%";
    before.mainboard.macSerial = "C02XG2JHJG5H";
    before.cpu.name = "Caf\u00e9";
    SystemSnapshot after = before;
    after.mainboard.uptime = "4 days";
    after.memory.used = "9.8 GB";
    after.memory.pressure = "71%";
    after.mainboard.macSerial = "C02ZZ1JHKX3Q";
    after.cpu.name = "Cafe\u0301"; // the same characters, decomposed
    after.cpu.translated = true;

    const auto masked = snapshotDifferences(before, after, true);
    EXPECT_EQ(keysOf(masked), (std::vector<std::string>{"cpu.translated", "mainboard.macSerial"}));
    EXPECT_EQ(differencesJson(masked),
              "{\"differences\":[{\"area\":\"cpu\",\"field\":\"cpu.translated\",\"old\":\"false\",\"new\":\"true\"},"
              "{\"area\":\"mainboard\",\"field\":\"mainboard.macSerial\",\"old\":\"\u2022\u2022\u2022\u2022\u2022\u2022"
              "\u2022\u2022JG5H\",\"new\":\"\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022KX3Q\"}]}");
    EXPECT_EQ(snapshotDifferences(before, after, false)[1].after, "C02ZZ1JHKX3Q");
}

TEST(SnapshotFile, ReadsBackWhatJsonWroteAndWhatAnOlderVeltrinWrote)
{
    const SystemSnapshot original = capturedSnapshot("m3max-12p4e-rosetta");
    const SnapshotRead read = snapshotFromJson(toJson(original));
    ASSERT_TRUE(read.snapshot) << read.problem;
    EXPECT_TRUE(snapshotDifferences(original, *read.snapshot, false).empty());
    EXPECT_EQ(read.snapshot->cpu.clusters.size(), 2u);
    EXPECT_TRUE(read.snapshot->cpu.translated);

    // Before the schema's version, clusters and the OpenCore fields: those read as empty.
    const SnapshotRead older =
        snapshotFromJson(R"({"cpu":{"name":"Intel(R) Core(TM) i7-8750H"},"mainboard":{"serial":"C0"},)"
                         R"("memory":{"total":"16 GB","modules":[{"id":"x","bank":"BANK 0"}]},"gpus":[]})");
    ASSERT_TRUE(older.snapshot) << older.problem;
    EXPECT_EQ(older.snapshot->cpu.name, "Intel(R) Core(TM) i7-8750H");
    EXPECT_EQ(older.snapshot->memory.modules.at(0).bank, "BANK 0");
    EXPECT_TRUE(older.snapshot->cpu.clusters.empty());
    EXPECT_EQ(older.snapshot->mainboard.opencoreVersion, "");
}

TEST(SnapshotFile, SaysWhyWhatItReadsIsNoSnapshot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"{\"cpu\":", "not Veltrin's JSON: it is not valid JSON ("},
        {"[1, 2]", "not Veltrin's JSON: it is not a JSON object"},
        {R"({"format":"veltrin-bench-history","version":1,"runs":[]})",
         "not Veltrin's JSON: it holds none of a snapshot's areas (cpu, mainboard, memory, gpus, boot)"},
        {R"({"cpu":{"name":7}})", "not Veltrin's JSON: its cpu.name is not a string"},
        {R"({"cpu":{"translated":"yes"}})", "not Veltrin's JSON: its cpu.translated is not true or false"},
        {R"({"memory":{"modules":[{},{"bank":[]}]}})", "not Veltrin's JSON: its memory.modules[1].bank is not a string"},
        {R"({"gpus":{}})", "not Veltrin's JSON: its gpus is not a list"},
        {R"({"cpu":{},"schemaVersion":2})", "not Veltrin's JSON: it was written by a newer Veltrin (schema version 2)"},
        {R"({"cpu":{},"schemaVersion":"1"})", "not Veltrin's JSON: its schemaVersion is not a version number"},
    };
    for (const auto& [text, problem] : cases) {
        const SnapshotRead read = snapshotFromJson(text);
        EXPECT_FALSE(read.snapshot) << text;
        EXPECT_EQ(read.problem.rfind(problem, 0), 0u) << text << ": " << read.problem;
    }
}

TEST(SnapshotFile, TellsACaptureFolderFromAnyOtherFolderOrFile)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const std::string folder = scratch.path().toStdString();
    const SnapshotRead empty = readSnapshot(folder);
    EXPECT_EQ(empty.problem, folder + " is not a capture folder: it holds no file a capture writes");
    EXPECT_EQ(readSnapshot(folder + "/missing.json").problem, folder + "/missing.json does not exist");

    // A capture with only its graphics report is one.
    EXPECT_TRUE(readSnapshot(capturePath("imacpro1-1-vega64")).snapshot);
    QFile json(scratch.filePath(QStringLiteral("snapshot.json")));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(QByteArray::fromStdString(toJson(capturedSnapshot("imacpro1-1-vega64"))));
    json.close();
    const SnapshotRead written = readSnapshot(json.fileName().toStdString());
    ASSERT_TRUE(written.snapshot) << written.problem;
    EXPECT_EQ(written.snapshot->gpus.at(0).name, "Radeon Pro Vega 64");
    const std::string sysctl = capturePath("long-values-composite") + "/sysctl.txt";
    EXPECT_EQ(readSnapshot(sysctl).problem.rfind(sysctl + " is not Veltrin's JSON: it is not valid JSON", 0), 0u);
}
