#include "probe/cpu_probe.h"

#include "core/byte_count.h"
#include "core/fixed_decimal.h"
#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "platform/machine.h"
#include "probe/inference.h"
#include "probe/parsers.h"

#include <array>

namespace veltrin::SystemProbe {
namespace {

constexpr std::string_view kEmDash = "\u2014";

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
std::string processorName(const Machine& machine, std::string_view hardware)
{
    if (std::string brand = machine.sysctlValue("machdep.cpu.brand_string"); !brand.empty())
        return brand;
    if (auto reported = firstMatch(hardware, R"(Processor Name:\s*(.+))"))
        return *std::move(reported);
    return machine.sysctlValue("hw.model");
}

// An empty "Processor Speed:" value counts as none, so the field is never blank.
std::string frequencyText(const Machine& machine, std::string_view hardware)
{
    if (const auto hertz = machine.sysctlInt("hw.cpufrequency"))
        return gigahertzText(*hertz);
    const auto reported = firstMatch(hardware, R"(Processor Speed:\s*(.+))");
    return reported && !reported->empty() ? *reported : std::string(kEmDash);
}

// The basic flags, then the leaf-7 flags, exactly as the kernel lists them.
std::string featureFlags(const Machine& machine)
{
    std::string flags;
    for (const std::string_view name : {"machdep.cpu.features", "machdep.cpu.leaf7_features"}) {
        const std::string value = machine.sysctlValue(name);
        if (value.empty())
            continue;
        if (!flags.empty())
            flags += ' ';
        flags += value;
    }
    return flags;
}

std::string countText(const Machine& machine, std::string_view name)
{
    return std::to_string(machine.sysctlInt(name).value_or(0));
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
    return bytes && *bytes >= 1 ? formatByteCount(*bytes) : std::string(kEmDash);
}

std::string gigahertzText(std::int64_t hertz) { return fixedDecimal(static_cast<double>(hertz) / 1e9, 2) + " GHz"; }

CPUInfo cpuInfo(const Machine& machine, std::string_view, std::string_view hardware)
{
    const std::string name = processorName(machine, hardware);
    const std::string frequency = frequencyText(machine, hardware);
    const std::string features = featureFlags(machine);
    const std::string architecture = trimmed(runOutput(machine, Commands::machineArchitecture()));
    const std::string vendor = cpuVendor(name, architecture, features, hardware);

    return CPUInfo{
        .name = orFallback(name, "Unknown CPU"),
        .vendor = vendor,
        .architecture = orFallback(architecture, "Unknown"),
        .physicalCores = countText(machine, "hw.physicalcpu"),
        .logicalCores = countText(machine, "hw.logicalcpu"),
        .frequency = frequency,
        .l1i = cacheSizeText(machine.sysctlInt("hw.l1icachesize")),
        .l1d = cacheSizeText(machine.sysctlInt("hw.l1dcachesize")),
        .l2 = cacheSizeText(machine.sysctlInt("hw.l2cachesize")),
        .l3 = cacheSizeText(machine.sysctlInt("hw.l3cachesize")),
        .features = orFallback(features, kEmDash),
    };
}

} // namespace veltrin::SystemProbe
