#pragma once

#include <string_view>

namespace veltrin {

// True when `value` is one of the placeholders the probes leave for unknown facts
// ("Unknown", "n/a", "—", OEM filler …) and so must not be shown as a row. The
// memory probe applies the same rule to dmidecode module sizes.
bool veltrinShouldHideField(std::string_view value);

} // namespace veltrin
