#include "ui/components.h"
#include "ui/icons.h"
#include "ui/preferences.h"

#include "ui_test_support.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

using namespace veltrin;

namespace {

QString bullets(int count) { return QString(count, QChar(0x2022)); }

std::string repeated(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

struct MaskCase {
    std::string value;
    int bullets;
};

void PrintTo(const MaskCase& maskCase, std::ostream* out) { *out << maskCase.value; }

class MaskLength : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskLength, CountsUserPerceivedCharactersClampedToEightToSixteen)
{
    EXPECT_EQ(maskedValue(GetParam().value), bullets(GetParam().bullets)) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, MaskLength,
    ::testing::Values(MaskCase{"7C8F3A2E-1B4D-4E6F-9A0B-2C3D4E5F6A7B", 16}, MaskCase{"C02X", 8},
                      MaskCase{"12345678", 8}, MaskCase{"C02XK1JHJG5J", 12}, MaskCase{repeated("a", 16), 16},
                      MaskCase{repeated("a", 17), 16},
                      // One family emoji is one character however many code points it takes.
                      MaskCase{repeated("\U0001F468\u200D\U0001F469\u200D\U0001F467", 10), 10},
                      // A decomposed é is one character too.
                      MaskCase{repeated("e\u0301", 9), 9}));

TEST(Rows, APlaceholderValueMakesNoRowAndTakesNoSpace)
{
    GlassCard card(QStringLiteral("Card"));
    const int itemsBefore = card.layout()->count();
    bool hidden = true;
    const BoolBinding binding{[&] { return hidden; }, [&](bool value) { hidden = value; }};
    for (const char* placeholder : {"", "\u2014", "Unknown", "To Be Filled By O.E.M."}) {
        EXPECT_EQ(InfoRow::create(QStringLiteral("Label"), placeholder), nullptr) << placeholder;
        EXPECT_EQ(SensitiveInfoRow::create(QStringLiteral("Label"), placeholder, binding), nullptr) << placeholder;
        EXPECT_EQ(card.addRow(QStringLiteral("Label"), placeholder), nullptr);
        EXPECT_EQ(card.addSensitiveRow(QStringLiteral("Label"), placeholder, binding), nullptr);
    }
    EXPECT_EQ(card.layout()->count(), itemsBefore);

    InfoRow* row = card.addRow(QStringLiteral("Type"), "DDR4", true);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->label(), QStringLiteral("Type"));
    EXPECT_EQ(row->value(), QStringLiteral("DDR4"));
    EXPECT_EQ(card.findChildren<CardRow*>().size(), 1);
}

