#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

#include <string_view>

namespace veltrin {

// Plain text only: hardware strings are never read as markup.
QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
// A paragraph that wraps to as many lines as it needs.
QLabel* makeParagraph(const QString& text, const QFont& font, const QColor& color, bool selectable,
                      QWidget* parent = nullptr);
void makeSelectable(QLabel* label);
// Sets the colour of the text a widget draws, in either of its roles.
void setTextColor(QWidget* widget, const QColor& color);

inline QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace veltrin
