#pragma once

#include <functional>

namespace veltrin {

// A boolean owned elsewhere (a persisted preference, say), read and written through.
struct BoolBinding {
    std::function<bool()> get;
    std::function<void(bool)> set;
};

} // namespace veltrin
