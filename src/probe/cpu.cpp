#include "probe/cpu.h"

#include "core/byte_count.h"
#include "core/fixed_decimal.h"
#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "platform/machine.h"
#include "probe/sources/core_design.h"
#include "probe/sources/cpuid.h"
#include "probe/sources/inference.h"
#include "probe/sources/linux_processor.h"
#include "probe/sources/system_profiler_xml.h"

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

// The processor as the hardware report states it: from its text when that is in
// English, else from its XML form, where cpu_type and current_processor_speed
// are the keys behind "Processor Name:" and "Processor Speed:".
struct ReportedProcessor {
    std::optional<std::string> name;
    std::optional<std::string> speed;
};

ReportedProcessor reportedProcessor(const MachineReadings& readings)
{
    const std::string_view hardware = readings.output(Tool::hardwareReport);
    if (isEnglishReport(hardware, EnglishLabels::hardware))
        return {firstMatch(hardware, R"(Processor Name:[ \t]*(.+))"),
                firstMatch(hardware, R"(Processor Speed:[ \t]*(.+))")};
    const auto items = systemProfilerItems(readings.output(Tool::hardwareReportXml));
    return {firstScalar(items, "cpu_type"), firstScalar(items, "current_processor_speed")};
}

// The brand string as the kernel gives it (padding kept), else the report's
// processor name, else the model identifier. May be empty.
std::string processorName(const KernelValues& kernel, const std::optional<std::string>& reported)
{
    if (std::string brand = kernel.text(KernelName::brandString); !brand.empty())
        return brand;
    if (reported)
        return *reported;
    return kernel.text(KernelName::model);
}

