#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace veltrin {

// A random (version 4) identity. Records use it to tell two builds of the same
// hardware text apart; it never carries hardware information.
class Uuid {
public:
    static Uuid random();

    // Lower-case 8-4-4-4-12 text.
    std::string toString() const;
    const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

    friend bool operator==(const Uuid&, const Uuid&) = default;

private:
    std::array<std::uint8_t, 16> bytes_{};
};

} // namespace veltrin
