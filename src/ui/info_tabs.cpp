#include "ui/info_tabs.h"

#include "core/fixed_decimal.h"
#include "state/system_info_store.h"
#include "ui/app_tab.h"
#include "ui/bench_charts.h"
#include "ui/card_grid.h"
#include "ui/elided_label.h"
#include "ui/glass_card.h"
#include "ui/labels.h"
#include "ui/metal_button.h"
#include "ui/platform_texts.h"
#include "ui/score_view.h"
#include "ui/section_header.h"
#include "ui/updater.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace veltrin {
namespace {

// A row of buttons under a card's rows, 4 points further down, the first face
// lined up with the card's text.
QHBoxLayout* buttonRow(std::initializer_list<MetalButton*> buttons)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(12 - kButtonShadowRoom.left() - kButtonShadowRoom.right()); // faces 12 apart
    for (MetalButton* button : buttons)
        layout->addWidget(button);
    (*buttons.begin())->setFlushLeft(true);
    layout->addStretch(1);
    return layout;
}

GlassCard* paragraphCard(const QString& title, const QString& text)
{
    auto* card = new GlassCard(title);
    card->addParagraph(text, Palette::metalMuted());
    return card;
}

} // namespace

// Bench

BenchTabView::BenchTabView(SystemInfoStore& store, QWidget* parent) : TabPageView(&store, parent) { rebuild(); }

