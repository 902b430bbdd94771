#include "ui/bench_charts.h"

#include "core/fixed_decimal.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>

namespace veltrin {
namespace {

constexpr qreal kDotRadius = 4;
constexpr qreal kTitleHeight = 34;
constexpr qreal kAxisWidth = 50;
constexpr qreal kPanelGap = 22;

QString number(double value, int digits) { return QString::fromStdString(fixedDecimal(value, digits)); }

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void drawDot(QPainter& painter, QPointF at, bool trimmed)
{
    if (trimmed) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Palette::metalMuted(), 1.5));
    } else {
        painter.setBrush(Palette::accentBlue().lighter(125));
        painter.setPen(QPen(Palette::white(0.55), 1));
    }
    painter.drawEllipse(at, kDotRadius, kDotRadius);
}

// The band of ± the scale around the median: a faint panel, the dashed median
// line through it, and the three labels in a column of kAxisWidth to its left.
// Returns where a value `deviation` percent off the median goes, clamped to the band.
std::function<qreal(double)> paintBand(QPainter& painter, const QRectF& plot, double scalePercent)
{
    const qreal middle = plot.center().y();
    const qreal half = plot.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::white(0.04));
    painter.drawRoundedRect(plot, 6, 6);
    painter.setPen(QPen(Palette::white(0.22), 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), middle), QPointF(plot.right(), middle));

    painter.setFont(Fonts::system(Fonts::kCaption));
    painter.setPen(Palette::metalMuted());
    const QString scale = number(scalePercent, 0);
    const QRectF labels(plot.left() - kAxisWidth, plot.top() - 7, kAxisWidth - 6, 14);
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("+") + scale + QStringLiteral("%"));
    painter.drawText(labels.translated(0, half), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    painter.drawText(labels.translated(0, 2 * half), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("\u2212") + scale + QStringLiteral("%"));
    return [middle, half, scalePercent](double deviation) {
        return middle - std::clamp(deviation, -scalePercent, scalePercent) / scalePercent * (half - kDotRadius - 1);
    };
}

// Where the `index`-th of `count` points goes across `plot`: evenly from edge to
// edge, a single one in the middle.
qreal pointX(const QRectF& plot, std::size_t index, std::size_t count)
{
    if (count == 1)
        return plot.center().x();
    return plot.left() + 2 * kDotRadius + (plot.width() - 4 * kDotRadius) / qreal(count - 1) * qreal(index);
}

// One series: its title and median above, a band of ± the scale around the
// median line, and one dot per round from left to right.
void paintSeries(QPainter& painter, const QRectF& area, const QString& title, const std::vector<RoundTime>& rounds)
{
    const MedianSpread spread = roundSpread(rounds);
    painter.setPen(Palette::cardTitle());
    painter.setFont(Fonts::system(Fonts::kBody, QFont::DemiBold));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), 18), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setPen(Palette::metalMuted());
    painter.setFont(Fonts::system(Fonts::kCaption));
    const QString caption = rounds.empty() ? QStringLiteral("no rounds")
                                           : QStringLiteral("%1 rounds \u00b7 median %2 s")
                                                 .arg(rounds.size())
                                                 .arg(number(spread.median, 3));
    painter.drawText(QRectF(area.left(), area.top() + 17, area.width(), 16), Qt::AlignLeft | Qt::AlignVCenter, caption);

    const QRectF plot(area.left() + kAxisWidth, area.top() + kTitleHeight + 6, area.width() - kAxisWidth,
                      area.height() - kTitleHeight - 12);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    // Longer rounds sit higher: a slow round stands out above the line.
    const auto y = paintBand(painter, plot, spread.scalePercent);
    for (std::size_t index = 0; index < rounds.size(); ++index)
        drawDot(painter, QPointF(pointX(plot, index, rounds.size()), y(spread.deviationPercent[index])),
                rounds[index].trimmed);
}

} // namespace

MedianSpread medianSpread(const std::vector<double>& values)
{
    MedianSpread spread;
    spread.median = median(values);
    double largest = 0;
    for (const double value : values) {
        const double deviation = spread.median > 0 ? (value / spread.median - 1) * 100 : 0;
        spread.deviationPercent.push_back(deviation);
        largest = std::max(largest, std::fabs(deviation));
    }
    // A round number of percent that reaches the farthest value.
    constexpr double scales[] = {2, 5, 10, 20, 50, 100, 200, 500, 1000};
    spread.scalePercent = scales[std::size(scales) - 1];
    for (const double scale : scales) {
        // A value 10 % off comes out as 10.000000000000009 and still belongs on the 10 % scale.
        if (largest <= scale * (1 + 1e-9)) {
            spread.scalePercent = scale;
            break;
        }
    }
    return spread;
}

