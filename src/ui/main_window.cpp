#include "ui/main_window.h"

#include "core/unicode_text.h"
#include "state/clipboard.h"
#include "state/system_info_store.h"
#include "ui/animated_header_icon.h"
#include "ui/elided_label.h"
#include "ui/labels.h"
#include "ui/overlay_scroll_bar.h"
#include "ui/platform_texts.h"
#include "ui/tab_page.h"
#include "ui/tab_views.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace veltrin {

std::string statusModelText(const MainboardInfo& mainboard)
{
    const std::string name = trimmed(mainboard.macModelName);
    const std::string identifier = trimmed(mainboard.macModel);
    if (!name.empty() && !identifier.empty())
        return name + " (" + identifier + ")";
    if (!name.empty())
        return name;
    if (!identifier.empty())
        return identifier;
    return mainboard.model;
}

namespace {

constexpr qreal kPanelRadius = 22;
constexpr int kPanelInset = 12;

// A horizontal band of the panel; its fill is clipped to the panel's rounded
// outline, so the top and bottom bands follow the corners.
class PanelBand : public QWidget {
public:
    using Fill = std::function<void(QPainter&, const QRectF&)>;
    PanelBand(Fill fill, QWidget* parent = nullptr) : QWidget(parent), fill_(std::move(fill)) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath panel;
        panel.addRoundedRect(QRectF(parentWidget()->rect()).translated(-pos()), kPanelRadius, kPanelRadius);
        painter.setClipPath(panel);
        fill_(painter, rect());
    }

private:
    Fill fill_;
};

PanelBand::Fill solidFill(QColor color)
{
    return [color](QPainter& painter, const QRectF& area) { painter.fillRect(area, color); };
}

class StatusDot : public QWidget {
public:
    explicit StatusDot(QWidget* parent = nullptr) : QWidget(parent) { setFixedSize(23, 23); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF dot(6, 6, 11, 11);
        glow_.paint(painter, dot, 5.5, 6, {}, Palette::withOpacity(Palette::statusDot(), 0.7));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::statusDot());
        painter.drawEllipse(dot);
    }

private:
    SoftShadow glow_;
};

QWidget* verticalDivider()
{
    auto* divider = new QWidget;
    divider->setFixedSize(1, 20);
    divider->setAutoFillBackground(true);
    QPalette palette = divider->palette();
    palette.setColor(QPalette::Window, Palette::white(0.14));
    divider->setPalette(palette);
    return divider;
}

ElidedLabel* statusValue(const QColor& color)
{
    auto* label = new ElidedLabel;
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setCursor(Qt::ArrowCursor);
    label->setFont(Fonts::system(13, QFont::Medium));
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred); // as wide as its text, narrower if need be
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace

// MainWindowView

MainWindowView::MainWindowView(SystemInfoStore& store, AppLinks links, Updater* updater, QWidget* parent)
    : MetalWindowBackground(parent), store_(store), links_(std::move(links)), updater_(updater),
      startupRefresh_(QtFuture::makeReadyFuture()), startupHistory_(QtFuture::makeReadyFuture())
{
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(kPanelInset, kPanelInset, kPanelInset, kPanelInset);
    panel_ = new QWidget;
    frame->addWidget(panel_);

    auto* stack = new QVBoxLayout(panel_);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(makeTopBar());
    stack->addWidget(makeTabBar());
    auto* divider = new PanelBand(solidFill(Palette::white(0.10)));
    divider->setFixedHeight(1);
    stack->addWidget(divider);

    content_ = new QScrollArea;
    content_->setFrameShape(QFrame::NoFrame);
    content_->setWidgetResizable(true);
    content_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    content_->viewport()->setAutoFillBackground(false);
    content_->setAutoFillBackground(false);
    content_->setFocusPolicy(Qt::NoFocus); // the Tab key goes from control to control, not to the area
    addOverlayScrollBar(*content_);
    stack->addWidget(content_, 1);
    stack->addWidget(makeStatusBar());

    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    connect(noticeTimer_, &QTimer::timeout, this, [this] {
        notice_.clear();
        render();
    });
    addTabShortcuts();

    new PublicationWatcher(store_, this, [this] { render(); });
    selection_ = AppTab::help; // anything else, so the first selection builds the CPU tab
    selectTab(AppTab::cpu);
    render();
}

QKeySequence tabShortcut(std::size_t index)
{
    if (index < 9)
        return QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + int(index)));
    if (index == 9)
        return QKeySequence(Qt::CTRL | Qt::Key_0);
    return {};
}

