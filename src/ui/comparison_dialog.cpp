#include "ui/comparison_dialog.h"

#include "platform/capture.h"
#include "state/clipboard.h"
#include "state/field_labels.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace veltrin {
namespace {

QString text(std::string_view value) { return QString::fromUtf8(value.data(), qsizetype(value.size())); }

QString shown(const std::optional<std::string>& value)
{
    if (!value)
        return QStringLiteral("(none)");
    return value->empty() ? QStringLiteral("(empty)") : text(*value);
}

QString captureKernelValues(const QString& folder) { return folder + QLatin1Char('/') + text(kKernelValuesFile); }

} // namespace

ComparisonDialog::ComparisonDialog(const QString& before, std::vector<SnapshotDifference> differences, QWidget* parent)
    : QDialog(parent), differences_(std::move(differences)), headline_(new QLabel), list_(new QTreeWidget)
{
    setWindowTitle(QStringLiteral("Comparison with ") + before);
    resize(820, 520);
    const qsizetype count = qsizetype(differences_.size());
    headline_->setText(count == 0 ? QStringLiteral("Nothing differs between %1 and what Veltrin shows now.").arg(before)
                       : count == 1 ? QStringLiteral("1 field differs between %1 and what Veltrin shows now.").arg(before)
                                    : QStringLiteral("%1 fields differ between %2 and what Veltrin shows now.")
                                          .arg(count)
                                          .arg(before));
    headline_->setTextFormat(Qt::PlainText);
    headline_->setWordWrap(true);

    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Field"), before, QStringLiteral("Now")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(false);
    list_->setWordWrap(true);
    // The field's name whole; the two values share what is left.
    list_->header()->setSectionResizeMode(QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    // One heading row per area, in the snapshot's order, its differences under it.
    QTreeWidgetItem* area = nullptr;
    std::string_view areaName;
    for (const SnapshotDifference& difference : differences_) {
        if (area == nullptr || difference.area() != areaName) {
            areaName = difference.area();
            area = new QTreeWidgetItem(list_, {text(labelOf(areaName))});
            area->setFirstColumnSpanned(true);
            QFont bold = area->font(0);
            bold.setBold(true);
            area->setFont(0, bold);
            area->setFlags(Qt::ItemIsEnabled);
        }
        auto* row = new QTreeWidgetItem(area, {text(differenceLabel(difference)), shown(difference.before),
                                               shown(difference.after)});
        // A long value is shortened to its column; its tooltip holds it whole.
        for (int column = 0; column < 3; ++column)
            row->setToolTip(column, column == 0 ? text(difference.key) : row->text(column));
    }
    list_->expandAll();
    list_->setVisible(count > 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* copy = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
    copy->setEnabled(count > 0);
    connect(copy, &QPushButton::clicked, this, [this] { copyTextToClipboard(differenceLines(differences_)); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headline_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
}

QString ComparisonDialog::headline() const { return headline_->text(); }

CaptureFileDialog::CaptureFileDialog(QWidget* parent) : QFileDialog(parent, QStringLiteral("Compare with Capture"))
{
    // The platform's own dialogs choose files or folders, never either one.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters({QStringLiteral("Captures and Veltrin JSON (*.json sysctl.txt)"), QStringLiteral("All files (*)")});
    setLabelText(QFileDialog::FileName, QStringLiteral("Capture or JSON:"));
    setLabelText(QFileDialog::Accept, QStringLiteral("Compare"));
}

void CaptureFileDialog::accept()
{
    const QStringList selected = selectedFiles();
    if (selected.size() == 1) {
        const QFileInfo choice(selected.front());
        if (choice.isDir() && QFileInfo::exists(captureKernelValues(choice.filePath())))
            chosen_ = choice.filePath();
        else if (choice.isFile() && choice.fileName() == text(kKernelValuesFile))
            chosen_ = choice.path();
        else if (choice.isFile())
            chosen_ = choice.filePath();
        if (!chosen_.isEmpty()) {
            QDialog::accept();
            return;
        }
    }
    QFileDialog::accept(); // another folder: look inside it
}

} // namespace veltrin