// An empty "Processor Speed:" value counts as none, so the field is never blank.
std::string frequencyText(const KernelValues& kernel, const std::optional<std::string>& reported)
{
    if (const auto hertz = kernel.integer(KernelName::cpuFrequency); hertz && *hertz > 0 && *hertz <= kFastestClockHertz)
        return gigahertzText(*hertz);
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

// Beyond these a kernel value names no real processor: a family byte plus
// 0xF, a model byte, a stepping nibble, and a cache no processor has built.
constexpr std::int64_t kLargestFamily = 0xFF + 0xF;
constexpr std::int64_t kLargestModel = 0xFF;
constexpr std::int64_t kLargestStepping = 0xF;
constexpr std::int64_t kMostWays = 1024;
constexpr std::int64_t kLongestCacheLine = 4096;
constexpr std::int64_t kSysctlFullyAssociative = 0xFFFF;

std::optional<std::int64_t> inRange(std::optional<std::int64_t> value, std::int64_t largest)
{
    return value && *value >= 0 && *value <= largest ? value : std::nullopt;
}

// The processor's identity as the kernel was told it. macOS gives the base
// family (an older or patched kernel the full one: both read right here) and
// the full model, except where it left the extended model out (families it does
// not fold); Linux's values arrive split the same way (linux_processor.h).
std::optional<ProcessorSignature> kernelView(const KernelValues& kernel)
{
    const auto family = inRange(kernel.integer(KernelName::family), kLargestFamily);
    const auto model = inRange(kernel.integer(KernelName::cpuModel), kLargestModel);
    const auto stepping = inRange(kernel.integer(KernelName::stepping), kLargestStepping);
    if (!family || !model || !stepping)
        return std::nullopt;
    const auto extFamily = inRange(kernel.integer(KernelName::extFamily), 0xFF).value_or(0);
    const auto extModel = inRange(kernel.integer(KernelName::extModel), 0xF).value_or(0);
    ProcessorSignature signature;
    signature.family = static_cast<std::uint32_t>(*family == 0xF ? *family + extFamily : *family);
    signature.model = static_cast<std::uint32_t>(*model);
    if (signature.model < 0x10 && (signature.family == 0x6 || signature.family >= 0xF))
        signature.model += static_cast<std::uint32_t>(extModel << 4);
    signature.baseFamily = std::min<std::uint32_t>(signature.family, 0xF);
    signature.baseModel = signature.model & 0xF;
    signature.stepping = static_cast<std::uint32_t>(*stepping);
    return signature;
}

bool sameProcessor(const ProcessorSignature& a, const ProcessorSignature& b)
{
    return a.family == b.family && a.model == b.model && a.stepping == b.stepping;
}

std::string signatureText(const ProcessorSignature& signature)
{
    return "Family " + hexText(signature.family) + ", Model " + hexText(signature.model) + ", Stepping " +
           hexText(signature.stepping);
}

// "0xF4"; the kernel keeps the revision as a 32-bit number.
std::string microcodeText(std::optional<std::int64_t> revision)
{
    return revision && *revision >= 0 && *revision <= 0xFFFFFFFF ? hexText(static_cast<std::uint64_t>(*revision), true)
                                                                   : std::string();
}

std::string waysText(std::optional<std::int64_t> ways)
{
    if (ways == kFullyAssociative)
        return "fully associative";
    if (ways == 1)
        return "direct mapped";
    return ways && *ways > 1 && *ways <= kMostWays ? std::to_string(*ways) + "-way" : std::string();
}

std::string lineText(std::optional<std::int64_t> bytes)
{
    return bytes && *bytes > 0 && *bytes <= kLongestCacheLine ? std::to_string(*bytes) + " bytes" : std::string();
}

constexpr std::array<CacheLevel, 4> kLevels{CacheLevel::l1Instruction, CacheLevel::l1Data, CacheLevel::l2,
                                            CacheLevel::l3};

// Each level's layout, as the processor states it, else as Linux's cache
// folders do, else (the L2 alone) as macOS's kernel does.
std::array<CacheLayout, 4> cacheLayouts(const MachineReadings& readings, const CpuidAnswers& answers,
                                        const KernelValues& kernel)
{
    std::array<CacheLayout, 4> layouts;
    for (std::size_t i = 0; i < kLevels.size(); ++i) {
        CacheLayout& layout = layouts[i];
        layout = cpuidCacheLayout(answers, kLevels[i]);
        if (readings.platform == kLinuxPlatform) {
            const CacheLayout stated = sysfsCacheLayout(readings.files, kLevels[i]);
            layout.ways = layout.ways ? layout.ways : stated.ways;
            layout.lineSize = layout.lineSize ? layout.lineSize : stated.lineSize;
        }
    }
    CacheLayout& l2 = layouts[2];
    if (!l2.ways) {
        const auto ways = kernel.integer(KernelName::l2Associativity);
        l2.ways = ways == kSysctlFullyAssociative ? std::optional(kFullyAssociative) : ways;
    }
    return layouts;
}

// One line size for the whole hierarchy, as the kernels publish it: the L1
// data cache's where it is stated, else the next level's, else the kernel's.
std::string cacheLineText(const std::array<CacheLayout, 4>& layouts, const KernelValues& kernel)
{
    for (const std::size_t level : {1, 0, 2, 3})
        if (const std::string text = lineText(layouts[level].lineSize); !text.empty())
            return text;
    const std::string stated = lineText(kernel.integer(KernelName::cacheLineSize));
    return stated.empty() ? lineText(kernel.integer(KernelName::hwCacheLineSize)) : stated;
}

// The kernel's name for the core design on Apple Silicon; an arm64 kernel's
// value the table does not know shows in hex, an Intel kernel's not at all.
std::string coreDesignText(const KernelValues& kernel, std::string_view architecture)
{
    const auto family = kernel.integer(KernelName::coreDesign);
    if (!family)
        return {};
    if (const auto design = armCoreDesign(*family))
        return std::string(*design);
    const bool arm = architecture == "arm64" || architecture == "aarch64";
    return arm ? hexText(static_cast<std::uint32_t>(*family), true) : std::string();
}

// The fields after `translated`, from the processor's answers and the kernel's view.
void describeSilicon(CPUInfo& cpu, const MachineReadings& readings, const KernelValues& kernel)
{
    // Under Rosetta the answers are the translator's, not the chip's.
    const CpuidAnswers answers(cpu.translated ? std::string_view() : std::string_view(readings.cpuid));
    const auto processor = cpuidSignature(answers);
    const auto told = kernelView(kernel);
    if (const auto shown = processor ? processor : told) {
        cpu.family = hexText(shown->baseFamily);
        cpu.model = hexText(shown->baseModel);
        cpu.stepping = hexText(shown->stepping);
        cpu.extFamily = hexText(shown->family);
        cpu.extModel = hexText(shown->model);
    }
    cpu.microcode = microcodeText(kernel.integer(KernelName::microcode));
    const std::array<CacheLayout, 4> layouts = cacheLayouts(readings, answers, kernel);
    cpu.l1iWays = waysText(layouts[0].ways);
    cpu.l1dWays = waysText(layouts[1].ways);
    cpu.l2Ways = waysText(layouts[2].ways);
    cpu.l3Ways = waysText(layouts[3].ways);
    cpu.cacheLine = cacheLineText(layouts, kernel);
    cpu.coreDesign = coreDesignText(kernel, trimmed(readings.output(Tool::machineArchitecture)));
    if (processor && told && !sameProcessor(*processor, *told))
        cpu.kernelSignature = signatureText(*told);
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
    const ReportedProcessor reported = reportedProcessor(readings);
    const std::string name = processorName(kernel, reported.name);
    const std::string frequency = frequencyText(kernel, reported.speed);
    const std::string features = featureFlags(kernel);
    const std::string architecture = trimmed(readings.output(Tool::machineArchitecture));
    const std::string vendor = cpuVendor(name, architecture, features, hardware);

    CPUInfo cpu{
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
    describeSilicon(cpu, readings, kernel);
    return cpu;
}

} // namespace veltrin::SystemProbe
