#include "state/bench_history.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace veltrin;

namespace {

BenchHistoryEntry entry(std::int64_t single, const char* date = "2025-03-01T10:15:00Z")
{
    return {date,
            "1.6",
            single,
            single * 7,
            0.84,
            2.46,
            8,
            "MacPro7,1",
            {{0.973125, false}, {1.5, true}},
            {{1.2, false}, {0.3, true}}};
}

BenchRun runScoring(std::int64_t single, std::int64_t multi, int threadsRan)
{
    BenchRun run;
    run.result.singleThread = single;
    run.result.multiThread = multi;
    run.details.threadsRan = threadsRan;
    return run;
}

class BenchHistory : public ::testing::Test {
protected:
    QString path() const { return folder_.filePath(QStringLiteral("Veltrin/bench-history.json")); }
    BenchHistoryFile history(bool writable = true, std::size_t mostRuns = BenchHistoryFile::kMostRuns) const
    {
        return BenchHistoryFile(path().toStdString(), writable, mostRuns);
    }
    void write(const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Every file set aside beside the history, by name.
    QStringList setAside() const
    {
        return QDir(QFileInfo(path()).absolutePath())
            .entryList({QStringLiteral("bench-history.json.damaged-*")}, QDir::AllEntries | QDir::System);
    }
    QByteArray contentOf(const QString& name) const
    {
        QFile file(QFileInfo(path()).absoluteDir().filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir folder_;
};

TEST_F(BenchHistory, KeepsEveryRecordedRunInOrderAcrossReads)
{
    EXPECT_TRUE(history().read().runs.empty()) << "no file yet";
    ASSERT_TRUE(history().append(entry(1200)).problem.empty());
    const BenchHistoryRead after = history().append(entry(1300, "2025-03-02T08:00:00Z"));
    EXPECT_TRUE(after.problem.empty()) << after.problem;
    const std::vector<BenchHistoryEntry> both{entry(1200), entry(1300, "2025-03-02T08:00:00Z")};
    EXPECT_EQ(after.runs, both);
    EXPECT_EQ(history().read().runs, both) << "every field, rounds and exact times included, survives the file";
}

TEST_F(BenchHistory, KeepsOnlyTheMostRecentRuns)
{
    for (std::int64_t single = 1; single <= 5; ++single)
        history(true, 3).append(entry(single));
    std::vector<std::int64_t> kept;
    for (const BenchHistoryEntry& run : history().read().runs)
        kept.push_back(run.singleThread);
    EXPECT_EQ(kept, (std::vector<std::int64_t>{3, 4, 5}));
}

// Whatever lies where the history should be, it is reported once, moved aside
// with its content intact, and a new history begins.
TEST_F(BenchHistory, SetsADamagedOrForeignFileAsideAndReportsItOnce)
{
    const QByteArray valid = QByteArray::fromStdString(benchHistoryJson({entry(1)}));
    QByteArray badRun = valid;
    badRun.replace("\"threads\":8", "\"threads\":\"eight\"");
    ASSERT_NE(badRun, valid);
    const std::pair<const char*, QByteArray> cases[] = {
        {"truncated", valid.left(valid.size() / 2)},
        {"not JSON", "GIF89a\x01\x00"},
        {"another program's JSON", R"({"name":"benchmarks","runs":[]})"},
        {"a list", "[1, 2, 3]"},
        {"a newer format", R"({"format":"veltrin-bench-history","version":2,"runs":[]})"},
        {"a malformed run", badRun},
        {"far too large", QByteArray(BenchHistoryFile::kLargestFile + 1, ' ')},
    };
    for (const auto& [name, bytes] : cases) {
        write(bytes);
        const BenchHistoryRead first = history().read();
        EXPECT_TRUE(first.runs.empty()) << name;
        ASSERT_EQ(setAside().size(), 1) << name;
        EXPECT_NE(first.problem.find("moved to " + QFileInfo(path()).absoluteDir().filePath(setAside()[0]).toStdString()),
                  std::string::npos)
            << name << ": " << first.problem;
        EXPECT_EQ(contentOf(setAside()[0]), bytes) << name << ": the file is kept as it was";
        EXPECT_FALSE(QFileInfo::exists(path())) << name;

        const BenchHistoryRead again = history().append(entry(7));
        EXPECT_TRUE(again.problem.empty()) << name << ": reported once only, not again";
        EXPECT_EQ(again.runs, std::vector<BenchHistoryEntry>{entry(7)}) << name;
        ASSERT_TRUE(QFile::remove(path()));
        ASSERT_TRUE(QFile::remove(QFileInfo(path()).absoluteDir().filePath(setAside()[0])));
    }
}

TEST_F(BenchHistory, AFolderInTheWayIsMovedAsideToo)
{
    ASSERT_TRUE(QDir().mkpath(path() + QStringLiteral("/inside")));
    const BenchHistoryRead read = history().append(entry(3));
    EXPECT_NE(read.problem.find("not a regular file"), std::string::npos) << read.problem;
    EXPECT_EQ(read.runs, std::vector<BenchHistoryEntry>{entry(3)});
    ASSERT_EQ(setAside().size(), 1);
    EXPECT_TRUE(QFileInfo(QFileInfo(path()).absoluteDir().filePath(setAside()[0]) + "/inside").isDir());
}

TEST_F(BenchHistory, AReadOnlyHistoryReportsDamageButMovesNothing)
{
    write("not a history");
    for (int read = 0; read < 2; ++read) {
        const BenchHistoryRead result = history(false).read();
        EXPECT_TRUE(result.runs.empty());
        EXPECT_NE(result.problem.find("could not be read"), std::string::npos) << result.problem;
    }
    EXPECT_TRUE(history(false).append(entry(1)).runs.empty());
    EXPECT_TRUE(setAside().isEmpty());
    EXPECT_EQ(contentOf(QStringLiteral("bench-history.json")), QByteArray("not a history"));
}

TEST_F(BenchHistory, AppendsFromTwoThreadsAtOnceLoseNothing)
{
    const auto appendTen = [this](std::int64_t first) {
        for (std::int64_t single = first; single < first + 10; ++single)
            history().append(entry(single));
    };
    std::thread one(appendTen, 100);
    std::thread two(appendTen, 200);
    one.join();
    two.join();
    EXPECT_EQ(history().read().runs.size(), 20u);
}

TEST(BenchHistoryRecording, RecordsOnlyRunsThatScoredInBothSeries)
{
    const std::pair<BenchRun, bool> cases[] = {
        {runScoring(1200, 8000, 8), true},
        {runScoring(1200, 0, 0), false},
        {runScoring(0, 0, 0), false},
        {runScoring(1200, 900, 1), true},
    };
    for (const auto& [run, recorded] : cases)
        EXPECT_EQ(isWorthRecording(run), recorded) << run.result.multiThread;
}

TEST(BenchHistoryTable, AlignsOneRunPerLineUnderItsHeader)
{
    BenchHistoryEntry wide = entry(98765, "2025-12-31T23:59:30Z");
    wide.model = "Intel(R) Xeon(R) W-3245 CPU @ 3.20GHz";
    wide.multiCV = 12.34;
    EXPECT_EQ(benchHistoryTable({entry(1200), wide}),
              "Date (UTC)        Version  Single  Multi   Single CV  Multi CV  Threads  Model\n"
              "2025-03-01 10:15  1.6      1200    8400    0.8%       2.5%      8        MacPro7,1\n"
              "2025-12-31 23:59  1.6      98765   691355  0.8%       12.3%     8        "
              "Intel(R) Xeon(R) W-3245 CPU @ 3.20GHz\n");
}

} // namespace
