#pragma once

class QScrollArea;
class QScrollBar;

namespace veltrin {

// A thin translucent scroll bar that suits the dark glass.
void styleScrollBar(QScrollBar* bar);

// Gives `area` a vertical scroll bar that floats over the right edge of its
// view instead of taking width from it, so the content is as wide whether it
// scrolls or not and card edges stay put from tab to tab. The content keeps a
// margin on the right that the bar fits in.
QScrollBar* addOverlayScrollBar(QScrollArea& area);

} // namespace veltrin
