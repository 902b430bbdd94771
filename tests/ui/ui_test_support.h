#pragma once

// Shared by the interface tests: readable failure messages for Qt strings, and
// ways to read back what a tab shows.

#include "state/system_info_store.h"
#include "ui/glass_card.h"

#include "../state/qt_test_support.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>
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

inline QStringList rowLabels(const QWidget* card)
{
    QStringList labels;
    for (const ShownRow& row : rowsOf(card))
        labels << row.first;
    return labels;
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
