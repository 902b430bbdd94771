#include "ui/section_header.h"

#include "ui/labels.h"
#include "ui/theme.h"

#include <QVBoxLayout>

namespace veltrin {

SectionHeader::SectionHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent),
      title_(makeLabel(title, Fonts::system(25, QFont::Bold), Palette::metalText())),
      subtitle_(makeParagraph(subtitle, Fonts::system(Fonts::kBody), Palette::metalMuted(), false))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(title_);
    column->addWidget(subtitle_);
}

} // namespace veltrin
