#pragma once

#include <string>

namespace veltrin {

class SystemInfoStore;

// The one copy action of the menu commands and the window's Copy button: clear
// the general clipboard, then put `text` on it as one plain-text item.
void copyTextToClipboard(const std::string& text);

// The summary, copied as above.
void copySummaryToClipboard(const SystemInfoStore& store);

} // namespace veltrin
