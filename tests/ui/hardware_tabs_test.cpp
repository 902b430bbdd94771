#include "state/system_info_store.h"
#include "ui/card_grid.h"
#include "ui/hardware_tabs.h"
#include "ui/pill.h"
#include "ui/platform_texts.h"
#include "ui/section_header.h"
#include "ui/tab_views.h"

#include "ui_test_support.h"

#include <QLabel>
#include <QSettings>

#include <filesystem>
#include <memory>
#include <set>

#include <gtest/gtest.h>

using namespace veltrin;
using namespace veltrin::testing;

namespace {

const QString kDash = QStringLiteral("\u2014");

MainboardInfo fullBoard()
{
    MainboardInfo board;
    board.manufacturer = "ASUSTeK COMPUTER INC.";
    board.model = "ROG STRIX Z490-E GAMING";
    board.boardName = "ROG STRIX Z490-E GAMING";
    board.boardID = "Base Board Asset";
    board.boardVersion = "Rev 1.xx";
    board.serial = "200771592000293";
    board.dmiSource = "External dmidecode";
    board.macModel = "iMac20,1";
    board.macModelName = "iMac";
    board.macBoardID = "Mac-CFF7D910A743CAAF";
    board.macSerial = "C02XK1JHJG5J";
    board.hardwareUUID = "7C8F3A2E-1B4D-4E6F-9A0B-2C3D4E5F6A7B";
    board.biosVendor = "American Megatrends Inc.";
    board.biosVersion = "2601";
    board.biosDate = "03/18/2021";
    board.os = "14.6.1 (23G93)";
    board.kernel = "Darwin 23.6.0";
    board.uptime = "3 days";
    board.detectionNotes = "Board data from dmidecode.";
    return board;
}

// Empties every physical board value with a different kind of placeholder.
MainboardInfo withoutPhysicalBoard(MainboardInfo board)
{
    board.manufacturer = "To Be Filled By O.E.M.";
    board.model = "";
    board.boardName = "Default string";
    board.boardID = "Unknown";
    board.boardVersion = "\u2013";
    board.serial = " n/a ";
    board.dmiSource = "";
    return board;
}

SystemSnapshot snapshotWith(MainboardInfo board)
{
    SystemSnapshot snapshot;
    snapshot.mainboard = std::move(board);
    return snapshot;
}

class MainboardTab : public ::testing::Test {
protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }
};

TEST_F(MainboardTab, ShowsOnlyTheCardsThatHaveRows)
{
    struct Case {
        const char* name;
        MainboardInfo board;
        QStringList cards;
    };
    MainboardInfo sourceOnly = withoutPhysicalBoard(fullBoard());
    sourceOnly.dmiSource = "dmidecode needs root to read the SMBIOS tables";
    MainboardInfo noFirmware = fullBoard();
    noFirmware.biosVendor = noFirmware.biosVersion = noFirmware.biosDate = "";
    noFirmware.bootROM = "Apple/EFI";
    noFirmware.smc = "Not exposed";
    MainboardInfo noNotes = fullBoard();
    noNotes.detectionNotes = "  ";
    // What a Mac without dmidecode is told: an explanation, never hidden like a placeholder value.
    MainboardInfo fallbackNotes = withoutPhysicalBoard(fullBoard());
    fallbackNotes.detectionNotes = "dmidecode not bundled/found; Mainboard only shows values that macOS exposes "
                                   "without Apple SMBIOS fallback.";

    const QStringList everything{QStringLiteral("Physical Board"), QStringLiteral("Firmware"),
                                 QStringLiteral("macOS SMBIOS"), QStringLiteral("Operating System"),
                                 QStringLiteral("Detection Notes")};
    const Case cases[] = {
        {"everything", fullBoard(), everything},
        {"no physical board", withoutPhysicalBoard(fullBoard()), everything.mid(1)},
        {"source only", sourceOnly, everything},
        {"no firmware", noFirmware, {everything[0], everything[2], everything[3], everything[4]}},
        {"no notes", noNotes, everything.mid(0, 4)},
        {"notes that mention the SMBIOS fallback", fallbackNotes, everything.mid(1)},
        {"nothing known", initialMainboardInfo(), {everything[2], everything[3]}},
    };
    for (const Case& c : cases) {
        auto store = publishedStore(snapshotWith(c.board));
        MainboardTabView view(*store);
        EXPECT_EQ(cardTitles(&view), c.cards) << c.name;
    }
}