MedianSpread roundSpread(const std::vector<RoundTime>& rounds)
{
    std::vector<double> seconds;
    for (const RoundTime& round : rounds)
        seconds.push_back(round.seconds);
    return medianSpread(seconds);
}

MedianSpread scoreSpread(const std::vector<BenchHistoryEntry>& runs, std::int64_t BenchHistoryEntry::*score)
{
    std::vector<double> scores;
    for (const BenchHistoryEntry& run : runs)
        scores.push_back(double(run.*score));
    return medianSpread(scores);
}

RoundTimesChart::RoundTimesChart(std::vector<RoundTime> single, std::vector<RoundTime> multi, QWidget* parent)
    : QWidget(parent), single_(std::move(single)), multi_(std::move(multi))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
}

void RoundTimesChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal legendHeight = 18;
    const QRectF charts(0, 0, width(), height() - legendHeight);
    // Eleven single-thread rounds get a little more room than nine multi-thread ones.
    const qreal total = qreal(std::max<std::size_t>(1, single_.size() + multi_.size()));
    const qreal singleWidth = (charts.width() - kPanelGap) * std::max<qreal>(0.3, qreal(single_.size()) / total);
    paintSeries(painter, QRectF(0, 0, singleWidth, charts.height()), QStringLiteral("Single thread"), single_);
    paintSeries(painter, QRectF(singleWidth + kPanelGap, 0, charts.width() - singleWidth - kPanelGap, charts.height()),
                QStringLiteral("Multi thread"), multi_);

    // The legend: what the two kinds of dot mean.
    painter.setFont(Fonts::system(Fonts::kCaption));
    const qreal y = height() - legendHeight / 2;
    qreal x = kAxisWidth + kDotRadius;
    const auto entry = [&](bool trimmed, const QString& text) {
        drawDot(painter, QPointF(x, y), trimmed);
        painter.setPen(Palette::metalMuted());
        const qreal width = QFontMetricsF(painter.font()).horizontalAdvance(text);
        painter.drawText(QRectF(x + 2 * kDotRadius, y - 8, width + 2, 16), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += 2 * kDotRadius + width + 18;
    };
    entry(false, QStringLiteral("scored round"));
    entry(true, QStringLiteral("trimmed as an outlier"));
}

RecentRunsChart::RecentRunsChart(std::vector<BenchHistoryEntry> runs, QWidget* parent)
    : QWidget(parent), runs_(std::move(runs))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
}

void RecentRunsChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal labelWidth = 96;
    const qreal rowHeight = height() / 2.0;
    struct Line {
        QString name;
        std::int64_t BenchHistoryEntry::*score;
        QColor color;
    };
    const Line lines[] = {
        {QStringLiteral("Single thread"), &BenchHistoryEntry::singleThread, Palette::accentBlue().lighter(130)},
        {QStringLiteral("Multi thread"), &BenchHistoryEntry::multiThread, Palette::cardTitle()},
    };
    for (std::size_t lineIndex = 0; lineIndex < std::size(lines); ++lineIndex) {
        const Line& line = lines[lineIndex];
        const QRectF row(0, rowHeight * qreal(lineIndex), width(), rowHeight);
        painter.setFont(Fonts::system(Fonts::kCaption));
        painter.setPen(Palette::metalMuted());
        painter.drawText(QRectF(row.left(), row.top() + 6, labelWidth, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         line.name);
        painter.setPen(Palette::metalText());
        painter.setFont(Fonts::system(Fonts::kBody, QFont::DemiBold));
        const QString latest = runs_.empty() ? QStringLiteral("\u2014") : QString::number(runs_.back().*line.score);
        painter.drawText(QRectF(row.left(), row.top() + 22, labelWidth, 18), Qt::AlignLeft | Qt::AlignVCenter, latest);

        const QRectF plot(labelWidth + kAxisWidth, row.top() + 10, row.width() - labelWidth - kAxisWidth - 6,
                          row.height() - 20);
        // Higher scores sit higher: a drop stands out below the median line.
        const MedianSpread spread = scoreSpread(runs_, line.score);
        const auto y = paintBand(painter, plot, spread.scalePercent);
        QPainterPath path;
        std::vector<QPointF> points;
        for (std::size_t index = 0; index < runs_.size(); ++index) {
            const QPointF point(pointX(plot, index, runs_.size()), y(spread.deviationPercent[index]));
            points.push_back(point);
            index == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(line.color, 2));
        painter.drawPath(path);
        painter.setBrush(line.color);
        painter.setPen(Qt::NoPen);
        for (const QPointF& point : points)
            painter.drawEllipse(point, 3, 3);
    }
}

} // namespace veltrin
