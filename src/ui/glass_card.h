#pragma once

#include "ui/binding.h"
#include "ui/info_row.h"
#include "ui/sensitive_info_row.h"
#include "ui/theme.h"
#include "ui/value_box.h"
#include "ui/wrapping_text.h"

#include <QWidget>

#include <string_view>

class QLabel;
class QLayout;
class QVBoxLayout;

namespace veltrin {

// A translucent rounded card with an optional title over its content. The card's
// drop shadow is painted by the page behind it (it falls outside the card).
// A card left with nothing to show, its every row hidden by the placeholder
// rule, says once, in muted text, that the system did not report it.
class GlassCard : public QWidget {
    Q_OBJECT
public:
    explicit GlassCard(const QString& title = {}, QWidget* parent = nullptr);
    QString title() const { return title_; }

    // Rows follow each other slot by slot; anything else keeps 12 points from its neighbours.
    void add(QWidget* widget);
    void add(QLayout* layout);
    // Adds the row unless the placeholder rule hides its value.
    InfoRow* addRow(const QString& label, std::string_view value, bool monospaced = false,
                    ValueLayout layout = ValueLayout::lines);
    SensitiveInfoRow* addSensitiveRow(const QString& label, std::string_view value, BoolBinding isHidden,
                                      bool monospaced = false);
    // Fixed texts of the application.
    QLabel* addParagraph(const QString& text, const QColor& color, bool selectable = false,
                         const QFont& font = Fonts::system(Fonts::kBody));
    // Text a machine reported, of any length and shape: selectable, wrapped anywhere it must.
    WrappingText* addHardwareText(const QString& text, const QColor& color,
                                  const QFont& font = Fonts::system(Fonts::kBody));

    // True while nothing has been added: the card then says kNothingReported.
    bool showsNothingReported() const { return nothingReported_ != nullptr; }
    // How wide the card must be for none of its rows to shorten its value (rows
    // that wrap never need more).
    int unshortenedWidth() const;

    static constexpr qreal kCornerRadius = 18;
    static constexpr const char* kNothingReported = "Not reported by this system.";

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void spaceBefore(bool row);
    void dropNothingReported();

    QString title_;
    QVBoxLayout* column_;
    bool empty_ = true;
    bool lastWasRow_ = false;
    QLabel* nothingReported_ = nullptr;
};

// Paints the drop shadow of every visible card inside `page` (in page coordinates).
void paintCardShadows(QPainter& painter, QWidget* page, SoftShadow& shadow);

} // namespace veltrin