TEST_F(MainboardTab, PhysicalBoardRowsHidePlaceholdersOneByOne)
{
    MainboardInfo board = fullBoard();
    board.serial = "to be filled by o.e.m.";
    board.boardID = "";
    auto store = publishedStore(snapshotWith(board));
    MainboardTabView view(*store);
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("Physical Board"))),
              (std::vector<ShownRow>{{"Manufacturer", "ASUSTeK COMPUTER INC."},
                                     {"Model", "ROG STRIX Z490-E GAMING"},
                                     {"Board Product", "ROG STRIX Z490-E GAMING"},
                                     {"Board Version", "Rev 1.xx"},
                                     {"Source", "External dmidecode"}}));

    MainboardInfo sourceOnly = withoutPhysicalBoard(fullBoard());
    sourceOnly.dmiSource = "dmidecode needs root";
    auto other = publishedStore(snapshotWith(sourceOnly));
    MainboardTabView sourceView(*other);
    EXPECT_EQ(rowsOf(cardTitled(&sourceView, QStringLiteral("Physical Board"))),
              (std::vector<ShownRow>{{"Source", "dmidecode needs root"}}));
}

TEST_F(MainboardTab, FirmwareMovesIntoTheFirstCellWithoutAPhysicalBoard)
{
    auto store = publishedStore(snapshotWith(withoutPhysicalBoard(fullBoard())));
    MainboardTabView view(*store);
    view.resize(1000, 1400);
    view.show();
    QCoreApplication::processEvents();
    const GlassCard* firmware = cardTitled(&view, QStringLiteral("Firmware"));
    const GlassCard* smbios = cardTitled(&view, QStringLiteral("macOS SMBIOS"));
    const GlassCard* system = cardTitled(&view, QStringLiteral("Operating System"));
    ASSERT_TRUE(firmware && smbios && system);
    // Two equal columns: Firmware left and macOS SMBIOS right on the first row.
    EXPECT_EQ(firmware->y(), smbios->y());
    EXPECT_LT(firmware->x(), smbios->x());
    EXPECT_EQ(firmware->width(), smbios->width());
    EXPECT_EQ(system->x(), firmware->x());
    EXPECT_GT(system->y(), firmware->y() + firmware->height());
}

TEST_F(MainboardTab, OpenCoreRowsAndTheBoardSourceBesideTheDmiSource)
{
    // A board named only by OpenCore's variables, no firmware tables, a Legacy Patcher build.
    MainboardInfo board = withoutPhysicalBoard(fullBoard());
    board.manufacturer = "ASRock";
    board.boardSource = "OpenCore NVRAM";
    board.biosVendor = board.biosVersion = board.biosDate = "";
    board.opencoreVersion = "0.7.4 (release, 2021-10-04)";
    board.legacyPatcherVersion = "\u2014";
    board.originalModel = "MacBookPro11,5";
    auto store = publishedStore(snapshotWith(board));
    MainboardTabView view(*store);
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("Physical Board"))),
              (std::vector<ShownRow>{{"Manufacturer", "ASRock"}, {"Source", "OpenCore NVRAM"}}));
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("Firmware"))),
              (std::vector<ShownRow>{{"OpenCore", "0.7.4 (release, 2021-10-04)"}}));
    EXPECT_EQ(rowLabels(cardTitled(&view, QStringLiteral("macOS SMBIOS"))).mid(0, 3),
              (QStringList{"Model Name", "Model ID", "Original model"}));

    board.dmiSource = "External dmidecode";
    board.legacyPatcherVersion = "0.4.5";
    auto both = publishedStore(snapshotWith(board));
    MainboardTabView bothView(*both);
    EXPECT_EQ(rowsOf(cardTitled(&bothView, QStringLiteral("Physical Board"))).back(),
              ShownRow(QStringLiteral("Source"), QStringLiteral("External dmidecode, OpenCore NVRAM")));
    EXPECT_EQ(rowsOf(cardTitled(&bothView, QStringLiteral("Firmware"))).back(),
              ShownRow(QStringLiteral("Legacy Patcher"), QStringLiteral("0.4.5")));
}

