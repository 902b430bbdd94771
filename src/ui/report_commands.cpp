#include "ui/report_commands.h"

#include "state/clipboard.h"
#include "state/snapshot_file.h"
#include "state/system_info_store.h"
#include "ui/comparison_dialog.h"
#include "ui/menu_command.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace veltrin {
namespace {

QDialog* openWithoutWaiting(QDialog* dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

} // namespace

ReportCommands::ReportCommands(SystemInfoStore& store, std::string source, QWidget* window, QObject* parent)
    : QObject(parent),
      exportReport(makeAction(QStringLiteral("Export Report\u2026"), this, [this] { chooseExportFile(); })),
      copyReport(makeAction(QStringLiteral("Copy Report"), this,
                             [this] { copyTextToClipboard(report(ReportFormat::markdown)); })),
      compareWithCapture(makeAction(QStringLiteral("Compare with Capture\u2026"), this, [this] { chooseComparison(); })),
      store_(store),
      source_(std::move(source)),
      window_(window)
{
    // Qt reads Ctrl as the Command key on macOS.
    exportReport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
}

std::string ReportCommands::report(ReportFormat format) const
{
    const ReportContext context{VELTRIN_VERSION, reportDateNow(), source_, latestRun(store_.benchHistory()), true};
    return reportText(store_.snapshot(), context, format);
}

bool ReportCommands::exportTo(const QString& path, std::string& error) const
{
    const std::string file = path.toStdString();
    return writeReportFile(file, report(reportFormatFor(file)), error);
}

QDialog* ReportCommands::compareWith(const QString& path)
{
    const SnapshotRead read = readSnapshot(path.toStdString());
    if (!read.snapshot) {
        return openWithoutWaiting(new QMessageBox(QMessageBox::Warning, QStringLiteral("Compare with Capture"),
                                                  QString::fromStdString(read.problem), QMessageBox::Ok, window_));
    }
    return openWithoutWaiting(new ComparisonDialog(QFileInfo(path).fileName(),
                                                   snapshotDifferences(*read.snapshot, store_.snapshot(), true),
                                                   window_));
}

void ReportCommands::chooseExportFile()
{
    QFileDialog dialog(window_, QStringLiteral("Export Report"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("Markdown (*.md)"), QStringLiteral("HTML (*.html)")});
    dialog.setDefaultSuffix(QStringLiteral("md"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(QStringLiteral("Veltrin Report.md"));
    // A name typed without an ending takes the chosen kind's.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains(QStringLiteral("html")) ? QStringLiteral("html") : QStringLiteral("md"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    std::string error;
    if (!exportTo(dialog.selectedFiles().front(), error))
        QMessageBox::warning(window_, QStringLiteral("Export Report"), QString::fromStdString(error));
}

void ReportCommands::chooseComparison()
{
    CaptureFileDialog dialog(window_);
    if (dialog.exec() == QDialog::Accepted && !dialog.chosen().isEmpty())
        compareWith(dialog.chosen());
}

} // namespace veltrin
