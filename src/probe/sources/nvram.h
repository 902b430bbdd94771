#pragma once

// What nvram prints for one variable: "name<TAB>value", every byte of the value
// that is not printable ASCII written as %xx ("w%00%00%00", "%7f%08%00%00").

#include "core/process_runner.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// The value's bytes, its %xx escapes decoded, from the first line that starts
// with the variable's full name and a tab. Absent when the run failed or no such
// line is there.
std::optional<std::string> nvramBytes(const ProcessResult& result, std::string_view variable);

// The value as text: its bytes read as UTF-8 (ill-formed bytes become U+FFFD),
// made one display line (zero and other control bytes dropped) and cleaned.
// Absent when there are no bytes or nothing usable is left.
std::optional<std::string> nvramValue(const ProcessResult& result, std::string_view variable);

// The first four bytes as a little-endian number, as the firmware stores a
// 32-bit value; absent when there are fewer. Any bytes after them are ignored.
std::optional<std::uint32_t> littleEndianWord(std::string_view bytes);

} // namespace veltrin::SystemProbe
