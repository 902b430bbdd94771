#pragma once

// os-release, the file every current Linux distribution names itself in.

#include "platform/readings.h"

#include <string>

namespace veltrin::SystemProbe {

// The distribution's PRETTY_NAME from the first os-release file read, "Linux"
// when it names none, empty without an os-release file.
std::string osReleaseName(const FileContents& files);

} // namespace veltrin::SystemProbe
