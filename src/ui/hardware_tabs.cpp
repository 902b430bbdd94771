#include "ui/hardware_tabs.h"

#include "core/placeholder_rule.h"
#include "core/unicode_text.h"
#include "state/system_info_store.h"
#include "ui/card_grid.h"
#include "ui/glass_card.h"
#include "ui/pill.h"
#include "ui/platform_texts.h"
#include "ui/section_header.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace veltrin {
namespace {

constexpr int kGridSpacing = 14;
constexpr int kGridMinimumColumn = 390;
constexpr const char* kDash = "\u2014";

QString text(const std::string& value) { return QString::fromStdString(value); }

// A card's rows as (label, value, monospaced), in card order.
struct Row {
    const char* label;
    const std::string& value;
    bool monospaced = false;
};

GlassCard* cardWithRows(const QString& title, std::initializer_list<Row> rows)
{
    auto* card = new GlassCard(title);
    for (const Row& row : rows)
        card->addRow(QString::fromLatin1(row.label), row.value, row.monospaced);
    return card;
}

bool anyShown(std::initializer_list<std::reference_wrapper<const std::string>> values)
{
    return std::ranges::any_of(values, [](const std::string& value) { return !veltrinShouldHideField(value); });
}

// Where the board data came from, and beside it OpenCore's variables when they
// named the board; each part is left out when it is a placeholder.
std::string boardSourceText(const MainboardInfo& mainboard)
{
    std::string text;
    for (const std::string* part : {&mainboard.dmiSource, &mainboard.boardSource}) {
        if (veltrinShouldHideField(*part))
            continue;
        if (!text.empty())
            text += ", ";
        text += *part;
    }
    return text;
}

// A cache level's size with its ways and, where either is known, the line size
// of the whole hierarchy beside it ("48 KB · 12-way · 64 bytes per line"); each
// part the placeholder rule hides is left out.
std::string cacheText(const std::string& size, const std::string& ways, const std::string& line)
{
    std::string text;
    const auto append = [&](const std::string& part, std::string_view suffix = {}) {
        if (veltrinShouldHideField(part))
            return;
        text += (text.empty() ? "" : " \u00B7 ") + part + std::string(suffix);
    };
    append(size);
    append(ways);
    if (!text.empty())
        append(line, " per line");
    return text;
}

// The processor's signature as it answers it, and the kernel's where that differs.
GlassCard* signatureCard(const CPUInfo& cpu)
{
    GlassCard* card = cardWithRows(QStringLiteral("Signature"), {{"Family", cpu.family, true},
                                                                 {"Model", cpu.model, true},
                                                                 {"Stepping", cpu.stepping, true},
                                                                 {"Ext. Family", cpu.extFamily, true},
                                                                 {"Ext. Model", cpu.extModel, true},
                                                                 {"Microcode", cpu.microcode, true},
                                                                 {"Core Design", cpu.coreDesign}});
    if (card->addRow(QStringLiteral("Kernel Signature"), cpu.kernelSignature, true))
        card->addParagraph(QStringLiteral("macOS was given another processor identity by the boot loader (CPUID "
                                          "spoofing); the values above are the processor's own."),
                           Palette::metalMuted(), false, Fonts::system(Fonts::kCaption));
    return card;
}

GlassCard* smbiosCard(const MainboardInfo& board, const PlatformTexts& texts, const PersistedFlag& hideSystemUUID,
                      const PersistedFlag& hideMacOSSerial)
{
    GlassCard* smbios = cardWithRows(QString::fromUtf8(texts.smbiosTitle),
                                     {{"Model Name", board.macModelName},
                                      {"Model ID", board.macModel, true},
                                      {"Original model", board.originalModel, true},
                                      {"Board ID", board.macBoardID, true}});
    const bool uuid = smbios->addSensitiveRow(QStringLiteral("System UUID"), board.hardwareUUID,
                                              hideSystemUUID.binding(), true) != nullptr;
    const bool serial = smbios->addSensitiveRow(QStringLiteral("macOS Serial"), board.macSerial,
                                                hideMacOSSerial.binding(), true) != nullptr;
    // The note explains the Hide buttons; without one it has nothing to explain.
    if (uuid || serial) {
        smbios->addParagraph(QStringLiteral("Hide only masks the value inside Veltrin. It does not patch firmware, "
                                            "NVRAM, OpenCore or macOS SMBIOS."),
                             Palette::metalMuted(), false, Fonts::system(Fonts::kCaption));
    }
    return smbios;
}

} // namespace

std::string displayLines(const std::string& displays)
{
    std::string lines;
    std::string_view rest = displays;
    while (true) {
        const std::size_t separator = rest.find(" / ");
        const std::string display = trimmed(rest.substr(0, separator));
        if (!display.empty())
            lines += (lines.empty() ? "" : "\n") + display;
        if (separator == std::string_view::npos)
            return lines;
        rest.remove_prefix(separator + 3);
    }
}

bool hasBoardIdentity(const MainboardInfo& mainboard)
{
    return anyShown({mainboard.manufacturer, mainboard.model, mainboard.boardName, mainboard.boardID,
                     mainboard.boardVersion, mainboard.serial, mainboard.dmiSource, mainboard.boardSource});
}

