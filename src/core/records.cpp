#include "core/records.h"

#include "core/unicode_text.h"

namespace veltrin {

bool detail::fieldEqual(const std::string& a, const std::string& b) { return canonicallyEqual(a, b); }

} // namespace veltrin
