#pragma once

// The main window opens where and as large as it was left, on the tab it was
// left on; the first time, larger than its minimum where the screen has room.

#include "ui/app_tab.h"

#include <QRect>

#include <optional>

namespace veltrin {

// The window's size at a first launch, before the screen has its say.
inline constexpr QSize kFirstLaunchSize(1380, 860);

// The frame to open the window in: the saved one, fitted to the screen's
// available area (never below `minimum`) and moved onto it when it lies off
// it; without one, kFirstLaunchSize fitted the same way and centred.
QRect mainWindowPlacement(const std::optional<QRect>& saved, const QRect& available, const QSize& minimum);

struct RememberedWindow {
    std::optional<QRect> geometry;
    std::optional<AppTab> tab;
};

RememberedWindow rememberedMainWindow();
void rememberMainWindow(const QRect& geometry, AppTab tab);

} // namespace veltrin
