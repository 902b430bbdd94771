#pragma once

// Every hardware fact travels as a display string in one of these plain records.
// Producers build them whole; nothing here formats or interprets values.

#include "core/record_fields.h"
#include "core/uuid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace veltrin {

namespace detail {

// Records compare field by field, their text canonically (one character composed
// or decomposed is one value), so no record needs an equality of its own.
bool fieldEqual(const std::string& a, const std::string& b);
inline bool fieldEqual(std::int64_t a, std::int64_t b) { return a == b; }
inline bool fieldEqual(bool a, bool b) { return a == b; }
inline bool fieldEqual(const Uuid& a, const Uuid& b) { return a == b; }

template <typename Element>
bool fieldEqual(const std::vector<Element>& a, const std::vector<Element>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i]))
            return false;
    return true;
}

template <typename Record>
bool fieldsEqual(const Record& a, const Record& b)
{
    return std::apply(
        [&](const auto&... left) {
            return std::apply([&](const auto&... right) { return (fieldEqual(left, right) && ...); }, b.fields());
        },
        a.fields());
}

} // namespace detail

// One kind of core of a chip that has several (Apple Silicon's performance and
// efficiency clusters), with the caches each of its cores sees.
struct CPUCluster {
    std::string name{};
    std::string physicalCores{};
    std::string l1i{};
    std::string l1d{};
    std::string l2{};

    VELTRIN_FIELDS(name, physicalCores, l1i, l1d, l2)
    friend bool operator==(const CPUCluster& a, const CPUCluster& b) { return detail::fieldsEqual(a, b); }
};

// The four cache fields hold what the kernel reports for the whole chip, which on
// a chip with several clusters describes one of them only; `clusters` then lists
// each, fastest first, and is empty otherwise. The fields after `translated` are
// the processor's own account (CPUID where it answers, else the kernel's view),
// empty when unknown: family to extModel in upper-case hex without a prefix, as
// the classic identification tools print them ("6", "E", "A", "6", "9E"), the
// last two being the full family and model; `kernelSignature` is the kernel's
// view only where it differs from the processor's ("Family 6, Model A5, Stepping 5").
struct CPUInfo {
    std::string name{};
    std::string vendor{};
    std::string architecture{};
    std::string physicalCores{};
    std::string logicalCores{};
    std::string frequency{};
    std::string l1i{};
    std::string l1d{};
    std::string l2{};
    std::string l3{};
    std::string features{};
    std::vector<CPUCluster> clusters{};
    bool translated = false; // an Intel build running under Rosetta
    std::string family{};
    std::string model{};
    std::string stepping{};
    std::string extFamily{};
    std::string extModel{};
    std::string microcode{}; // "0xF4"
    std::string l1iWays{};   // "8-way", "fully associative"
    std::string l1dWays{};
    std::string l2Ways{};
    std::string l3Ways{};
    std::string cacheLine{};  // "64 bytes"
    std::string coreDesign{}; // Apple Silicon only: "Firestorm / Icestorm"
    std::string kernelSignature{};

    VELTRIN_FIELDS(name, vendor, architecture, physicalCores, logicalCores, frequency, l1i, l1d, l2, l3, features,
                   clusters, translated, family, model, stepping, extFamily, extModel, microcode, l1iWays, l1dWays,
                   l2Ways, l3Ways, cacheLine, coreDesign, kernelSignature)
    friend bool operator==(const CPUInfo& a, const CPUInfo& b) { return detail::fieldsEqual(a, b); }
};

// The first seven fields describe the physical board and come only from trusted
// sources; the next five are the Apple SMBIOS identity macOS presents. They are
// never mixed. The last four come from what OpenCore leaves in NVRAM.
struct MainboardInfo {
    std::string manufacturer{};
    std::string model{};
    std::string boardName{};
    std::string boardID{};
    std::string boardVersion{};
    std::string chipset{};
    std::string serial{};
    std::string macModel{};
    std::string macModelName{};
    std::string macBoardID{};
    std::string macSerial{};
    std::string hardwareUUID{};
    std::string biosVendor{};
    std::string biosVersion{};
    std::string biosDate{};
    std::string bootROM{};
    std::string smc{};
    std::string os{};
    std::string kernel{};
    std::string uptime{};
    std::string dmiSource{};
    std::string detectionNotes{};
    std::string opencoreVersion{}; // "0.7.4 (release, 2021-10-04)", or OpenCore's own text
    std::string legacyPatcherVersion{};
    std::string originalModel{}; // the Mac model the firmware names, when macOS shows another
    std::string boardSource{}; // "OpenCore NVRAM" when the board's name came from OpenCore's variables

    VELTRIN_FIELDS(manufacturer, model, boardName, boardID, boardVersion, chipset, serial, macModel, macModelName,
                   macBoardID, macSerial, hardwareUUID, biosVendor, biosVersion, biosDate, bootROM, smc, os, kernel,
                   uptime, dmiSource, detectionNotes, opencoreVersion, legacyPatcherVersion, originalModel,
                   boardSource)
    friend bool operator==(const MainboardInfo& a, const MainboardInfo& b) { return detail::fieldsEqual(a, b); }
};