TEST_F(MainboardTab, MasksSerialAndUuidByDefault)
{
    auto store = publishedStore(snapshotWith(fullBoard()));
    MainboardTabView view(*store);
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("macOS SMBIOS"))),
              (std::vector<ShownRow>{{"Model Name", "iMac"},
                                     {"Model ID", "iMac20,1"},
                                     {"Board ID", "Mac-CFF7D910A743CAAF"},
                                     {"System UUID", QString(16, QChar(0x2022))},
                                     {"macOS Serial", QString(12, QChar(0x2022))}}));

    kHideMacOSSerial.setValue(false);
    MainboardTabView revealed(*store);
    EXPECT_EQ(rowsOf(cardTitled(&revealed, QStringLiteral("macOS SMBIOS"))).back(),
              ShownRow(QStringLiteral("macOS Serial"), QStringLiteral("C02XK1JHJG5J")));
}

TEST(HardwareTabs, RowsCarryTheirOwnFields)
{
    SystemSnapshot snapshot;
    snapshot.cpu = {"Name", "Vendor", "Architecture", "6", "12", "2.20 GHz", "L1I", "L1D", "L2 size", "L3 size",
                    "SSE"};
    snapshot.memory = {"16 GB", "DDR4", "2667 MHz", "2 populated", "Live vm_stat", "81%", {}};
    auto store = publishedStore(snapshot);

    CPUTabView cpu(*store);
    EXPECT_EQ(rowsOf(cardTitled(&cpu, QStringLiteral("Processor"))),
              (std::vector<ShownRow>{{"Name", "Name"},
                                     {"Code/Vendor", "Vendor"},
                                     {"Architecture", "Architecture"},
                                     {"Specification", "2.20 GHz"}}));
    CachesTabView caches(*store);
    EXPECT_EQ(rowsOf(cardTitled(&caches, QStringLiteral("Cache hierarchy"))),
              (std::vector<ShownRow>{{"L1 Data", "L1D"}, {"L1 Instruction", "L1I"}, {"L2", "L2 size"}, {"L3", "L3 size"}}));
    MemoryTabView memory(*store);
    EXPECT_EQ(rowsOf(cardTitled(&memory, QStringLiteral("General"))),
              (std::vector<ShownRow>{{"Size", "16 GB"},
                                     {"Type", "DDR4"},
                                     {"Speed", "2667 MHz"},
                                     {"Slots", "2 populated"},
                                     {"Usage source", "Live vm_stat"},
                                     {"Pressure", "81%"}}));
}

TEST(HardwareTabs, PillsShowPlaceholdersThatRowsHide)
{
    SystemInfoStore store([] { return SystemSnapshot{}; }, noBenchmark());
    CPUTabView view(store);
    QStringList pills;
    for (const Pill* pill : view.findChildren<Pill*>())
        pills << pill->text();
    EXPECT_EQ(pills, (QStringList{QStringLiteral("Physical cores: ") + kDash, QStringLiteral("Logical threads: ") + kDash}));
    EXPECT_EQ(rowLabels(cardTitled(&view, QStringLiteral("Processor"))), QStringList{QStringLiteral("Code/Vendor")});
}

