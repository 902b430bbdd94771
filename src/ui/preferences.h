#pragma once

// The two masking choices of the Mainboard tab, kept in the per-user settings
// store (QSettings of the application) and written back at once.

#include "ui/binding.h"

namespace veltrin {

class PersistedFlag {
public:
    constexpr PersistedFlag(const char* key, bool defaultValue) : key_(key), defaultValue_(defaultValue) {}

    const char* key() const { return key_; }
    bool value() const;
    void setValue(bool value) const;
    BoolBinding binding() const;

private:
    const char* key_;
    bool defaultValue_;
};

inline constexpr PersistedFlag kHideMacOSSerial{"hideMacOSSerial", true};
inline constexpr PersistedFlag kHideSystemUUID{"hideSystemUUID", true};

} // namespace veltrin
