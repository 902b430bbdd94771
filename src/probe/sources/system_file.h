#pragma once

// A Linux system file that holds one value (a sysfs attribute, a device-tree
// property) as text.

#include "platform/readings.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// The file's value: up to its first line break or zero byte, trimmed. Absent
// when the file was not read, the value is empty, or it is not text (ill-formed
// UTF-8, other control characters).
std::optional<std::string> systemFileText(const FileContents& files, std::string_view path);

} // namespace veltrin::SystemProbe
