#pragma once

// The building blocks every screen is made of, all at once: cards, label/value
// rows (plain and maskable), pills, section headers, the metal button, the
// breathing header icon and the window background. Each has a header of its
// own; include that where only one or two are needed.

#include "ui/animated_header_icon.h"
#include "ui/card_row.h"
#include "ui/elided_label.h"
#include "ui/focus_ring.h"
#include "ui/glass_card.h"
#include "ui/info_row.h"
#include "ui/labels.h"
#include "ui/metal_button.h"
#include "ui/metal_window_background.h"
#include "ui/overlay_scroll_bar.h"
#include "ui/pill.h"
#include "ui/section_header.h"
#include "ui/sensitive_info_row.h"
#include "ui/value_box.h"
#include "ui/wrapping_text.h"
