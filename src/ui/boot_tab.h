#pragma once

// The Boot tab: the boot loader, the boot arguments, System Integrity Protection
// and the kernel extensions on a Mac; the kernel command line, Secure Boot and
// the kernel modules on Linux. A card with nothing known says so.

#include "core/records.h"
#include "ui/platform.h"
#include "ui/tab_page.h"

#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace veltrin {

class InfoRow;

// The arguments of a command line, split at blanks; blanks inside double quotes
// do not split.
std::vector<std::string> bootArgumentWords(const std::string& arguments);

// Whose boot the record describes: what only one system reports decides (SIP, a
// Mac's extension origins; Secure Boot, a Linux module's), else `shown`.
Platform bootPlatform(const BootInfo& boot, Platform shown);

class BootTabView : public TabPageView {
    Q_OBJECT
public:
    // More extensions than this get a filter field.
    static constexpr std::size_t kFilterThreshold = 20;

    explicit BootTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;

private:
    QWidget* extensionsCard(const BootInfo& boot, bool mac);
    void applyFilter(const QString& text);

    // The view's own choices, kept across the rebuilds a refresh causes.
    bool showSystemExtensions_ = false;
    QString filter_;
    std::vector<std::pair<InfoRow*, QString>> extensionRows_; // row and its identifier
};

} // namespace veltrin
