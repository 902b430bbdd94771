#pragma once

// Shared by the interface tests: readable failure messages for Qt strings, and
// ways to read back what a tab shows.

#include "platform/replay_machine.h"
#include "probe/system_probe.h"
#include "state/system_info_store.h"
#include "ui/elided_label.h"
#include "ui/glass_card.h"

#include "../state/qt_test_support.h"

#include <QString>
#include <QStringList>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace veltrin::testing {

using ShownRow = std::pair<QString, QString>;

inline std::vector<GlassCard*> cardsOf(const QWidget* view)
{
    const QList<GlassCard*> cards = view->findChildren<GlassCard*>();
    return {cards.begin(), cards.end()};
}

inline QStringList cardTitles(const QWidget* view)
{
    QStringList titles;
    for (const GlassCard* card : view->findChildren<GlassCard*>())
        titles << card->title();
    return titles;
}

inline GlassCard* cardTitled(const QWidget* view, const QString& title)
{
    for (GlassCard* card : view->findChildren<GlassCard*>())
        if (card->title() == title)
            return card;
    return nullptr;
}

// The rows a card shows, in order, with the text each shows as its value.
inline std::vector<ShownRow> rowsOf(const QWidget* card)
{
    std::vector<ShownRow> rows;
    for (const QWidget* child : card->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (const auto* row = qobject_cast<const InfoRow*>(child))
            rows.emplace_back(row->label(), row->value());
        else if (const auto* sensitive = qobject_cast<const SensitiveInfoRow*>(child))
            rows.emplace_back(sensitive->label(), sensitive->shownValue());
    }
    return rows;
}

// Every text `view` shows, whole (a shortened line by its full text), one per line.
inline QString textsOf(const QWidget* view)
{
    QStringList texts;
    for (const QLabel* label : view->findChildren<QLabel*>()) {
        const auto* elided = qobject_cast<const ElidedLabel*>(label);
        texts << (elided != nullptr ? elided->fullText() : label->text());
    }
    for (const QTextEdit* text : view->findChildren<QTextEdit*>())
        texts << text->toPlainText();
    return texts.join(QLatin1Char('\n'));
}

inline QStringList rowLabels(const QWidget* card)
{
    QStringList labels;
    for (const ShownRow& row : rowsOf(card))
        labels << row.first;
    return labels;
}

// What `veltrin --replay` shows for a capture of the fixture folder.
inline SystemSnapshot replayedSnapshot(const std::string& capture)
{
    std::string error;
    const auto machine = ReplayMachine::open(std::string(VELTRIN_FIXTURES) + "/captures/" + capture, error);
    EXPECT_TRUE(machine) << error;
    return machine ? SystemProbe::collect(*machine) : SystemSnapshot{};
}

// A store that has published `snapshot` once.
inline std::unique_ptr<SystemInfoStore> publishedStore(const SystemSnapshot& snapshot,
                                                       SystemInfoStore::BenchmarkRunner benchmark = noBenchmark())
{
    auto store = std::make_unique<SystemInfoStore>([snapshot] { return snapshot; }, std::move(benchmark));
    waitFor(store->refreshAll());
    return store;
}

} // namespace veltrin::testing
