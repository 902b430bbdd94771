#pragma once

// The window's report and comparison commands: "Export Report…" (Command/Ctrl+E)
// and "Compare with Capture…" in the File menu, "Copy Report" beside "Copy Summary".
// The report is made of what the window shows, always with identifiers masked
// (the Mainboard tab's Show buttons change only the tab).

#include "state/report.h"

#include <QObject>
#include <QString>

#include <string>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace veltrin {

class SystemInfoStore;

class ReportCommands : public QObject {
    Q_OBJECT
public:
    // `source` says where the window's snapshot comes from (reportSource); dialogs open over `window`.
    ReportCommands(SystemInfoStore& store, std::string source, QWidget* window, QObject* parent = nullptr);

    QAction* exportReport;
    QAction* copyReport;
    QAction* compareWithCapture;

    // The report of what the window shows now.
    std::string report(ReportFormat format) const;
    // Writes it to `path`, in the format its name says. False, with `error` set, when it cannot.
    bool exportTo(const QString& path, std::string& error) const;
    // Reads `path` (a capture folder or a --json file) and opens, without waiting, the
    // comparison with what the window shows, or a message saying why there is none.
    QDialog* compareWith(const QString& path);

private:
    void chooseExportFile();
    void chooseComparison();

    SystemInfoStore& store_;
    std::string source_;
    QWidget* window_;
};

} // namespace veltrin
