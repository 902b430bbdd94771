#include "state/field_labels.h"

#include <algorithm>
#include <array>

namespace veltrin {
namespace {

// Row labels follow the window's, so a report reads like the tabs it comes from.
constexpr std::array kFieldLabels{
    FieldLabel{"cpu", "Processor"},
    FieldLabel{"cpu.name", "Name"},
    FieldLabel{"cpu.vendor", "Code/Vendor"},
    FieldLabel{"cpu.architecture", "Architecture"},
    FieldLabel{"cpu.physicalCores", "Physical cores"},
    FieldLabel{"cpu.logicalCores", "Logical threads"},
    FieldLabel{"cpu.frequency", "Specification"},
    FieldLabel{"cpu.l1i", "L1 Instruction", "caches"},
    FieldLabel{"cpu.l1d", "L1 Data", "caches"},
    FieldLabel{"cpu.l2", "L2", "caches"},
    FieldLabel{"cpu.l3", "L3", "caches"},
    FieldLabel{"cpu.features", "Instructions"},
    FieldLabel{"cpu.clusters", "Clusters"},
    FieldLabel{"cpu.clusters.name", "Cluster"},
    FieldLabel{"cpu.clusters.physicalCores", "Cores"},
    FieldLabel{"cpu.clusters.l1i", "L1 Instruction"},
    FieldLabel{"cpu.clusters.l1d", "L1 Data"},
    FieldLabel{"cpu.clusters.l2", "L2"},
    FieldLabel{"cpu.translated", "Running under Rosetta"},
    FieldLabel{"cpu.family", "Family", "signature"},
    FieldLabel{"cpu.model", "Model", "signature"},
    FieldLabel{"cpu.stepping", "Stepping", "signature"},
    FieldLabel{"cpu.extFamily", "Ext. Family", "signature"},
    FieldLabel{"cpu.extModel", "Ext. Model", "signature"},
    FieldLabel{"cpu.microcode", "Microcode", "signature"},
    FieldLabel{"cpu.l1iWays", "L1 Instruction ways", "caches"},
    FieldLabel{"cpu.l1dWays", "L1 Data ways", "caches"},
    FieldLabel{"cpu.l2Ways", "L2 ways", "caches"},
    FieldLabel{"cpu.l3Ways", "L3 ways", "caches"},
    FieldLabel{"cpu.cacheLine", "Line size", "caches"},
    FieldLabel{"cpu.coreDesign", "Core Design", "signature"},
    FieldLabel{"cpu.kernelSignature", "Kernel Signature", "signature"},

    FieldLabel{"mainboard", "Mainboard"},
    FieldLabel{"mainboard.manufacturer", "Manufacturer", "board"},
    FieldLabel{"mainboard.model", "Model", "board"},
    FieldLabel{"mainboard.boardName", "Board Product", "board"},
    FieldLabel{"mainboard.boardID", "Board ID / Asset", "board"},
    FieldLabel{"mainboard.boardVersion", "Board Version", "board"},
    FieldLabel{"mainboard.chipset", "Chipset", "board"},
    FieldLabel{"mainboard.serial", "Board Serial", "board"},
    FieldLabel{"mainboard.macModel", "Model ID", "smbios"},
    FieldLabel{"mainboard.macModelName", "Model Name", "smbios"},
    FieldLabel{"mainboard.macBoardID", "Board ID", "smbios"},
    FieldLabel{"mainboard.macSerial", "macOS Serial", "smbios"},
    FieldLabel{"mainboard.hardwareUUID", "System UUID", "smbios"},
    FieldLabel{"mainboard.biosVendor", "BIOS Vendor", "firmware"},
    FieldLabel{"mainboard.biosVersion", "BIOS Version", "firmware"},
    FieldLabel{"mainboard.biosDate", "BIOS Date", "firmware"},
    FieldLabel{"mainboard.bootROM", "Boot ROM", "firmware"},
    FieldLabel{"mainboard.smc", "SMC", "firmware"},
    FieldLabel{"mainboard.os", "Release", "system"},
    FieldLabel{"mainboard.kernel", "Kernel", "system"},
    FieldLabel{"mainboard.uptime", "Uptime", "system"},
    FieldLabel{"mainboard.dmiSource", "Source", "board"},
    FieldLabel{"mainboard.detectionNotes", "Detection Notes", "notes"},
    FieldLabel{"mainboard.opencoreVersion", "OpenCore", "firmware"},
    FieldLabel{"mainboard.legacyPatcherVersion", "Legacy Patcher", "firmware"},
    FieldLabel{"mainboard.originalModel", "Original model", "smbios"},
    FieldLabel{"mainboard.boardSource", "Board source", "board"},

    FieldLabel{"memory", "Memory"},
    FieldLabel{"memory.total", "Size"},
    FieldLabel{"memory.type", "Type"},
    FieldLabel{"memory.speed", "Speed"},
    FieldLabel{"memory.slots", "Slots"},
    FieldLabel{"memory.used", "Usage source"},
    FieldLabel{"memory.pressure", "Pressure"},
    FieldLabel{"memory.modules", "Modules"},
    FieldLabel{"memory.modules.bank", "Bank"},
    FieldLabel{"memory.modules.size", "Size"},
    FieldLabel{"memory.modules.type", "Type"},
    FieldLabel{"memory.modules.speed", "Speed"},
    FieldLabel{"memory.modules.manufacturer", "Manufacturer"},
    FieldLabel{"memory.modules.part", "Part Number"},

    FieldLabel{"gpus", "Graphics"},
    FieldLabel{"gpus.name", "Name"},
    FieldLabel{"gpus.chipset", "Chipset"},
    FieldLabel{"gpus.vram", "VRAM / Cores"},
    FieldLabel{"gpus.vendor", "Vendor"},
    FieldLabel{"gpus.metal", "Metal"},
    FieldLabel{"gpus.displays", "Displays"},

    FieldLabel{"boot", "Boot"},
    FieldLabel{"boot.bootArguments", "Boot Arguments"},
    FieldLabel{"boot.sipStatus", "Status", "sip"},
    FieldLabel{"boot.sipValue", "csr-active-config", "sip"},
    FieldLabel{"boot.sipFlags", "Flags", "sip"},
    FieldLabel{"boot.secureBoot", "Secure Boot"},
    FieldLabel{"boot.extensions", "Kernel Extensions"},
    FieldLabel{"boot.extensions.identifier", "Identifier"},
    FieldLabel{"boot.extensions.version", "Version"},
    FieldLabel{"boot.extensions.origin", "Origin"},
    FieldLabel{"boot.extensionSummary", "Extensions loaded"},
};

// The physical board and the identity macOS presents are never mixed, and each
// says where it comes from.
constexpr std::array kFieldGroups{
    FieldGroup{"caches", "Caches"},
    FieldGroup{"signature", "Signature",
               "As the processor answers it; where the kernel was given another identity, the Kernel Signature row "
               "holds the kernel's."},
    FieldGroup{"board", "Physical Board",
               "From trusted sources only (the firmware's DMI tables, the device tree's board properties, OpenCore's "
               "variables; the Source row says which), after Apple identities, OpenCore markers and OEM filler are "
               "filtered out."},
    FieldGroup{"firmware", "Firmware"},
    FieldGroup{"smbios", "macOS SMBIOS",
               "As the system reports it (on a Mac, system_profiler and ioreg); on an OpenCore machine this is the "
               "identity the boot loader presents, not the board's."},
    FieldGroup{"system", "Operating System"},
    FieldGroup{"notes", "Notes"},
    FieldGroup{"sip", "System Integrity Protection"},
};

} // namespace

std::span<const FieldLabel> fieldLabels() { return kFieldLabels; }

std::span<const FieldGroup> fieldGroups() { return kFieldGroups; }

const FieldLabel* fieldLabel(std::string_view path)
{
    const auto found = std::ranges::find(kFieldLabels, path, &FieldLabel::path);
    return found == kFieldLabels.end() ? nullptr : &*found;
}

std::string_view labelOf(std::string_view path)
{
    if (const FieldLabel* entry = fieldLabel(path))
        return entry->label;
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? path : path.substr(dot + 1);
}

} // namespace veltrin
