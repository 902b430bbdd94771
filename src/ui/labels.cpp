#include "ui/labels.h"

namespace veltrin {

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    setTextColor(label, color);
    return label;
}

QLabel* makeParagraph(const QString& text, const QFont& font, const QColor& color, bool selectable, QWidget* parent)
{
    QLabel* label = makeLabel(text, font, color, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (selectable)
        makeSelectable(label);
    return label;
}

void makeSelectable(QLabel* label)
{
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setCursor(Qt::IBeamCursor);
}

} // namespace veltrin