// Apple Silicon seen by an Intel build: each kind of core beside the chip's own caches, and the pill.
TEST(HardwareTabs, AppleSiliconClustersAndRosetta)
{
    auto store = publishedStore(replayedSnapshot("m3max-12p4e-rosetta"));
    CachesTabView caches(*store);
    EXPECT_EQ(cardTitles(&caches),
              (QStringList{"Cache hierarchy", "Performance cluster", "Efficiency cluster", "Note"}));
    EXPECT_EQ(rowsOf(cardTitled(&caches, QStringLiteral("Performance cluster"))),
              (std::vector<ShownRow>{
                  {"Cores", "12"}, {"L1 Data", "128 KB"}, {"L1 Instruction", "192 KB"}, {"L2", "16 MB"}}));
    CPUTabView cpu(*store);
    EXPECT_EQ(cpu.findChildren<Pill*>().back()->text(), QStringLiteral("Running under Rosetta"));
}

// The processor's own signature in a card of its own, the kernel's view and the
// note only where the two differ; each cache level's ways and the line size
// beside its size.
TEST(HardwareTabs, SignatureAndCacheLayoutOfRealProcessors)
{
    const QString note = QStringLiteral("macOS was given another processor identity by the boot loader (CPUID "
                                        "spoofing); the values above are the processor's own.");
    const auto notes = [&](const QWidget* card) {
        int found = 0;
        for (const QLabel* label : card->findChildren<QLabel*>())
            found += label->text() == note ? 1 : 0;
        return found;
    };

    auto spoofed = publishedStore(replayedSnapshot("opencore-i9-13900kf-cpuid-spoof"));
    CPUTabView cpu(*spoofed);
    EXPECT_EQ(cardTitles(&cpu), (QStringList{"Processor", "Signature", "Instructions"}));
    const GlassCard* signature = cardTitled(&cpu, QStringLiteral("Signature"));
    EXPECT_EQ(rowsOf(signature), (std::vector<ShownRow>{{"Family", "6"},
                                                        {"Model", "7"},
                                                        {"Stepping", "1"},
                                                        {"Ext. Family", "6"},
                                                        {"Ext. Model", "B7"},
                                                        {"Kernel Signature", "Family 6, Model A5, Stepping 5"}}));
    EXPECT_EQ(notes(signature), 1);
    CachesTabView caches(*spoofed);
    EXPECT_EQ(rowsOf(cardTitled(&caches, QStringLiteral("Cache hierarchy"))),
              (std::vector<ShownRow>{{"L1 Data", "48 KB \u00B7 12-way \u00B7 64 bytes per line"},
                                     {"L1 Instruction", "32 KB \u00B7 8-way \u00B7 64 bytes per line"},
                                     {"L2", "2 MB \u00B7 16-way \u00B7 64 bytes per line"},
                                     {"L3", "36 MB \u00B7 12-way \u00B7 64 bytes per line"}}));

    CPUTabView agreeing(*publishedStore(replayedSnapshot("opencore-i7-8700k-no-spoof")));
    EXPECT_EQ(rowLabels(cardTitled(&agreeing, QStringLiteral("Signature"))),
              (QStringList{"Family", "Model", "Stepping", "Ext. Family", "Ext. Model"}));
    EXPECT_EQ(notes(&agreeing), 0);

    // Apple Silicon: the core design alone; the line size beside the sizes macOS gives.
    auto m1 = publishedStore(replayedSnapshot("m1-macbookair-sysctl-hw"));
    CPUTabView appleCpu(*m1);
    EXPECT_EQ(rowsOf(cardTitled(&appleCpu, QStringLiteral("Signature"))),
              (std::vector<ShownRow>{{"Core Design", "Firestorm / Icestorm"}}));
    CachesTabView appleCaches(*m1);
    EXPECT_EQ(rowsOf(cardTitled(&appleCaches, QStringLiteral("Cache hierarchy"))),
              (std::vector<ShownRow>{{"L1 Data", "64 KB \u00B7 128 bytes per line"},
                                     {"L1 Instruction", "128 KB \u00B7 128 bytes per line"},
                                     {"L2", "4 MB \u00B7 128 bytes per line"}}));

    // A Mac that reports none of it keeps the two cards the tab always had.
    CPUTabView bare(*publishedStore(replayedSnapshot("m2max-macbookpro16-mac14-6")));
    EXPECT_EQ(cardTitles(&bare), (QStringList{"Processor", "Instructions"}));
}

