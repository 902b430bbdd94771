#pragma once

// JSON renderings for the command line: every record field under its own name,
// in declaration order, strings as UTF-8 with no escaping of non-ASCII text.

#include "core/records.h"

#include <string>
#include <string_view>

namespace veltrin {

std::string jsonString(std::string_view text);
std::string toJson(const SystemSnapshot& snapshot);
std::string toJson(const BenchResult& result);

} // namespace veltrin
