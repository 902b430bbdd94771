#include "probe/sources/core_design.h"

#include <algorithm>
#include <array>
#include <utility>

namespace veltrin::SystemProbe {
namespace {

// Every CPUFAMILY_ARM_* constant of the kernel's public header osfmk/mach/machine.h
// (apple-oss-distributions/xnu; Blizzard/Avalanche to Tupai as of xnu-11215.41.3,
// Hidra to Tilos as of commit ac9718fb1af6), each named by its constant's words.
// A pair names the performance and efficiency cores; since the M3 the header
// names the chip instead, and so does the table.
constexpr std::array<std::pair<std::uint32_t, std::string_view>, 30> kArmFamilies{{
    {0xe73283ae, "ARM9"},
    {0x8ff620d8, "ARM11"},
    {0x53b005f5, "XScale"},
    {0xbd1b0ae9, "ARM12"},
    {0x0cc90e64, "ARM13"},
    {0x96077ef1, "ARM14"},
    {0xa8511bca, "ARM15"},
    {0x1e2d6381, "Swift"},
    {0x37a09642, "Cyclone"},
    {0x2c91a47e, "Typhoon"},
    {0x92fb37c8, "Twister"},
    {0x67ceee93, "Hurricane"},
    {0xe81e7ef6, "Monsoon / Mistral"},
    {0x07d34b9f, "Vortex / Tempest"},
    {0x462504d2, "Lightning / Thunder"},
    {0x1b588bb3, "Firestorm / Icestorm"},
    {0xda33d83d, "Blizzard / Avalanche"},
    {0x8765edea, "Everest / Sawtooth"},
    {0xfa33415e, "Ibiza"},
    {0x72015832, "Palma"},
    {0x2876f5b5, "Coll"},
    {0x5f4dea93, "Lobos"},
    {0x6f5129ac, "Donan"},
    {0x17d5b93a, "Brava"},
    {0x75d4acb9, "Tahiti"},
    {0x204526d0, "Tupai"},
    {0x1d5a87e8, "Hidra"},
    {0xf76c5b1a, "Sotra"},
    {0xab345f09, "Thera"},
    {0x01d7a72b, "Tilos"},
}};

} // namespace

std::optional<std::string_view> armCoreDesign(std::int64_t cpuFamily)
{
    const auto value = static_cast<std::uint32_t>(cpuFamily);
    const auto found = std::find_if(kArmFamilies.begin(), kArmFamilies.end(),
                                    [value](const auto& family) { return family.first == value; });
    return found == kArmFamilies.end() ? std::nullopt : std::optional(found->second);
}

} // namespace veltrin::SystemProbe