TEST(HardwareTabs, SpdShowsOneCardPerModuleOrTheExplanation)
{
    struct Case {
        std::vector<MemoryModule> modules;
        QStringList cards;
    };
    const Case cases[] = {
        {{}, {QStringLiteral("Unified / On-board Memory")}},
        {{MemoryModule{.bank = "BANK 0/ChannelA-DIMM0", .size = "16 GB", .part = "F4-3200C16"}},
         {QStringLiteral("BANK 0/ChannelA-DIMM0")}},
        {{MemoryModule{.bank = "DIMM_A1"}, MemoryModule{.bank = "DIMM_B1"}},
         {QStringLiteral("DIMM_A1"), QStringLiteral("DIMM_B1")}},
    };
    for (const Case& c : cases) {
        SystemSnapshot snapshot;
        snapshot.memory.modules = c.modules;
        auto store = publishedStore(snapshot);
        SPDTabView view(*store);
        EXPECT_EQ(cardTitles(&view), c.cards);
    }

    SystemSnapshot snapshot;
    snapshot.memory.modules = {MemoryModule{.bank = "DIMM_A1", .size = "16 GB", .type = "Empty", .speed = "3200 MHz",
                                            .manufacturer = "Unknown", .part = "F4-3200C16"}};
    auto store = publishedStore(snapshot);
    SPDTabView view(*store);
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("DIMM_A1"))),
              (std::vector<ShownRow>{{"Size", "16 GB"}, {"Speed", "3200 MHz"}, {"Part Number", "F4-3200C16"}}));
}

TEST(HardwareTabs, GraphicsHidesAnEmptyDisplaysRow)
{
    SystemSnapshot snapshot;
    snapshot.gpus = {GPUInfo{.name = "Radeon Pro Vega 64", .chipset = "Radeon Pro Vega 64", .vram = "16 GB",
                             .vendor = "AMD (0x1002)", .metal = "Metal 3", .displays = ""},
                     GPUInfo{.name = "Intel UHD 630", .displays = "2560 x 1440 / 1920 x 1080"}};
    auto store = publishedStore(snapshot);
    GraphicsTabView view(*store);
    EXPECT_EQ(cardTitles(&view), (QStringList{QStringLiteral("Radeon Pro Vega 64"), QStringLiteral("Intel UHD 630")}));
    EXPECT_EQ(rowLabels(cardTitled(&view, QStringLiteral("Radeon Pro Vega 64"))),
              (QStringList{QStringLiteral("Chipset"), QStringLiteral("Vendor"), QStringLiteral("VRAM / Cores"),
                           QStringLiteral("Metal")}));
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("Intel UHD 630"))),
              (std::vector<ShownRow>{{"Displays", "2560 x 1440\n1920 x 1080"}}));

    SystemInfoStore empty([] { return SystemSnapshot{}; }, noBenchmark());
    GraphicsTabView header(empty);
    EXPECT_TRUE(cardTitles(&header).isEmpty());
}

// The probe joins displays with " / " and keeps each report line's indentation.
TEST(HardwareTabs, ShowsOneDisplayPerLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"5120 x 2880 Retina", "5120 x 2880 Retina"},
        {"5120 x 2880 Retina /            4096 x 2304 Retina /            3840 x 2160 (2160p/4K UHD 1)",
         "5120 x 2880 Retina\n4096 x 2304 Retina\n3840 x 2160 (2160p/4K UHD 1)"},
        {" / 1920 x 1080 / ", "1920 x 1080"},
    };
    for (const auto& [joined, lines] : cases)
        EXPECT_EQ(displayLines(joined), lines) << joined;
}

