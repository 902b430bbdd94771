#pragma once

// What differs between a capture (or a --json file) and what the window shows now,
// listed by area, identifiers masked; and the file dialog that picks the capture.

#include "state/snapshot_diff.h"

#include <QDialog>
#include <QFileDialog>

#include <vector>

class QLabel;
class QTreeWidget;

namespace veltrin {

class ComparisonDialog : public QDialog {
    Q_OBJECT
public:
    // `before` names what was opened; the differences run from it to the window's values.
    ComparisonDialog(const QString& before, std::vector<SnapshotDifference> differences, QWidget* parent = nullptr);

    const std::vector<SnapshotDifference>& differences() const { return differences_; }
    QTreeWidget* list() const { return list_; }
    QString headline() const;

private:
    std::vector<SnapshotDifference> differences_;
    QLabel* headline_;
    QTreeWidget* list_;
};

// Opens either a capture folder or a JSON file: a folder holding a capture's
// sysctl.txt is taken as it is (as is that sysctl.txt itself, for its folder),
// any other folder is opened to look inside.
class CaptureFileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit CaptureFileDialog(QWidget* parent = nullptr);
    // What was chosen: the capture folder or the JSON file; empty until accepted.
    QString chosen() const { return chosen_; }
    void accept() override;

private:
    QString chosen_;
};

} // namespace veltrin