void MainWindowView::addTabShortcuts()
{
    for (std::size_t index = 0; index < kAppTabs.size(); ++index) {
        const QKeySequence shortcut = tabShortcut(index);
        if (shortcut.isEmpty())
            break;
        auto* action = new QAction(this);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, tab = kAppTabs[index].tab] { selectTab(tab); });
        addAction(action);
    }
}

void MainWindowView::stepTab(TabButton* from, int step)
{
    const auto at = std::ranges::find(tabButtons_, from);
    if (at == tabButtons_.end())
        return;
    const std::ptrdiff_t index = (at - tabButtons_.begin()) + step;
    if (index < 0 || index >= std::ptrdiff_t(tabButtons_.size()))
        return;
    TabButton* next = tabButtons_[std::size_t(index)];
    selectTab(next->tab());
    next->setFocus(Qt::TabFocusReason);
}

void MainWindowView::copySummary()
{
    copySummaryToClipboard(store_);
    showNotice(QStringLiteral("Summary copied"));
}

void MainWindowView::showNotice(const QString& notice)
{
    notice_ = notice;
    noticeTimer_->start(kNoticeMilliseconds);
    render();
}

QWidget* MainWindowView::makeTopBar()
{
    auto* bar = new PanelBand([](QPainter& painter, const QRectF& area) {
        QLinearGradient shade(area.topLeft(), area.bottomLeft());
        shade.setColorAt(0, Palette::white(0.07));
        shade.setColorAt(1, Palette::black(0.12));
        painter.fillRect(area, shade);
    });
    auto* row = new QHBoxLayout(bar);
    // The icon paints its glow in a margin of its own; the bar's padding makes room.
    constexpr int iconMargin = AnimatedHeaderIcon::kMargin;
    row->setContentsMargins(22 - iconMargin, 18 - iconMargin, 22, std::max(0, 14 - iconMargin));
    row->setSpacing(14);
    auto* brand = new QHBoxLayout;
    brand->setSpacing(14 - iconMargin);
    brand->addWidget(new AnimatedHeaderIcon(reduceMotionRequested()), 0, Qt::AlignVCenter);
    auto* identity = new QVBoxLayout;
    identity->setSpacing(0);
    identity->addWidget(makeLabel(QStringLiteral("Veltrin"), Fonts::system(34, QFont::Bold), Palette::metalText()));
    identity->addWidget(makeLabel(QStringLiteral("CPU & System Information Utility"), Fonts::system(14, QFont::Medium),
                                  Palette::metalMuted()));
    brand->addLayout(identity);
    brand->setAlignment(identity, Qt::AlignVCenter);
    row->addLayout(brand);
    row->addStretch(1);

    busy_ = new BusyIndicator;
    row->addWidget(busy_, 0, Qt::AlignVCenter);
    row->addSpacing(4);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4); // the faces end up 12 apart: each button keeps room for its shadow
    refresh_ = new MetalButton(QStringLiteral("Refresh"), QStringLiteral("arrow.clockwise"), {.prominent = false});
    copy_ = new MetalButton(QStringLiteral("Copy"), QStringLiteral("doc.on.doc"), {.prominent = false});
    donate_ = new MetalButton(QStringLiteral("PayPal"), QStringLiteral("heart.fill"), {.prominent = true});
    donate_->setSecondaryText(QStringLiteral("Donate"));
    for (MetalButton* button : {refresh_, copy_, donate_})
        buttons->addWidget(button, 0, Qt::AlignVCenter);
    row->addLayout(buttons);

    // The store ignores a refresh while one runs, so the button stays enabled.
    connect(refresh_, &QAbstractButton::clicked, this, [this] { store_.refreshAll(); });
    connect(copy_, &QAbstractButton::clicked, this, [this] { copySummary(); });
    connect(donate_, &QAbstractButton::clicked, this, [this] { QDesktopServices::openUrl(links_.donation); });
    return bar;
}

QWidget* MainWindowView::makeTabBar()
{
    auto* bar = new PanelBand(solidFill(Palette::black(0.16)));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(0);
    for (const AppTabInfo& info : kAppTabs) {
        auto* button = new TabButton(info.tab);
        connect(button, &QAbstractButton::clicked, this, [this, tab = info.tab] { selectTab(tab); });
        connect(button, &TabButton::stepRequested, this, [this, button](int step) { stepTab(button, step); });
        row->addWidget(button, 1);
        tabButtons_.push_back(button);
    }
    return bar;
}

