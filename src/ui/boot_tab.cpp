#include "ui/boot_tab.h"

#include "core/placeholder_rule.h"
#include "state/system_info_store.h"
#include "ui/card_grid.h"
#include "ui/flow_layout.h"
#include "ui/glass_card.h"
#include "ui/labels.h"
#include "ui/metal_button.h"
#include "ui/pill.h"
#include "ui/platform_texts.h"
#include "ui/section_header.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace veltrin {
namespace {

constexpr int kGridSpacing = 14;
constexpr int kPillSpacing = 8;

// The configuration bit with which macOS may stop offering software updates,
// and csrutil's words for a configuration that has it.
constexpr std::string_view kAppleInternalFlag = "CSR_ALLOW_APPLE_INTERNAL";
constexpr std::string_view kAppleInternalStatus = "(Apple Internal)";

bool isSystemExtension(const KernelExtension& extension)
{
    return extension.origin == kAppleOrigin || extension.origin == kInTreeOrigin;
}

bool isMacOrigin(const KernelExtension& extension)
{
    return extension.origin == kAppleOrigin || extension.origin == kThirdPartyOrigin;
}

// "as.vit9696.Lilu" is Lilu to its users; a Linux module's name is already short.
QString shortName(const std::string& identifier)
{
    const std::size_t dot = identifier.rfind('.');
    return fromUtf8(dot == std::string::npos || dot + 1 == identifier.size() ? identifier : identifier.substr(dot + 1));
}

// A Mac's extension as kextstat names it, "as.vit9696.Lilu (1.5.4)"; a Linux
// module by its version and, for a module the kernel was not built with, where from.
std::string extensionValue(const KernelExtension& extension, bool mac)
{
    if (mac)
        return extension.version.empty() ? extension.identifier : extension.identifier + " (" + extension.version + ")";
    std::string value = extension.version;
    if (extension.origin != kInTreeOrigin)
        value += (value.empty() ? "" : " \u00B7 ") + extension.origin;
    return value.empty() ? extension.origin : value;
}

// The names of the set flags, as the record joins them with ", ".
std::vector<std::string> flagNames(const std::string& flags)
{
    std::vector<std::string> names;
    for (std::size_t start = 0; start < flags.size();) {
        const std::size_t comma = std::min(flags.find(", ", start), flags.size());
        names.push_back(flags.substr(start, comma - start));
        start = comma + 2;
    }
    return names;
}

// One flag a line.
std::string flagLines(const std::string& flags)
{
    std::string lines;
    for (const std::string& name : flagNames(flags))
        lines += (lines.empty() ? "" : "\n") + name;
    return lines;
}

bool hasAppleInternal(const BootInfo& boot)
{
    const std::vector<std::string> flags = flagNames(boot.sipFlags);
    return std::ranges::find(flags, kAppleInternalFlag) != flags.end() ||
           boot.sipStatus.find(kAppleInternalStatus) != std::string::npos;
}

GlassCard* bootLoaderCard(const MainboardInfo& board)
{
    auto* loader = new GlassCard(QStringLiteral("Boot Loader"));
    loader->addRow(QStringLiteral("OpenCore"), board.opencoreVersion);
    loader->addRow(QStringLiteral("Legacy Patcher"), board.legacyPatcherVersion);
    return loader;
}

// The whole line in one row, to select and copy at once; each argument as a
// pill below it, which copies that argument whole when clicked.
GlassCard* argumentsCard(const BootInfo& boot, bool mac)
{
    auto* card = new GlassCard(mac ? QStringLiteral("Boot Arguments") : QStringLiteral("Kernel Command Line"));
    if (card->addRow(mac ? QStringLiteral("boot-args") : QStringLiteral("Command line"), boot.bootArguments, true,
                     ValueLayout::wrapped) == nullptr)
        return card;
    auto* pills = new FlowLayout(kPillSpacing);
    for (const std::string& word : bootArgumentWords(boot.bootArguments)) {
        auto* pill = new Pill(fromUtf8(word));
        pill->setCopyable(true);
        pills->addWidget(pill);
    }
    card->add(pills);
    return card;
}

GlassCard* integrityCard(const BootInfo& boot)
{
    auto* card = new GlassCard(QStringLiteral("System Integrity Protection"));
    card->addRow(QStringLiteral("Status"), boot.sipStatus);
    card->addRow(QStringLiteral("csr-active-config"), boot.sipValue, true);
    card->addRow(QStringLiteral("Flags"), flagLines(boot.sipFlags), true);
    if (hasAppleInternal(boot))
        card->addParagraph(QStringLiteral("With CSR_ALLOW_APPLE_INTERNAL set, macOS may not offer software updates."),
                           Palette::metalMuted(), false, Fonts::system(Fonts::kCaption));
    return card;
}

GlassCard* secureBootCard(const BootInfo& boot)
{
    auto* card = new GlassCard(QStringLiteral("Secure Boot"));
    card->addRow(QStringLiteral("Secure Boot"), boot.secureBoot);
    return card;
}

} // namespace