// The most memory modules or graphics adapters one snapshot lists. The largest
// servers have a few hundred DIMM slots; a report that seems to list more is
// not a real one, and parsing it on would only cost time and memory.
inline constexpr std::size_t kMaxListedDevices = 256;

// Every construction draws a fresh identity, so two modules built from the same
// text are different records; copies keep their identity.
struct MemoryModule {
    Uuid id = Uuid::random();
    std::string bank{};
    std::string size{};
    std::string type{};
    std::string speed{};
    std::string manufacturer{};
    std::string part{};

    VELTRIN_FIELDS(id, bank, size, type, speed, manufacturer, part)
    friend bool operator==(const MemoryModule& a, const MemoryModule& b) { return detail::fieldsEqual(a, b); }
};

struct MemoryInfo {
    std::string total{};
    std::string type{};
    std::string speed{};
    std::string slots{};
    std::string used{};
    std::string pressure{};
    std::vector<MemoryModule> modules{};

    VELTRIN_FIELDS(total, type, speed, slots, used, pressure, modules)
    friend bool operator==(const MemoryInfo& a, const MemoryInfo& b) { return detail::fieldsEqual(a, b); }
};

struct GPUInfo {
    Uuid id = Uuid::random();
    std::string name{};
    std::string chipset{};
    std::string vram{};
    std::string vendor{};
    std::string metal{};
    std::string displays{};

    VELTRIN_FIELDS(id, name, chipset, vram, vendor, metal, displays)
    friend bool operator==(const GPUInfo& a, const GPUInfo& b) { return detail::fieldsEqual(a, b); }
};

struct BenchResult {
    std::int64_t singleThread = 0;
    std::int64_t multiThread = 0;
    std::string status{};
    std::string threads{};
    std::string stability{};
    std::string singleTime{};
    std::string multiTime{};
    std::string method{};

    VELTRIN_FIELDS(singleThread, multiThread, status, threads, stability, singleTime, multiTime, method)
    friend bool operator==(const BenchResult& a, const BenchResult& b) { return detail::fieldsEqual(a, b); }
};

// One loaded kernel extension (macOS) or kernel module (Linux), as the system
// lists it. `origin` is one of the five below: the first two on macOS, the
// other three on Linux.
inline constexpr std::string_view kAppleOrigin = "Apple";
inline constexpr std::string_view kThirdPartyOrigin = "third-party";
inline constexpr std::string_view kOutOfTreeOrigin = "out-of-tree";
inline constexpr std::string_view kUnsignedOrigin = "unsigned";
inline constexpr std::string_view kInTreeOrigin = "in-tree";

struct KernelExtension {
    std::string identifier{};
    std::string version{};
    std::string origin{};

    VELTRIN_FIELDS(identifier, version, origin)
    friend bool operator==(const KernelExtension& a, const KernelExtension& b) { return detail::fieldsEqual(a, b); }
};

// The most kernel extensions one snapshot lists: a Mac loads two to three
// hundred, a Linux desktop about as many modules.
inline constexpr std::size_t kMaxListedExtensions = 1024;

// How the system booted: on a Mac the boot arguments, System Integrity
// Protection and the kernel extensions; on Linux the kernel command line,
// Secure Boot and the kernel modules. Every string is empty when unknown.
struct BootInfo {
    std::string bootArguments{};
    std::string sipStatus{}; // "enabled", "unknown (Custom Configuration)", …
    std::string sipValue{}; // csr-active-config as "0x77"
    std::string sipFlags{}; // the names of its set bits, ", " between them
    std::string secureBoot{}; // "enabled" or "disabled"
    std::vector<KernelExtension> extensions{};
    std::string extensionSummary{}; // "12 third-party, 187 Apple"

    VELTRIN_FIELDS(bootArguments, sipStatus, sipValue, sipFlags, secureBoot, extensions, extensionSummary)
    friend bool operator==(const BootInfo& a, const BootInfo& b) { return detail::fieldsEqual(a, b); }
};

// One probe's result. Not comparable: it only travels from the probe to the store.
struct SystemSnapshot {
    CPUInfo cpu{};
    MainboardInfo mainboard{};
    MemoryInfo memory{};
    std::vector<GPUInfo> gpus{};
    BootInfo boot{};

    VELTRIN_FIELDS(cpu, mainboard, memory, gpus, boot)
};

static_assert(listsEveryMember<CPUCluster>() && listsEveryMember<CPUInfo>() && listsEveryMember<MainboardInfo>() &&
              listsEveryMember<MemoryModule>() && listsEveryMember<MemoryInfo>() && listsEveryMember<GPUInfo>() &&
              listsEveryMember<BenchResult>() && listsEveryMember<KernelExtension>() &&
              listsEveryMember<BootInfo>() && listsEveryMember<SystemSnapshot>());

} // namespace veltrin
