#include "ui/boot_tab.h"

#include "core/placeholder_rule.h"
#include "state/system_info_store.h"
#include "ui/card_grid.h"
#include "ui/glass_card.h"
#include "ui/metal_button.h"
#include "ui/pill.h"
#include "ui/section_header.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace veltrin {
namespace {

// More extensions than this get a filter field.
constexpr std::size_t kFilterThreshold = 20;
constexpr int kPillColumn = 150;
constexpr int kPillSpacing = 8;

constexpr std::string_view kAppleInternalFlag = "CSR_ALLOW_APPLE_INTERNAL";

QString text(const std::string& value) { return QString::fromStdString(value); }

bool isSystemExtension(const KernelExtension& extension)
{
    return extension.origin == "Apple" || extension.origin == "in-tree";
}

// "as.vit9696.Lilu" shows as Lilu; a Linux module's name is already short.
QString shortName(const std::string& identifier)
{
    const std::size_t dot = identifier.rfind('.');
    return text(dot == std::string::npos || dot + 1 == identifier.size() ? identifier : identifier.substr(dot + 1));
}

std::string rowValue(const KernelExtension& extension)
{
    return extension.version.empty() ? extension.identifier : extension.identifier + " (" + extension.version + ")";
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
        if ((c == ' ' || c == '\t') && !quoted) {
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

bool isLinuxBoot(const BootInfo& boot, const std::string& os)
{
    if (!boot.secureBoot.empty())
        return true;
    if (!boot.extensions.empty())
        return !(boot.extensions.front().origin == "Apple" || boot.extensions.front().origin == "third-party");
    return operatingSystemLabel(os) != "macOS: ";
}

BootTabView::BootTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

void BootTabView::build(QVBoxLayout& column)
{
    const BootInfo& boot = store_->snapshot().boot;
    const MainboardInfo& board = store_->mainboard();
    const bool onLinux = isLinuxBoot(boot, board.os);
    extensionRows_.clear();
    column.addWidget(new SectionHeader(
        QStringLiteral("Boot"), onLinux ? QStringLiteral("Kernel command line, Secure Boot and kernel modules")
                                      : QStringLiteral("Boot loader, boot arguments, SIP and kernel extensions")));

    CardGridLayout* grid = CardGridLayout::fixedColumns(2, 10, 14);
    if (!veltrinShouldHideField(board.opencoreVersion) || !veltrinShouldHideField(board.legacyPatcherVersion)) {
        auto* loader = new GlassCard(QStringLiteral("Boot Loader"));
        loader->addRow(QStringLiteral("OpenCore"), board.opencoreVersion);
        loader->addRow(QStringLiteral("Legacy Patcher"), board.legacyPatcherVersion);
        grid->addWidget(loader);
    }

    if (!veltrinShouldHideField(boot.bootArguments)) {
        auto* arguments = new GlassCard(onLinux ? QStringLiteral("Kernel Command Line") : QStringLiteral("Boot Arguments"));
        // The whole line in one row, to copy at once; each argument as a pill below it.
        arguments->addRow(onLinux ? QStringLiteral("Command line") : QStringLiteral("boot-args"), boot.bootArguments,
                          true, ValueLayout::wrapped);
        CardGridLayout* pills = CardGridLayout::adaptive(kPillColumn, kPillSpacing);
        for (const std::string& word : bootArgumentWords(boot.bootArguments))
            pills->addWidget(new Pill(text(word)));
        arguments->add(pills);
        grid->addWidget(arguments);
    }

    if (onLinux && !veltrinShouldHideField(boot.secureBoot)) {
        auto* secure = new GlassCard(QStringLiteral("Secure Boot"));
        secure->addRow(QStringLiteral("Secure Boot"), boot.secureBoot);
        grid->addWidget(secure);
    }
    if (!onLinux && (!veltrinShouldHideField(boot.sipStatus) || !veltrinShouldHideField(boot.sipValue))) {
        auto* sip = new GlassCard(QStringLiteral("System Integrity Protection"));
        sip->addRow(QStringLiteral("Status"), boot.sipStatus);
        sip->addRow(QStringLiteral("csr-active-config"), boot.sipValue, true);
        std::string flags = boot.sipFlags;
        std::replace(flags.begin(), flags.end(), ',', '\n');
        std::erase(flags, ' ');
        sip->addRow(QStringLiteral("Flags"), flags, true);
        if (boot.sipFlags.find(kAppleInternalFlag) != std::string::npos) {
            sip->addParagraph(QStringLiteral("CSR_ALLOW_APPLE_INTERNAL is set: macOS may not offer software updates "
                                             "while it is."),
                              Palette::metalMuted(), false, Fonts::system(Fonts::kCaption));
        }
        grid->addWidget(sip);
    }
    column.addLayout(grid);

    if (boot.extensions.empty())
        return;
    auto* extensions = new GlassCard(onLinux ? QStringLiteral("Kernel Modules") : QStringLiteral("Kernel Extensions"));
    extensions->addRow(QStringLiteral("Loaded"), boot.extensionSummary);
    if (boot.extensions.size() > kFilterThreshold) {
        auto* filter = new QLineEdit(filter_);
        filter->setObjectName(QStringLiteral("extensionFilter"));
        filter->setPlaceholderText(QStringLiteral("Filter by name"));
        filter->setClearButtonEnabled(true);
        connect(filter, &QLineEdit::textChanged, this, [this](const QString& typed) { applyFilter(typed); });
        extensions->add(filter);
    }
    // Third-party (out-of-tree) ones first, in the order listed; the system's own after them on request.
    const auto addRows = [&](bool system) {
        for (const KernelExtension& extension : boot.extensions) {
            if (isSystemExtension(extension) != system)
                continue;
            if (InfoRow* row = extensions->addRow(shortName(extension.identifier), rowValue(extension), true))
                extensionRows_.emplace_back(row, text(extension.identifier));
        }
    };
    addRows(false);
    const bool anySystem = std::ranges::any_of(boot.extensions, isSystemExtension);
    if (anySystem) {
        const QString which = onLinux ? QStringLiteral("in-tree modules") : QStringLiteral("Apple extensions");
        auto* toggle = new MetalButton((showSystemExtensions_ ? QStringLiteral("Hide ") : QStringLiteral("Show ")) + which,
                                       showSystemExtensions_ ? QStringLiteral("eye.slash") : QStringLiteral("eye"), {});
        toggle->setObjectName(QStringLiteral("systemExtensionsToggle"));
        toggle->setFlushLeft(true);
        connect(toggle, &QAbstractButton::clicked, this, [this] {
            showSystemExtensions_ = !showSystemExtensions_;
            QMetaObject::invokeMethod(this, [this] { rebuild(); }, Qt::QueuedConnection);
        });
        auto* line = new QHBoxLayout;
        line->addWidget(toggle);
        line->addStretch(1);
        extensions->add(line);
        if (showSystemExtensions_)
            addRows(true);
    }
    column.addWidget(extensions);
    applyFilter(filter_);
}

void BootTabView::applyFilter(const QString& typed)
{
    filter_ = typed;
    for (const auto& [row, identifier] : extensionRows_)
        row->setVisible(typed.isEmpty() || identifier.contains(typed, Qt::CaseInsensitive));
}

} // namespace veltrin
