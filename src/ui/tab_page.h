#pragma once

// What every tab has in common: it keeps no hardware data of its own and builds
// its whole content from the store, again each time the store publishes.

#include "ui/theme.h"

#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace veltrin {

class SystemInfoStore;

// Calls `render` once on the next turn of the event loop after the store
// announces changes. The store announces each property just before it changes,
// and one refresh announces four in a row: rendering later sees them all.
class PublicationWatcher : public QObject {
    Q_OBJECT
public:
    PublicationWatcher(SystemInfoStore& store, QObject* owner, std::function<void()> render);

private:
    std::function<void()> render_;
    bool pending_ = false;
};

class TabPageView : public QWidget {
    Q_OBJECT
public:
    // `store` may be null for pages that show fixed texts only.
    explicit TabPageView(SystemInfoStore* store, QWidget* parent = nullptr);

protected:
    // Fills a fresh column (leading-aligned, 16 apart) with the header and cards.
    virtual void build(QVBoxLayout& column) = 0;
    // Throws the old content away and builds it anew; derived constructors call it once.
    void rebuild();
    void paintEvent(QPaintEvent* event) override;

    SystemInfoStore* const store_;

private:
    QVBoxLayout* frame_;
    QWidget* content_ = nullptr;
    SoftShadow shadow_;
};

} // namespace veltrin
