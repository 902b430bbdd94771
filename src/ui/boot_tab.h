#pragma once

// The Boot tab: the boot loader, the boot arguments, System Integrity Protection
// and the kernel extensions on a Mac; the kernel command line, Secure Boot and
// the kernel modules on Linux. A card shows only when it has a row to show.

#include "core/records.h"
#include "ui/tab_page.h"

#include <QString>

#include <string>
#include <vector>

class QLineEdit;

namespace veltrin {

class InfoRow;

// The arguments of a command line, split at blanks; quoted blanks do not split.
std::vector<std::string> bootArgumentWords(const std::string& arguments);

// True when the record describes a Linux boot rather than a Mac's.
bool isLinuxBoot(const BootInfo& boot, const std::string& os);

class BootTabView : public TabPageView {
    Q_OBJECT
public:
    explicit BootTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;

private:
    void applyFilter(const QString& text);

    // The view's own choices, kept across the rebuilds a refresh causes.
    bool showSystemExtensions_ = false;
    QString filter_;
    std::vector<std::pair<InfoRow*, QString>> extensionRows_; // row and its identifier
};

} // namespace veltrin