TEST(HardwareTabs, SpdLaysManyModulesOutInColumns)
{
    SystemSnapshot snapshot;
    for (int slot = 0; slot < 8; ++slot)
        snapshot.memory.modules.push_back(MemoryModule{.bank = "DIMM " + std::to_string(slot), .size = "16 GB"});
    auto store = publishedStore(snapshot);
    SPDTabView view(*store);
    view.resize(1056, 600);
    view.show();
    QCoreApplication::processEvents();
    std::set<int> columns;
    for (const GlassCard* card : cardsOf(&view))
        columns.insert(card->x());
    EXPECT_EQ(columns.size(), 2u);
}

TEST(HardwareTabs, RebuildOnTheTurnAfterAPublication)
{
    SystemSnapshot snapshot;
    snapshot.memory = {"64 GB", "DDR5", "", "", "", "", {}};
    SystemInfoStore store([snapshot] { return snapshot; }, noBenchmark());
    MemoryTabView view(store);
    EXPECT_TRUE(rowsOf(cardTitled(&view, QStringLiteral("General"))).empty());

    int rowsSeenWhileAnnounced = -1;
    QObject::connect(&store, &SystemInfoStore::willChange, &view, [&] {
        rowsSeenWhileAnnounced = int(rowsOf(cardTitled(&view, QStringLiteral("General"))).size());
    });
    ASSERT_TRUE(waitFor(store.refreshAll()));
    EXPECT_EQ(rowsSeenWhileAnnounced, 0);
    EXPECT_EQ(rowsOf(cardTitled(&view, QStringLiteral("General"))),
              (std::vector<ShownRow>{{"Size", "64 GB"}, {"Type", "DDR5"}}));
    EXPECT_EQ(cardsOf(&view).size(), 1u) << "the old cards are gone";
}

// Adaptive columns: as many of at least the minimum as fit, never more than
// cards, spread evenly over the rows, and wide enough for the widest row.
TEST(CardGrid, ColumnsFollowTheCardsAndTheWidthTheirRowsNeed)
{
    struct Case {
        int cards;
        const char* longestValue;
        int width;
        int columns;
        ValueLayout layout = ValueLayout::lines;
    };
    const Case cases[] = {
        {2, "x", 1056, 2}, {2, "x", 1536, 2}, // never an empty third column
        {1, "x", 1536, 1}, {3, "x", 1198, 3}, {3, "x", 1197, 2},
        {4, "x", 1536, 2},                    // two rows of two, not three and one
        {5, "x", 1536, 3}, {8, "x", 1536, 3}, {8, "x", 1056, 2}, {2, "x", 200, 1},
        // A value that needs ~560 points keeps whole in one column where two would cut it.
        {2, "Intel(R) Xeon(R) CPU E5-2699 v4 @ 2.20GHz, Intel(R) Xeon(R) CPU", 1056, 1},
        {2, "Intel(R) Xeon(R) CPU E5-2699 v4 @ 2.20GHz, Intel(R) Xeon(R) CPU", 1536, 2},
        // A value that wraps is never cut, and asks for no width.
        {2, "Intel(R) Xeon(R) CPU E5-2699 v4 @ 2.20GHz, Intel(R) Xeon(R) CPU", 1056, 2, ValueLayout::wrapped},
    };
    for (const Case& c : cases) {
        QWidget page;
        CardGridLayout* grid = CardGridLayout::adaptive(390, 14);
        page.setLayout(grid);
        for (int card = 0; card < c.cards; ++card) {
            auto* glass = new GlassCard(QStringLiteral("Card"));
            glass->addRow(QStringLiteral("Name"), card == 0 ? c.longestValue : "x", false, c.layout);
            grid->addWidget(glass);
        }
        EXPECT_EQ(grid->columnsFor(c.width), c.columns) << c.cards << " cards, " << c.width << " wide";
    }
    const std::unique_ptr<CardGridLayout> two(CardGridLayout::fixedColumns(2, 10, 14));
    for (const int width : {200, 1056, 1536})
        EXPECT_EQ(two->columnsFor(width), 2) << width;
}