// Shortening is for the eye: whatever way a value is copied, the clipboard gets all of it.
TEST(Rows, CopyingAShortenedValueGivesTheWholeValue)
{
    const QString kernel =
        QStringLiteral("Darwin Kernel Version 20.1.0: Sat Oct 31 00:07:11 PDT 2020; root:xnu-7195.50.7~2/RELEASE_X86_64");
    struct Case {
        const char* name;
        int width;
        int selected; // characters selected from the start; 0 selects nothing
        bool menu;    // the context menu's Copy rather than the copy key
        QString copied;
    };
    const Case cases[] = {
        {"shortened, a part selected, copy key", 420, 6, false, kernel},
        {"shortened, nothing selected, copy key", 420, 0, false, kernel},
        {"shortened, a part selected, context menu", 420, 6, true, kernel},
        {"whole, a part selected, copy key", 1400, 6, false, QStringLiteral("Darwin")},
        {"whole, nothing selected, context menu", 1400, 0, true, kernel},
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const Case& c : cases) {
        std::unique_ptr<InfoRow> row(InfoRow::create(QStringLiteral("Kernel"), kernel.toStdString(), true));
        row->resize(c.width, CardRow::kSlotHeight);
        row->show();
        QCoreApplication::processEvents();
        auto* label = row->findChild<ElidedLabel*>();
        ASSERT_NE(label, nullptr);
        ASSERT_EQ(label->isElided(), c.width < 1000) << c.name;
        clipboard->setText(QStringLiteral("before"));
        if (c.selected > 0)
            label->setSelection(0, c.selected);
        if (c.menu) {
            std::unique_ptr<QMenu> menu(label->makeContextMenu());
            ASSERT_EQ(menu->actions().front()->text(), QStringLiteral("Copy"));
            menu->actions().front()->trigger();
        } else {
            QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
        }
        EXPECT_EQ(clipboard->text(), c.copied) << c.name;
    }

    // A revealed UUID in a narrow box copies whole; a masked one copies only its bullets.
    bool hidden = false;
    const BoolBinding binding{[&] { return hidden; }, [&](bool value) { hidden = value; }};
    const std::string uuid = "30BD6509-47A1-4E2B-9C3D-AF2D66DBF35A";
    std::unique_ptr<SensitiveInfoRow> row(SensitiveInfoRow::create(QStringLiteral("System UUID"), uuid, binding, true));
    row->resize(360, CardRow::kSlotHeight);
    row->show();
    QCoreApplication::processEvents();
    auto* label = row->findChild<ElidedLabel*>();
    ASSERT_TRUE(label->isElided());
    label->setSelection(0, 3);
    QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QString::fromStdString(uuid));
    QTest::mouseClick(row->toggleButton(), Qt::LeftButton);
    QTest::keyClick(row->findChild<ElidedLabel*>(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), bullets(16));
}

TEST(Rows, FollowEachOtherAtAnEvenPitchWithButtonsCentredOnTheirValues)
{
    bool hidden = true;
    const BoolBinding binding{[&] { return hidden; }, [&](bool value) { hidden = value; }};
    GlassCard card(QStringLiteral("macOS SMBIOS"));
    card.addRow(QStringLiteral("Model Name"), "Mac Pro");
    card.addSensitiveRow(QStringLiteral("System UUID"), "AF9C6236-E2E7-5B73-A553-619C3411576C", binding, true);
    card.addSensitiveRow(QStringLiteral("macOS Serial"), "FVFF91M9Q6L8", binding, true);
    card.addRow(QStringLiteral("Model ID"), "MacPro7,1", true);
    card.resize(640, card.sizeHint().height());
    card.show();
    QCoreApplication::processEvents();

    std::vector<int> tops;
    for (const ValueBox* box : card.findChildren<ValueBox*>())
        tops.push_back(box->mapTo(&card, QPoint(0, 0)).y());
    ASSERT_EQ(tops.size(), 4u);
    for (std::size_t row = 1; row < tops.size(); ++row)
        EXPECT_EQ(tops[row] - tops[row - 1], CardRow::kSlotHeight) << "between rows " << row - 1 << " and " << row;
    for (const SensitiveInfoRow* row : card.findChildren<SensitiveInfoRow*>()) {
        const ValueBox* box = row->findChild<ValueBox*>();
        const MetalButton* button = row->toggleButton();
        const qreal boxCentre = box->mapTo(&card, QPointF(0, box->height() / 2.0)).y();
        const qreal faceCentre = button->mapTo(&card, button->faceRect().center()).y();
        EXPECT_NEAR(faceCentre, boxCentre, 0.5) << row->label().toStdString();
    }
}

TEST(Rows, ALongValueIsTruncatedInTheMiddleAndKeepsItsFullText)
{
    const std::string value = repeated("0123456789", 30);
    std::unique_ptr<InfoRow> row(InfoRow::create(QStringLiteral("Features"), value));
    row->resize(400, 40);
    row->show();
    QCoreApplication::processEvents();
    const auto* label = row->findChild<ElidedLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->fullText(), QString::fromStdString(value));
    EXPECT_TRUE(label->text().contains(QChar(0x2026)));
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("0123")));
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("6789")));
    EXPECT_LE(row->sizeHint().width(), 400 + label->fontMetrics().horizontalAdvance(QString::fromStdString(value)));
    EXPECT_EQ(label->minimumSizeHint().width(), 0);
}

