#pragma once

#include <string>

namespace veltrin {

class SystemInfoStore;

// The one copy action of the menu command and the window's Copy button: clear
// the general clipboard, then put the summary on it as one plain-text item.
void copySummaryToClipboard(const SystemInfoStore& store);

} // namespace veltrin