bool hasMacIdentity(const MainboardInfo& mainboard)
{
    return anyShown({mainboard.macModelName, mainboard.macModel, mainboard.originalModel, mainboard.macBoardID,
                     mainboard.hardwareUUID, mainboard.macSerial});
}

bool hasFirmware(const MainboardInfo& mainboard)
{
    return anyShown({mainboard.biosVendor, mainboard.biosVersion, mainboard.biosDate, mainboard.bootROM, mainboard.smc,
                     mainboard.opencoreVersion, mainboard.legacyPatcherVersion});
}

// CPU

CPUTabView::CPUTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

void CPUTabView::build(QVBoxLayout& column)
{
    const CPUInfo& cpu = store_->cpu();
    column.addWidget(new SectionHeader(QStringLiteral("CPU"), QStringLiteral("Processor identity, topology and instruction set")));

    GlassCard* processor = cardWithRows(QStringLiteral("Processor"), {{"Name", cpu.name},
                                                                      {"Code/Vendor", cpu.vendor},
                                                                      {"Architecture", cpu.architecture},
                                                                      {"Specification", cpu.frequency}});
    // Pills show their value whatever it is, placeholder or not.
    auto* pills = new QWidget;
    auto* pillRow = new QHBoxLayout(pills);
    pillRow->setContentsMargins(0, 0, 0, 0);
    pillRow->setSpacing(8);
    pillRow->addWidget(new Pill(QStringLiteral("Physical cores: ") + text(cpu.physicalCores)));
    pillRow->addWidget(new Pill(QStringLiteral("Logical threads: ") + text(cpu.logicalCores)));
    if (cpu.translated)
        pillRow->addWidget(new Pill(QStringLiteral("Running under Rosetta")));
    pillRow->addStretch(1);
    processor->add(pills);

    auto* instructions = new GlassCard(QStringLiteral("Instructions"));
    if (!veltrinShouldHideField(cpu.features))
        instructions->addHardwareText(text(cpu.features), Palette::metalText(), Fonts::monospaced());

    CardGridLayout* grid = CardGridLayout::adaptive(kGridMinimumColumn, kGridSpacing);
    grid->addWidget(processor);
    // Absent where nothing of the signature is known (a Mac that reports none).
    if (anyShown({cpu.family, cpu.model, cpu.stepping, cpu.extFamily, cpu.extModel, cpu.microcode, cpu.coreDesign,
                  cpu.kernelSignature}))
        grid->addWidget(signatureCard(cpu));
    grid->addWidget(instructions);
    column.addLayout(grid);
}

// Caches

CachesTabView::CachesTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

void CachesTabView::build(QVBoxLayout& column)
{
    const CPUInfo& cpu = store_->cpu();
    const PlatformTexts& texts = platformTexts(shownPlatform(*store_));
    column.addWidget(new SectionHeader(QStringLiteral("Caches"), QString::fromUtf8(texts.cachesSubtitle)));
    const std::string l1d = cacheText(cpu.l1d, cpu.l1dWays, cpu.cacheLine);
    const std::string l1i = cacheText(cpu.l1i, cpu.l1iWays, cpu.cacheLine);
    const std::string l2 = cacheText(cpu.l2, cpu.l2Ways, cpu.cacheLine);
    const std::string l3 = cacheText(cpu.l3, cpu.l3Ways, cpu.cacheLine);
    column.addWidget(cardWithRows(QStringLiteral("Cache hierarchy"),
                                  {{"L1 Data", l1d}, {"L1 Instruction", l1i}, {"L2", l2}, {"L3", l3}}));
    // A chip with several kinds of core: each with the caches its own cores see, side by side.
    if (!cpu.clusters.empty()) {
        CardGridLayout* clusters = CardGridLayout::adaptive(390, kGridSpacing);
        for (const CPUCluster& cluster : cpu.clusters) {
            clusters->addWidget(cardWithRows(text(cluster.name) + QStringLiteral(" cluster"),
                                             {{"Cores", cluster.physicalCores},
                                              {"L1 Data", cluster.l1d},
                                              {"L1 Instruction", cluster.l1i},
                                              {"L2", cluster.l2}}));
        }
        column.addLayout(clusters);
    }
    auto* note = new GlassCard(QStringLiteral("Note"));
    note->addParagraph(QString::fromUtf8(texts.cachesNote), Palette::metalMuted());
    column.addWidget(note);
}

// Mainboard

MainboardTabView::MainboardTabView(SystemInfoStore& store, PersistedFlag hideMacOSSerial, PersistedFlag hideSystemUUID,
                                   QWidget* parent)
    : TabPageView(&store, parent), hideMacOSSerial_(hideMacOSSerial), hideSystemUUID_(hideSystemUUID)
{
    rebuild();
}

