#include "probe/cpu_probe.h"

#include "core/byte_count.h"
#include "core/fixed_decimal.h"
#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "probe/inference.h"
#include "probe/parsers.h"

#include <array>

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

// "0" when the count cannot be read, the placeholder when it makes no sense.
std::string countText(const KernelValues& kernel, std::string_view name)
{
    const auto count = kernel.integer(name);
    if (!count)
        return "0";
    return *count >= 1 && *count <= kMostProcessors ? std::to_string(*count) : std::string(kEmDash);
}

std::string orFallback(std::string value, std::string_view fallback)
{
    return value.empty() ? std::string(fallback) : value;
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
    const KernelValues& kernel = readings.kernel;
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
        .physicalCores = countText(kernel, KernelName::physicalCores),
        .logicalCores = countText(kernel, KernelName::logicalCores),
        .frequency = frequency,
        .l1i = cacheSizeText(kernel.integer(KernelName::l1iCacheSize)),
        .l1d = cacheSizeText(kernel.integer(KernelName::l1dCacheSize)),
        .l2 = cacheSizeText(kernel.integer(KernelName::l2CacheSize)),
        .l3 = cacheSizeText(kernel.integer(KernelName::l3CacheSize)),
        .features = orFallback(features, kEmDash),
    };
}

} // namespace veltrin::SystemProbe