TEST(Rows, HardwareTextIsNeverReadAsMarkup)
{
    std::unique_ptr<InfoRow> row(InfoRow::create(QStringLiteral("Name"), "<b>Board</b>"));
    EXPECT_EQ(row->findChild<ElidedLabel*>()->textFormat(), Qt::PlainText);
    GlassCard card(QStringLiteral("<i>Bank 0</i>"));
    for (const QLabel* label : card.findChildren<QLabel*>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

class SensitiveRow : public ::testing::Test {
protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }
};

TEST_F(SensitiveRow, ShowAndHideFlipTextAndIconAndPersistTheChoice)
{
    const std::string uuid = "7C8F3A2E-1B4D-4E6F-9A0B-2C3D4E5F6A7B";
    std::unique_ptr<SensitiveInfoRow> row(
        SensitiveInfoRow::create(QStringLiteral("System UUID"), uuid, kHideSystemUUID.binding(), true));
    ASSERT_NE(row, nullptr);

    struct Expected {
        QString value;
        QString button;
        QString symbol;
        bool stored;
    };
    const Expected masked{bullets(16), QStringLiteral("Show"), QStringLiteral("eye"), true};
    const Expected revealed{QString::fromStdString(uuid), QStringLiteral("Hide"), QStringLiteral("eye.slash"), false};
    const Expected steps[] = {masked, revealed, masked, revealed};
    for (std::size_t step = 0; step < std::size(steps); ++step) {
        if (step > 0)
            QTest::mouseClick(row->toggleButton(), Qt::LeftButton);
        const Expected& expected = steps[step];
        EXPECT_EQ(row->shownValue(), expected.value) << step;
        EXPECT_EQ(row->displayValue(), expected.value) << step;
        EXPECT_EQ(row->toggleButton()->text(), expected.button) << step;
        EXPECT_EQ(row->toggleButton()->symbol(), expected.symbol) << step;
        EXPECT_EQ(kHideSystemUUID.value(), expected.stored) << step;
    }

    // Saved at once: a fresh settings object and a new row (a restart) see it.
    EXPECT_FALSE(QSettings().value(QStringLiteral("hideSystemUUID")).toBool());
    std::unique_ptr<SensitiveInfoRow> again(
        SensitiveInfoRow::create(QStringLiteral("System UUID"), uuid, kHideSystemUUID.binding(), true));
    EXPECT_EQ(again->shownValue(), revealed.value);
    // The other preference is untouched.
    EXPECT_TRUE(kHideMacOSSerial.value());
}

TEST_F(SensitiveRow, BothPreferencesDefaultToMasked)
{
    EXPECT_TRUE(kHideMacOSSerial.value());
    EXPECT_TRUE(kHideSystemUUID.value());
    EXPECT_FALSE(QSettings().contains(QStringLiteral("hideMacOSSerial")));
}

// The outline's left edge on the middle row, and the highlight just inside the top edge.
struct FaceProbe {
    int leftEdge = -1;
    int highlight = 0;
};

FaceProbe probeFace(bool pressed)
{
    QImage image(460, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRectF face(30, 20, 400, 60);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        SoftShadow shadow;
        MetalButtonStyle{.prominent = true}.paint(painter, face, pressed, shadow);
    }
    FaceProbe probe;
    const int middle = int(face.center().y());
    for (int x = 0; x < image.width() && probe.leftEdge < 0; ++x)
        if (qAlpha(image.pixel(x, middle)) > 150)
            probe.leftEdge = x;
    probe.highlight = qGray(image.pixel(int(face.center().x()), int(face.top()) + 4));
    return probe;
}

TEST(Pill, AtItsOwnSizeShowsItsWholeText)
{
    // A shortened pill carries its whole text as a tooltip; at its size hint none may be shortened.
    for (const char* text : {"Physical cores: 6", "Logical threads: 12", "Physical cores: 128", "Running under Rosetta",
                             "Logical threads: \u2014"}) {
        Pill pill(QString::fromUtf8(text));
        pill.resize(pill.sizeHint());
        pill.show();
        EXPECT_TRUE(pill.toolTip().isEmpty()) << text;
        pill.resize(pill.sizeHint().width() / 2, pill.sizeHint().height());
        EXPECT_EQ(pill.toolTip(), QString::fromUtf8(text)) << text;
    }
}

TEST(MetalButtonStyle, APressedButtonIsSlightlySmallerWithADimmerHighlight)
{
    const FaceProbe released = probeFace(false);
    const FaceProbe pressed = probeFace(true);
    ASSERT_GE(released.leftEdge, 0);
    // 0.985 of 400 points: three points in from each side.
    EXPECT_NEAR(pressed.leftEdge - released.leftEdge, 3, 1);
    EXPECT_LT(pressed.highlight, released.highlight);
    // Released again, it is back to full size.
    EXPECT_EQ(probeFace(false).leftEdge, released.leftEdge);
}

TEST(AnimatedHeaderIcon, BreathesWhileShownAndStopsWhenHidden)
{
    AnimatedHeaderIcon icon(false);
    EXPECT_FALSE(icon.isAnimating());
    icon.show();
    EXPECT_TRUE(icon.isBreathing());
    EXPECT_TRUE(icon.isAnimating());
    QTest::qWait(1000);
    EXPECT_GT(icon.look().backingOpacity, 0.05);
    icon.hide();
    EXPECT_FALSE(icon.isBreathing());
    EXPECT_FALSE(icon.isAnimating());
    EXPECT_EQ(icon.look(), (AnimatedHeaderIcon::Look{0.05, 5, 0.1, 6}));
}

TEST(AnimatedHeaderIcon, RestsWhileItsWindowIsMinimised)
{
    QWidget window;
    auto* icon = new AnimatedHeaderIcon(false, &window);
    window.show();
    EXPECT_TRUE(icon->isAnimating());
    window.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(icon->isAnimating());
    window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_TRUE(icon->isAnimating());
}

TEST(AnimatedHeaderIcon, StaysStillUnderReduceMotion)
{
    AnimatedHeaderIcon icon(true);
    icon.show();
    const AnimatedHeaderIcon::Look still{0.07, 6, 0.12, 7};
    EXPECT_EQ(icon.look(), still);
    QTest::qWait(200);
    EXPECT_FALSE(icon.isBreathing());
    EXPECT_FALSE(icon.isAnimating());
    EXPECT_EQ(icon.look(), still);
}

TEST(Icons, EverySymbolInUseHasItsOwnIcon)
{
    const char* const symbols[] = {"cpu", "square.stack.3d.up", "rectangle.connected.to.line.below", "memorychip",
                                   "list.bullet.rectangle", "display", "speedometer", "info.circle",
                                   "questionmark.circle", "arrow.clockwise", "doc.on.doc", "heart.fill", "eye",
                                   "eye.slash", "play.fill", "envelope", "arrow.down.circle"};
    std::set<QByteArray> drawings;
    for (const char* symbol : symbols) {
        const QImage image = symbolPixmap(QString::fromLatin1(symbol), 24, Qt::white).toImage();
        ASSERT_FALSE(image.isNull()) << symbol;
        int covered = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                covered += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(covered, 20) << symbol;
        const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()), qsizetype(image.sizeInBytes()));
        EXPECT_TRUE(drawings.insert(pixels).second) << symbol << " looks like another icon";
    }
    EXPECT_TRUE(symbolPixmap(QStringLiteral("no.such.symbol"), 24, Qt::white).isNull());

    const QPixmap image = applicationImage(64);
    EXPECT_EQ(image.size(), QSize(64, 64));
}

} // namespace