namespace {

constexpr int kBenchColumnWidth = 480; // two score tiles side by side
constexpr std::size_t kChartedRuns = 12;
constexpr std::size_t kListedRuns = 6;

QString text(const std::string& value) { return QString::fromStdString(value); }

QString sentenceCase(const std::string& phrase)
{
    QString shown = text(phrase);
    if (!shown.isEmpty())
        shown[0] = shown[0].toUpper();
    return shown;
}

QString shortDate(const std::string& iso)
{
    const QDateTime date = QDateTime::fromString(text(iso), Qt::ISODate);
    return date.isValid() ? date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm")) : text(iso);
}

// A table cell: caption-sized, shortened rather than widening the card.
ElidedLabel* cell(const QString& value, const QColor& color, QFont::Weight weight = QFont::Normal)
{
    auto* label = new ElidedLabel(value);
    label->setFont(Fonts::system(Fonts::kCaption + 1, weight));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

GlassCard* roundTimesCard(const SystemInfoStore& store)
{
    const std::vector<BenchHistoryEntry>& history = store.benchHistory();
    std::vector<RoundTime> single;
    std::vector<RoundTime> multi;
    QString source;
    if (store.benchDetails()) {
        single = store.benchDetails()->singleRounds;
        multi = store.benchDetails()->multiRounds;
        source = QStringLiteral("The run just finished.");
    } else if (!history.empty() && !history.back().singleRounds.empty()) {
        single = history.back().singleRounds;
        multi = history.back().multiRounds;
        source = QStringLiteral("The last recorded run, ") + shortDate(history.back().date) + QStringLiteral(" UTC.");
    } else {
        return nullptr;
    }
    auto* card = new GlassCard(QStringLiteral("Round Times"));
    card->add(new RoundTimesChart(std::move(single), std::move(multi)));
    card->addParagraph(source + QStringLiteral(" Each dot is one round, above the dashed median line when it took "
                                               "longer; a steady machine keeps its dots close to the line."),
                       Palette::metalMuted(), false, Fonts::system(Fonts::kCaption));
    return card;
}

GlassCard* recentRunsCard(const SystemInfoStore& store)
{
    const std::vector<BenchHistoryEntry>& history = store.benchHistory();
    if (history.empty() && store.benchHistoryProblem().empty())
        return nullptr;
    auto* card = new GlassCard(QStringLiteral("Recent Runs"));
    if (!history.empty()) {
        const auto charted = history.end() - std::ptrdiff_t(std::min(history.size(), kChartedRuns));
        card->add(new RecentRunsChart({charted, history.end()}));

        auto* table = new QGridLayout;
        table->setContentsMargins(0, 0, 0, 0);
        table->setHorizontalSpacing(12);
        table->setVerticalSpacing(5);
        const QStringList headers{QStringLiteral("Date (UTC)"), QStringLiteral("Single"), QStringLiteral("Multi"),
                                  QStringLiteral("CV single / multi"), QStringLiteral("Threads"),
                                  QStringLiteral("Model")};
        for (int column = 0; column < headers.size(); ++column)
            table->addWidget(cell(headers[column], Palette::metalMuted(), QFont::DemiBold), 0, column);
        int row = 1;
        for (auto run = history.rbegin(); run != history.rend() && std::size_t(row) <= kListedRuns; ++run, ++row) {
            const QStringList values{shortDate(run->date),
                                     QString::number(run->singleThread),
                                     QString::number(run->multiThread),
                                     QString::fromStdString(fixedDecimal(run->singleCV, 1) + "% / " +
                                                            fixedDecimal(run->multiCV, 1) + "%"),
                                     QString::number(run->threads),
                                     text(run->model)};
            for (int column = 0; column < values.size(); ++column)
                table->addWidget(cell(values[column], Palette::metalText()), row, column);
        }
        table->setColumnStretch(5, 1);
        card->add(table);
    }
    if (!store.benchHistoryProblem().empty())
        card->addHardwareText(text(store.benchHistoryProblem()), Palette::metalMuted(), Fonts::system(Fonts::kCaption));
    return card;
}

} // namespace

void BenchTabView::build(QVBoxLayout& column)
{
    const BenchResult& bench = store_->bench();
    column.addWidget(new SectionHeader(
        QStringLiteral("Bench"), QStringLiteral("Stable CPU benchmark with warm-up, long calibrated rounds and trimmed scoring")));

    auto* card = new GlassCard(QStringLiteral("CPU Benchmark"));
    auto* tiles = new QWidget;
    auto* tileRow = new QHBoxLayout(tiles);
    tileRow->setContentsMargins(0, 0, 0, 0);
    tileRow->setSpacing(12);
    tileRow->addWidget(new ScoreView(QStringLiteral("Single Thread"), bench.singleThread, bench.singleTime));
    tileRow->addWidget(new ScoreView(QStringLiteral("Multi Thread"), bench.multiThread, bench.threads));
    tileRow->addStretch(1);
    card->add(tiles);

    card->addRow(QStringLiteral("Status"), bench.status);
    // Where a running benchmark stands; the scores above stay those of the last run until it ends.
    if (!store_->benchProgress().empty())
        card->addRow(QStringLiteral("Progress"), sentenceCase(store_->benchProgress()).toStdString());
    card->addRow(QStringLiteral("Stability"), bench.stability);
    card->addRow(QStringLiteral("Throughput"), bench.multiTime);
    // A sentence rather than a value: it wraps instead of losing its middle.
    card->addRow(QStringLiteral("Method"), bench.method, false, ValueLayout::wrapped);

    // Not disabled during a run: the Status row shows it, and runs may overlap.
    auto* run = new MetalButton(QStringLiteral("Run Benchmark"), QStringLiteral("play.fill"), {.prominent = true});
    connect(run, &QAbstractButton::clicked, this, [this] { store_->runBenchmark(); });
    card->add(buttonRow({run}));

    CardGridLayout* grid = CardGridLayout::adaptive(kBenchColumnWidth, 14);
    grid->addWidget(card);
    for (GlassCard* chart : {roundTimesCard(*store_), recentRunsCard(*store_)})
        if (chart != nullptr)
            grid->addWidget(chart);
    // The benchmark measures the machine this program runs on, whatever the window shows.
    grid->addWidget(paragraphCard(
        QStringLiteral("Scoring Notes"),
        QStringLiteral("Scores are Veltrin points from a fixed integer workload. The runner now warms up the CPU, "
                       "calibrates each test to run for about one second or more, repeats 11 single-thread and 9 "
                       "multi-thread rounds, drops outliers and reports a trimmed average. The Stability field shows "
                       "coefficient of variation; lower is better. For best consistency, close heavy apps, ") +
            QString::fromUtf8(platformTexts(buildPlatform()).benchPower) +
            QStringLiteral(" and run after the system is idle.")));
    column.addLayout(grid);
}

// About

AboutTabView::AboutTabView(AppLinks links, Updater* updater, QWidget* parent)
    : TabPageView(nullptr, parent), links_(std::move(links)), updater_(updater)
{
    rebuild();
}

void AboutTabView::build(QVBoxLayout& column)
{
    const PlatformTexts& texts = platformTexts(buildPlatform());
    column.addWidget(new SectionHeader(QStringLiteral("About"), QString::fromUtf8(texts.aboutSubtitle)));

    auto* application = new GlassCard(QStringLiteral("Application"));
    application->addRow(QStringLiteral("App"), "Veltrin");
    application->addRow(QStringLiteral("Author"), links_.authorCredit.toStdString());
    application->addRow(QStringLiteral("Email"), links_.authorEmail.toStdString());
    application->addRow(QStringLiteral("Theme"), "Dark metallic glass");
    // Long enough to wrap in the About window rather than lose its middle.
    application->addRow(QStringLiteral("Backend"), texts.backend, false, ValueLayout::wrapped);
    // A build without an updater claims none, and says why.
    application->addRow(QStringLiteral("Updates"), updater_ != nullptr ? updater_->description() : texts.noUpdater,
                        false, ValueLayout::wrapped);

    auto* donate = new MetalButton(QStringLiteral("PayPal Donate"), QStringLiteral("heart.fill"), {.prominent = true});
    auto* email = new MetalButton(QStringLiteral("Email"), QStringLiteral("envelope"), {.prominent = false});
    connect(donate, &QAbstractButton::clicked, this, [this] { QDesktopServices::openUrl(links_.donation); });
    connect(email, &QAbstractButton::clicked, this, [this] { QDesktopServices::openUrl(links_.email); });
    if (updater_ != nullptr) {
        auto* check = new MetalButton(QStringLiteral("Check for Updates\u2026"), QStringLiteral("arrow.down.circle"),
                                      {.prominent = false});
        connect(check, &QAbstractButton::clicked, this, [this] { updater_->checkForUpdates(); });
        application->add(buttonRow({donate, email, check}));
    } else {
        application->add(buttonRow({donate, email}));
    }
    column.addWidget(application);

    column.addWidget(paragraphCard(QStringLiteral("What Veltrin does"), QString::fromUtf8(texts.aboutDescription)));
    const QString updates = updater_ != nullptr
                                ? QStringLiteral("Sparkle only checks the configured update feed when update checking "
                                                 "is used.")
                                : QStringLiteral("This build has no update mechanism and opens no network connection.");
    column.addWidget(paragraphCard(
        QStringLiteral("Privacy and permissions"),
        QStringLiteral("Veltrin does not request camera, microphone, contacts, calendar or location access. It does "
                       "not collect, send or store user hardware reports. ") +
            updates + QLatin1Char(' ') + QString::fromUtf8(texts.privacyAccess)));
}

// Help

HelpTabView::HelpTabView(Updater* updater, QWidget* parent) : TabPageView(nullptr, parent), updater_(updater)
{
    rebuild();
}

void HelpTabView::build(QVBoxLayout& column)
{
    const PlatformTexts& texts = platformTexts(buildPlatform());
    column.addWidget(new SectionHeader(QStringLiteral("Help"), QStringLiteral("How to use Veltrin")));
    column.addWidget(paragraphCard(QStringLiteral("Overview"), QString::fromUtf8(texts.helpOverview)));

    auto* tabs = new GlassCard(QStringLiteral("Tabs"));
    const bool mac = buildPlatform() == Platform::mac;
    for (const AppTabInfo& info : kAppTabs) {
        const std::string_view help = mac || info.helpElsewhere.empty() ? info.help : info.helpElsewhere;
        if (!help.empty())
            tabs->addRow(fromUtf8(info.title), help);
    }
    column.addWidget(tabs);

    const QString updates = updater_ != nullptr
                                ? QStringLiteral("Use Check for Updates from the app menu to manually check Sparkle "
                                                 "updates.")
                                : QStringLiteral("Check for Updates is not available. ") +
                                      QString::fromUtf8(texts.noUpdater);
    column.addWidget(paragraphCard(
        QStringLiteral("Tips"),
        QStringLiteral("Use Refresh after hardware-related changes or after adding dmidecode. ") + updates +
            QStringLiteral(" Use Copy to copy a summary of the current system. For the most stable benchmark results, "
                           "let the system idle for a moment, close heavy background tasks, and run the benchmark "
                           "twice.")));
    column.addWidget(paragraphCard(QStringLiteral("Notes"), QString::fromUtf8(texts.helpNotes)));
}

} // namespace veltrin
