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

    static constexpr qreal kCornerRadius = 18;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void spaceBefore(bool row);

    QString title_;
    QVBoxLayout* column_;
    bool empty_ = true;
    bool lastWasRow_ = false;
};

// Paints the drop shadow of every visible card inside `page` (in page coordinates).
void paintCardShadows(QPainter& painter, QWidget* page, SoftShadow& shadow);

} // namespace veltrin