void MainboardTabView::build(QVBoxLayout& column)
{
    const MainboardInfo& board = store_->mainboard();
    column.addWidget(new SectionHeader(
        QStringLiteral("Mainboard"),
        QStringLiteral("Physical board data is shown only when trusted. Apple/OpenCore SMBIOS is separated below.")));

    // Absent cards leave no gap: the next card takes their cell.
    CardGridLayout* grid = CardGridLayout::fixedColumns(2, 10, kGridSpacing);
    if (hasBoardIdentity(board)) {
        grid->addWidget(cardWithRows(QStringLiteral("Physical Board"), {{"Manufacturer", board.manufacturer},
                                                                        {"Model", board.model},
                                                                        {"Board Product", board.boardName, true},
                                                                        {"Board ID / Asset", board.boardID, true},
                                                                        {"Board Version", board.boardVersion},
                                                                        {"Board Serial", board.serial, true},
                                                                        {"Source", boardSourceText(board)}}));
    }
    if (hasFirmware(board)) {
        grid->addWidget(cardWithRows(QStringLiteral("Firmware"), {{"BIOS Vendor", board.biosVendor},
                                                                  {"BIOS Version", board.biosVersion},
                                                                  {"BIOS Date", board.biosDate},
                                                                  {"Boot ROM", board.bootROM},
                                                                  {"SMC", board.smc},
                                                                  {"OpenCore", board.opencoreVersion},
                                                                  {"Legacy Patcher", board.legacyPatcherVersion}}));
    }

    // A Mac always has an SMBIOS identity, so its card is always there; any other
    // machine has one only when it is a Mac's hardware.
    const Platform platform = shownPlatform(*store_);
    const PlatformTexts& texts = platformTexts(platform);
    if (platform == Platform::mac || hasMacIdentity(board))
        grid->addWidget(smbiosCard(board, texts, hideSystemUUID_, hideMacOSSerial_));
    grid->addWidget(cardWithRows(QStringLiteral("Operating System"), {{texts.operatingSystem, board.os},
                                                                      {"Kernel", board.kernel, true},
                                                                      {"Uptime", board.uptime}}));
    column.addLayout(grid);

    // The notes explain how the board was identified; they are not a value, so
    // the placeholder rule does not apply ("…without Apple SMBIOS fallback" is
    // exactly what a Mac without dmidecode needs to read).
    if (!trimmed(board.detectionNotes).empty()) {
        auto* notes = new GlassCard(QStringLiteral("Detection Notes"));
        notes->addHardwareText(text(board.detectionNotes), Palette::metalMuted());
        column.addWidget(notes);
    }
}

// Memory

MemoryTabView::MemoryTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

void MemoryTabView::build(QVBoxLayout& column)
{
    const MemoryInfo& memory = store_->memory();
    column.addWidget(new SectionHeader(QStringLiteral("Memory"), QStringLiteral("Physical memory and current pressure")));
    column.addWidget(cardWithRows(QStringLiteral("General"), {{"Size", memory.total},
                                                             {"Type", memory.type},
                                                             {"Speed", memory.speed},
                                                             {"Slots", memory.slots},
                                                             {"Usage source", memory.used},
                                                             {"Pressure", memory.pressure}}));
}

// SPD

SPDTabView::SPDTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

void SPDTabView::build(QVBoxLayout& column)
{
    const std::vector<MemoryModule>& modules = store_->memory().modules;
    column.addWidget(new SectionHeader(QStringLiteral("SPD"),
                                       QString::fromUtf8(platformTexts(shownPlatform(*store_)).spdSubtitle)));
    if (modules.empty()) {
        auto* card = new GlassCard(QStringLiteral("Unified / On-board Memory"));
        card->addParagraph(QStringLiteral("No separate DIMM SPD data was exposed. This is normal on many MacBooks, "
                                          "Apple Silicon Macs, and systems with soldered memory."),
                           Palette::metalMuted());
        column.addWidget(card);
        return;
    }
    // Many modules read best side by side, in the grid of the other tabs.
    CardGridLayout* grid = CardGridLayout::adaptive(kGridMinimumColumn, kGridSpacing);
    for (const MemoryModule& module : modules) {
        grid->addWidget(cardWithRows(text(module.bank), {{"Size", module.size},
                                                         {"Type", module.type},
                                                         {"Speed", module.speed},
                                                         {"Manufacturer", module.manufacturer},
                                                         {"Part Number", module.part, true}}));
    }
    column.addLayout(grid);
}

// Graphics

GraphicsTabView::GraphicsTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

void GraphicsTabView::build(QVBoxLayout& column)
{
    column.addWidget(new SectionHeader(QStringLiteral("Graphics"),
                                       QString::fromUtf8(platformTexts(shownPlatform(*store_)).graphicsSubtitle)));
    static const std::string dash = kDash;
    for (const GPUInfo& gpu : store_->gpus()) {
        const std::string displays = displayLines(gpu.displays);
        column.addWidget(cardWithRows(text(gpu.name), {{"Chipset", gpu.chipset},
                                                       {"Vendor", gpu.vendor},
                                                       {"VRAM / Cores", gpu.vram},
                                                       {"Metal", gpu.metal},
                                                       {"Displays", displays.empty() ? dash : displays}}));
    }
}

} // namespace veltrin