// A card with nothing to show says so once, in muted text, on every tab of every capture.
TEST(HardwareTabs, NoCardShowsItsTitleAlone)
{
    const std::filesystem::path captures = std::filesystem::path(VELTRIN_FIXTURES) / "captures";
    int sayingNothingReported = 0;
    for (const auto& entry : std::filesystem::directory_iterator(captures)) {
        const std::string capture = entry.path().filename().string();
        auto store = publishedStore(replayedSnapshot(capture));
        for (const AppTab shown : {AppTab::cpu, AppTab::caches, AppTab::mainboard, AppTab::memory, AppTab::spd,
                                   AppTab::graphics, AppTab::boot}) {
            const std::unique_ptr<QWidget> tab(makeTabView(shown, *store, {}, nullptr));
            for (const GlassCard* card : cardsOf(tab.get())) {
                const auto shown = card->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
                EXPECT_GE(shown.size(), 2) << capture << ": " << card->title().toStdString() << " shows its title alone";
                if (card->showsNothingReported()) {
                    ++sayingNothingReported;
                    EXPECT_TRUE(textsOf(card).contains(QString::fromUtf8(GlassCard::kNothingReported)));
                }
            }
        }
    }
    EXPECT_GT(sayingNothingReported, 0) << "some captures lack some reports";
}

TEST(HardwareTabs, CardsWhoseEveryRowIsHiddenSayNotReported)
{
    auto store = publishedStore(replayedSnapshot("imacpro1-1-vega64")); // a Mac without memory or sw_vers reports
    const std::pair<AppTab, QStringList> cases[] = {
        {AppTab::caches, {"Cache hierarchy"}},
        {AppTab::memory, {"General"}},
        {AppTab::mainboard, {"macOS SMBIOS", "Operating System"}},
        {AppTab::graphics, {}},
    };
    for (const auto& [shown, titles] : cases) {
        const std::unique_ptr<QWidget> tab(makeTabView(shown, *store, {}, nullptr));
        QStringList saying;
        for (const GlassCard* card : cardsOf(tab.get()))
            if (card->showsNothingReported())
                saying << card->title();
        EXPECT_EQ(saying, titles) << appTabId(shown);
    }
}

// The tabs speak of the system the snapshot came from: a Mac's capture reads as
// a Mac's, and a Linux machine without an Apple identity shows no SMBIOS card.
TEST(HardwareTabs, SayWhatTheSnapshotsSystemReported)
{
    struct Case {
        const char* capture;
        Platform platform;
        QString smbiosCard; // empty: none
    };
    const Case cases[] = {
        {"long-values-composite", Platform::mac, QStringLiteral("macOS SMBIOS")},
        {"imacpro1-1-vega64", Platform::mac, QStringLiteral("macOS SMBIOS")},
        {"linux-kvm-epyc-2vcpu", Platform::other, {}},
        {"linux-imacpro1-1-vega56", Platform::other, QStringLiteral("Apple SMBIOS")},
    };
    for (const Case& c : cases) {
        auto store = publishedStore(replayedSnapshot(c.capture));
        const PlatformTexts& texts = platformTexts(c.platform);
        CachesTabView caches(*store);
        EXPECT_EQ(caches.findChild<SectionHeader*>()->subtitle(), QString::fromUtf8(texts.cachesSubtitle)) << c.capture;
        EXPECT_TRUE(textsOf(cardTitled(&caches, QStringLiteral("Note"))).contains(QString::fromUtf8(texts.cachesNote)));
        MainboardTabView mainboard(*store);
        const QStringList titles = cardTitles(&mainboard);
        EXPECT_EQ(titles.contains(QStringLiteral("macOS SMBIOS")), c.smbiosCard == QStringLiteral("macOS SMBIOS"))
            << c.capture;
        EXPECT_EQ(titles.contains(QStringLiteral("Apple SMBIOS")), c.smbiosCard == QStringLiteral("Apple SMBIOS"))
            << c.capture;
    }
}

} // namespace
