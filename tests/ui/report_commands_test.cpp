#include "state/snapshot_file.h"
#include "ui/comparison_dialog.h"
#include "ui/desktop_application.h"
#include "ui/report_commands.h"

#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace veltrin;
using namespace veltrin::testing;

namespace {

// The window's application, showing `name` as its first refresh published it.
std::unique_ptr<VeltrinApp> appShowing(const std::string& name)
{
    auto app = std::make_unique<VeltrinApp>([snapshot = capturedSnapshot(name)] { return snapshot; }, noBenchmark(),
                                            nullptr, AppLinks{}, SystemInfoStore::HistoryReader{},
                                            reportSource(capturePath(name)));
    EXPECT_TRUE(waitFor(app->store().refreshAll()));
    return app;
}

QStringList titlesOf(const QMenu* menu)
{
    QStringList titles;
    for (const QAction* action : menu->actions())
        titles << action->text();
    return titles;
}

QMenu* menuTitled(const QMainWindow& window, const QString& title)
{
    for (QAction* action : window.menuBar()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(ReportCommands, SitInTheFileMenuAndBesideCopySummary)
{
    auto app = appShowing("mbp15-1-i7-8750h");
    const ReportCommands& reports = *app->commands().reports;
    const QMenu* file = menuTitled(app->mainWindow(), QStringLiteral("File"));
    const QMenu* tools = menuTitled(app->mainWindow(), QStringLiteral("Tools"));
    ASSERT_TRUE(file && tools);
    EXPECT_TRUE(titlesOf(file).contains(QStringLiteral("Export Report\u2026")));
    EXPECT_TRUE(titlesOf(file).contains(QStringLiteral("Compare with Capture\u2026")));
    const QStringList toolTitles = titlesOf(tools);
    EXPECT_EQ(toolTitles.indexOf(QStringLiteral("Copy Report")), toolTitles.indexOf(QStringLiteral("Copy Summary")) + 1);
    EXPECT_EQ(reports.exportReport->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_TRUE(app->mainWindow().actions().contains(reports.exportReport));
}

TEST(ReportCommands, CopyAndExportTheMaskedReportOfWhatTheWindowShows)
{
    auto app = appShowing("long-values-composite");
    ReportCommands& reports = *app->commands().reports;
    reports.copyReport->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("# Veltrin Hardware Report\n")));
    EXPECT_TRUE(copied.contains(QStringLiteral("| Source | Replayed capture long-values-composite |")));
    EXPECT_TRUE(copied.contains(QStringLiteral("\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022Q6L8")));
    EXPECT_FALSE(copied.contains(QStringLiteral("FVFF91M9Q6L8")));

    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    std::string error;
    ASSERT_TRUE(reports.exportTo(scratch.filePath(QStringLiteral("post.html")), error)) << error;
    ASSERT_TRUE(reports.exportTo(scratch.filePath(QStringLiteral("post.md")), error)) << error;
    EXPECT_TRUE(readAll(scratch.filePath(QStringLiteral("post.html"))).startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(readAll(scratch.filePath(QStringLiteral("post.md"))).startsWith(QStringLiteral("# Veltrin")));
    EXPECT_FALSE(reports.exportTo(scratch.filePath(QStringLiteral("no/such/folder/post.md")), error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

TEST(ReportCommands, CompareWithACaptureListsWhatDiffersByArea)
{
    auto app = appShowing("opencore-asrock-z390-nvram-hidden");
    ReportCommands& reports = *app->commands().reports;

    auto* dialog = qobject_cast<ComparisonDialog*>(
        reports.compareWith(QString::fromStdString(capturePath("opencore-asrock-z390-phantom-itx-i7-9700"))));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->headline(), QStringLiteral("2 fields differ between opencore-asrock-z390-phantom-itx-i7-9700 "
                                                 "and what Veltrin shows now."));
    const QTreeWidget* list = dialog->list();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    const QTreeWidgetItem* area = list->topLevelItem(0);
    EXPECT_EQ(area->text(0), QStringLiteral("Mainboard"));
    ASSERT_EQ(area->childCount(), 2);
    EXPECT_EQ(area->child(1)->text(0), QStringLiteral("OpenCore"));
    EXPECT_EQ(area->child(1)->text(1), QStringLiteral("(empty)"));
    EXPECT_EQ(area->child(1)->text(2), QStringLiteral("0.6.6 (release, 2021-02-02)"));
    dialog->close();

    auto* same = qobject_cast<ComparisonDialog*>(
        reports.compareWith(QString::fromStdString(capturePath("opencore-asrock-z390-nvram-hidden"))));
    ASSERT_NE(same, nullptr);
    EXPECT_TRUE(same->headline().startsWith(QStringLiteral("Nothing differs")));
    same->close();

    auto* refused = qobject_cast<QMessageBox*>(reports.compareWith(QString::fromUtf8(VELTRIN_FIXTURES)));
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(refused->text().endsWith(QStringLiteral("is not a capture folder: it holds no file a capture writes")));
    refused->close();
}

TEST(CaptureFileDialog, TakesACaptureFolderOrItsKernelValuesOrAJsonFile)
{
    struct Case {
        QString selected;
        QString chosen;
    };
    const QString folder = QString::fromStdString(capturePath("mbp15-1-i7-8750h"));
    const Case cases[] = {
        {folder, folder},
        {folder + QStringLiteral("/sysctl.txt"), folder},
        {QString::fromStdString(capturePath("long-values-composite")) + QStringLiteral("/bench-history.json"),
         QString::fromStdString(capturePath("long-values-composite")) + QStringLiteral("/bench-history.json")},
    };
    for (const Case& c : cases) {
        CaptureFileDialog dialog;
        dialog.selectFile(c.selected);
        dialog.accept();
        EXPECT_EQ(dialog.chosen(), c.chosen) << c.selected.toStdString();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    // Any other folder is opened to look inside, not taken.
    CaptureFileDialog browsing;
    browsing.selectFile(QString::fromUtf8(VELTRIN_FIXTURES));
    browsing.accept();
    EXPECT_TRUE(browsing.chosen().isEmpty());
}