std::vector<std::string> bootArgumentWords(const std::string& arguments)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (const char c : arguments) {
        if (c == '"')
            quoted = !quoted;
        if ((c == ' ' || c == '\t' || c == '\n') && !quoted) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
            continue;
        }
        word += c;
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

Platform bootPlatform(const BootInfo& boot, Platform shown)
{
    if (!boot.sipStatus.empty() || !boot.sipValue.empty())
        return Platform::mac;
    if (!boot.secureBoot.empty())
        return Platform::other;
    if (!boot.extensions.empty())
        return isMacOrigin(boot.extensions.front()) ? Platform::mac : Platform::other;
    return shown;
}

BootTabView::BootTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

void BootTabView::build(QVBoxLayout& column)
{
    const BootInfo& boot = store_->snapshot().boot;
    const MainboardInfo& board = store_->mainboard();
    const bool mac = bootPlatform(boot, shownPlatform(*store_)) == Platform::mac;
    extensionRows_.clear();
    const PlatformTexts& texts = platformTexts(mac ? Platform::mac : Platform::other);
    column.addWidget(new SectionHeader(QStringLiteral("Boot"), fromUtf8(texts.bootSubtitle)));

    // Absent cards leave no gap: the next card takes their cell.
    CardGridLayout* grid = CardGridLayout::fixedColumns(2, 10, kGridSpacing);
    if (!veltrinShouldHideField(board.opencoreVersion) || !veltrinShouldHideField(board.legacyPatcherVersion))
        grid->addWidget(bootLoaderCard(board));
    grid->addWidget(argumentsCard(boot, mac));
    grid->addWidget(mac ? integrityCard(boot) : secureBootCard(boot));
    column.addLayout(grid);
    column.addWidget(extensionsCard(boot, mac));
    applyFilter(filter_);
}

// Third-party (or out-of-tree) ones first, in the order listed; the system's own
// after them on request.
QWidget* BootTabView::extensionsCard(const BootInfo& boot, bool mac)
{
    auto* card = new GlassCard(mac ? QStringLiteral("Kernel Extensions") : QStringLiteral("Kernel Modules"));
    card->addRow(QStringLiteral("Loaded"), boot.extensionSummary);
    if (boot.extensions.size() > kFilterThreshold) {
        auto* filter = new QLineEdit(filter_);
        filter->setObjectName(QStringLiteral("extensionFilter"));
        filter->setPlaceholderText(QStringLiteral("Filter by name"));
        filter->setClearButtonEnabled(true);
        connect(filter, &QLineEdit::textChanged, this, [this](const QString& typed) { applyFilter(typed); });
        card->add(filter);
    }
    const auto addRows = [&](bool system) {
        for (const KernelExtension& extension : boot.extensions) {
            if (isSystemExtension(extension) != system)
                continue;
            if (InfoRow* row = card->addRow(shortName(extension.identifier), extensionValue(extension, mac), true))
                extensionRows_.emplace_back(row, fromUtf8(extension.identifier));
        }
    };
    addRows(false);
    if (std::ranges::none_of(boot.extensions, isSystemExtension))
        return card;

    const QString which = mac ? QStringLiteral("Apple extensions") : QStringLiteral("in-tree modules");
    auto* toggle = new MetalButton((showSystemExtensions_ ? QStringLiteral("Hide ") : QStringLiteral("Show ")) + which,
                                   showSystemExtensions_ ? QStringLiteral("eye.slash") : QStringLiteral("eye"), {});
    toggle->setObjectName(QStringLiteral("systemExtensionsToggle"));
    toggle->setFlushLeft(true);
    connect(toggle, &QAbstractButton::clicked, this, [this] {
        showSystemExtensions_ = !showSystemExtensions_;
        // Not while the button's own click is being delivered: the rebuild deletes it.
        QMetaObject::invokeMethod(this, [this] { rebuild(); }, Qt::QueuedConnection);
    });
    auto* line = new QHBoxLayout;
    line->addWidget(toggle);
    line->addStretch(1);
    card->add(line);
    if (showSystemExtensions_)
        addRows(true);
    return card;
}

void BootTabView::applyFilter(const QString& typed)
{
    filter_ = typed;
    for (const auto& [row, identifier] : extensionRows_)
        row->setVisible(typed.isEmpty() || identifier.contains(typed, Qt::CaseInsensitive));
}

} // namespace veltrin