QWidget* MainWindowView::makeStatusBar()
{
    auto* bar = new PanelBand(solidFill(Palette::black(0.18)));
    bar->setFixedHeight(44);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(22 - 6, 0, 22, 0); // the dot's glow needs 6 of the padding
    row->setSpacing(18);

    const auto pair = [](QLabel* key, QWidget* value) {
        auto* both = new QHBoxLayout;
        both->setSpacing(5);
        both->addWidget(key);
        both->addWidget(value, 1);
        return both;
    };
    const QFont font = Fonts::system(13, QFont::Medium);
    status_ = makeLabel({}, font, Palette::metalMuted());
    os_ = statusValue(Palette::metalText());
    model_ = statusValue(Palette::metalText());

    row->addWidget(new StatusDot);
    row->addLayout(pair(makeLabel(QStringLiteral("Status:"), Fonts::system(13, QFont::DemiBold), Palette::metalText()),
                        status_));
    row->addWidget(verticalDivider());
    osLabel_ = makeLabel({}, font, Palette::statusLabel());
    row->addLayout(pair(osLabel_, os_));
    row->addWidget(verticalDivider());
    row->addLayout(pair(makeLabel(QStringLiteral("Model:"), font, Palette::statusLabel()), model_));
    row->addStretch(1);
    row->addWidget(makeLabel(QStringLiteral("Veltrin v" VELTRIN_VERSION), font, Palette::metalMuted()));
    return bar;
}

void MainWindowView::render()
{
    const bool refreshing = store_.isRefreshing();
    busy_->setVisible(refreshing);
    // A fresh notice first, then the refresh, then a running benchmark.
    QString status = QStringLiteral("Ready");
    if (!notice_.isEmpty())
        status = notice_;
    else if (refreshing)
        status = QStringLiteral("Reading hardware\u2026");
    else if (!store_.benchProgress().empty())
        status = QStringLiteral("Benchmark running \u2014 ") + QString::fromStdString(store_.benchProgress());
    status_->setText(status);
    osLabel_->setText(QString::fromUtf8(platformTexts(shownPlatform(store_)).operatingSystem) + QLatin1Char(':'));
    os_->setFullText(QString::fromStdString(store_.mainboard().os));
    model_->setFullText(QString::fromStdString(statusModelText(store_.mainboard())));
}

void MainWindowView::selectTab(AppTab tab)
{
    if (tab == selection_)
        return;
    selection_ = tab;
    for (TabButton* button : tabButtons_)
        button->setSelected(button->tab() == tab);
    // The focus must not go down with the old view, nor stay on a tab no longer
    // selected, or the keyboard loses its place: it moves to the selected tab.
    QWidget* focused = QApplication::focusWidget();
    const bool focusInOldView = content_->widget() != nullptr && focused != nullptr &&
                                content_->widget()->isAncestorOf(focused);
    if (focusInOldView || qobject_cast<TabButton*>(focused) != nullptr)
        tabButton(tab)->setFocus(Qt::OtherFocusReason);
    content_->setWidget(makeTabView(tab, store_, links_, updater_)); // the old view goes with it
    content_->widget()->setAutoFillBackground(false);
    content_->verticalScrollBar()->setValue(0);
}

QWidget* MainWindowView::currentTabView() const { return content_->widget(); }

TabButton* MainWindowView::tabButton(AppTab tab) const
{
    const auto found = std::ranges::find(tabButtons_, tab, &TabButton::tab);
    return found == tabButtons_.end() ? nullptr : *found;
}

QString MainWindowView::statusText() const { return status_->text(); }
QString MainWindowView::osLabelText() const { return osLabel_->text(); }
QString MainWindowView::osText() const { return os_->fullText(); }
QString MainWindowView::modelText() const { return model_->fullText(); }

void MainWindowView::showEvent(QShowEvent* event)
{
    MetalWindowBackground::showEvent(event);
    if (shownBefore_)
        return;
    shownBefore_ = true;
    startupRefresh_ = store_.refreshAll();
    startupHistory_ = store_.loadBenchHistory();
}

void MainWindowView::paintEvent(QPaintEvent* event)
{
    MetalWindowBackground::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF panel = QRectF(panel_->geometry());
    panelShadow_.paint(painter, panel, kPanelRadius, 30, QPointF(0, 22), Palette::black(0.55));
    QPainterPath shape;
    shape.addRoundedRect(panel, kPanelRadius, kPanelRadius);
    // The translucent material: the background shows through, lifted a little.
    painter.fillPath(shape, QColor(34, 37, 46, 150));
    painter.setPen(QPen(Palette::white(0.16), 1));
    painter.drawPath(shape);
}

} // namespace veltrin
