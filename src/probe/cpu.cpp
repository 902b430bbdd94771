#include "probe/cpu.h"

#include "core/byte_count.h"
#include "core/fixed_decimal.h"
#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "platform/machine.h"
#include "probe/sources/inference.h"
#include "probe/sources/linux_processor.h"

#include <algorithm>
#include <array>
#include <vector>

namespace veltrin::SystemProbe {
namespace {

constexpr std::string_view kEmDash = "\u2014";

// Beyond these a kernel value describes no real processor (the largest machines
// have a few thousand logical processors, caches of about a gigabyte and clocks
// of a few gigahertz): it shows the placeholder rather than "-1" or "-0.00 GHz".
constexpr std::int64_t kMostProcessors = 65536;
constexpr std::int64_t kLargestCacheBytes = std::int64_t{16} << 30;
constexpr std::int64_t kFastestClockHertz = 100'000'000'000;

constexpr std::array<SubstringRule, 11> kVendorRules{{
    {"intel", "GenuineIntel"},
    {"genuineintel", "GenuineIntel"},
    {"amd", "AuthenticAMD"},
    {"ryzen", "AuthenticAMD"},
    {"threadripper", "AuthenticAMD"},
    {"epyc", "AuthenticAMD"},
    {"authenticamd", "AuthenticAMD"},
    {"arm64", "Apple Silicon / ARM64"},
    {"aarch64", "Apple Silicon / ARM64"},
    {"apple m", "Apple Silicon / ARM64"},
    {"apple silicon", "Apple Silicon / ARM64"},
}};

// The brand string as the kernel gives it (padding kept), else the report's
// processor name, else the model identifier. May be empty.
std::string processorName(const KernelValues& kernel, std::string_view hardware)
{
    if (std::string brand = kernel.text(KernelName::brandString); !brand.empty())
        return brand;
    if (auto reported = firstMatch(hardware, R"(Processor Name:[ \t]*(.+))"))
        return *std::move(reported);
    return kernel.text(KernelName::model);
}

// An empty "Processor Speed:" value counts as none, so the field is never blank.
std::string frequencyText(const KernelValues& kernel, std::string_view hardware)
{
    if (const auto hertz = kernel.integer(KernelName::cpuFrequency); hertz && *hertz > 0 && *hertz <= kFastestClockHertz)
        return gigahertzText(*hertz);
    const auto reported = firstMatch(hardware, R"(Processor Speed:[ \t]*(.+))");
    return reported && !reported->empty() ? *reported : std::string(kEmDash);
}

// The basic flags, then the leaf-7 flags, exactly as the kernel lists them.
std::string featureFlags(const KernelValues& kernel)
{
    std::string flags;
    for (const std::string_view name : {KernelName::features, KernelName::leaf7Features}) {
        const std::string value = kernel.text(name);
        if (value.empty())
            continue;
        if (!flags.empty())
            flags += ' ';
        flags += value;
    }
    return flags;
}

// `unread` when the count cannot be read, the placeholder when it makes no sense.
std::string countText(std::optional<std::int64_t> count, std::string_view unread)
{
    if (!count)
        return std::string(unread);
    return *count >= 1 && *count <= kMostProcessors ? std::to_string(*count) : std::string(kEmDash);
}

std::string orFallback(std::string value, std::string_view fallback)
{
    return value.empty() ? std::string(fallback) : value;
}

// Each kind of core with its own caches, fastest first, on a chip that has more
// than one kind; none otherwise, where the four cache fields say it all. Older
// macOS versions give the levels no names; they are then named by their number.
std::vector<CPUCluster> clusters(const KernelValues& kernel)
{
    const std::int64_t levels = kernel.integer(KernelName::perfLevelCount).value_or(0);
    if (levels < 2)
        return {};
    std::vector<CPUCluster> found;
    for (std::int64_t level = 0; level < std::min(levels, kMaxPerfLevels); ++level) {
        const auto integer = [&](std::string_view field) { return kernel.integer(perfLevelName(level, field)); };
        const std::string name = kernel.text(perfLevelName(level, PerfLevelField::name));
        found.push_back(CPUCluster{
            .name = orFallback(name, "Level " + std::to_string(level)),
            .physicalCores = countText(integer(PerfLevelField::physicalCores), kEmDash),
            .l1i = cacheSizeText(integer(PerfLevelField::l1iCacheSize)),
            .l1d = cacheSizeText(integer(PerfLevelField::l1dCacheSize)),
            .l2 = cacheSizeText(integer(PerfLevelField::l2CacheSize)),
        });
    }
    return found;
}

// On Linux the processor's own files state what macOS's kernel values do. A
// capture made before those files were kept holds the values themselves; they
// come first.
KernelValues processorValues(const MachineReadings& readings)
{
    if (readings.platform != kLinuxPlatform)
        return readings.kernel;
    KernelValues values = readings.kernel;
    KernelValues stated = linuxProcessorValues(readings.files, readings.cpuid);
    values.texts.merge(stated.texts);
    values.integers.merge(stated.integers);
    return values;
}

} // namespace

std::string cpuVendor(std::string_view from, std::string_view architecture, std::string_view features,
                      std::string_view hardware)
{
    const std::string joined =
        std::string(from) + ' ' + std::string(architecture) + ' ' + std::string(features) + ' ' + std::string(hardware);
    return std::string(firstSubstringHit(lowercased(joined), kVendorRules).value_or("Unknown"));
}

std::string cacheSizeText(std::optional<std::int64_t> bytes)
{
    return bytes && *bytes >= 1 && *bytes <= kLargestCacheBytes ? formatByteCount(*bytes) : std::string(kEmDash);
}

std::string gigahertzText(std::int64_t hertz) { return fixedDecimal(static_cast<double>(hertz) / 1e9, 2) + " GHz"; }

CPUInfo cpuInfo(const MachineReadings& readings)
{
    const KernelValues kernel = processorValues(readings);
    const std::string_view hardware = readings.output(Tool::hardwareReport);
    const std::string name = processorName(kernel, hardware);
    const std::string frequency = frequencyText(kernel, hardware);
    const std::string features = featureFlags(kernel);
    const std::string architecture = trimmed(readings.output(Tool::machineArchitecture));
    const std::string vendor = cpuVendor(name, architecture, features, hardware);

    return CPUInfo{
        .name = orFallback(name, "Unknown CPU"),
        .vendor = vendor,
        .architecture = orFallback(architecture, "Unknown"),
        .physicalCores = countText(kernel.integer(KernelName::physicalCores), "0"),
        .logicalCores = countText(kernel.integer(KernelName::logicalCores), "0"),
        .frequency = frequency,
        .l1i = cacheSizeText(kernel.integer(KernelName::l1iCacheSize)),
        .l1d = cacheSizeText(kernel.integer(KernelName::l1dCacheSize)),
        .l2 = cacheSizeText(kernel.integer(KernelName::l2CacheSize)),
        .l3 = cacheSizeText(kernel.integer(KernelName::l3CacheSize)),
        .features = orFallback(features, kEmDash),
        .clusters = clusters(kernel),
        .translated = kernel.integer(KernelName::translated) == 1,
    };
}

} // namespace veltrin::SystemProbe
