#include "probe/mainboard.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "probe/sources/filters.h"
#include "probe/sources/inference.h"
#include "probe/sources/ioreg.h"
#include "probe/sources/opencore_nvram.h"
#include "probe/sources/sysfs_dmi.h"
#include "probe/sources/system_profiler_xml.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>

namespace veltrin::SystemProbe {
namespace {

// Device-tree properties that may name the physical board, most specific first.
constexpr std::array<std::string_view, 4> kBoardManufacturerKeys{"manufacturer", "oem-motherboard",
                                                                 "board-manufacturer", "system-manufacturer"};
constexpr std::array<std::string_view, 5> kBoardProductKeys{"product-name", "board-product", "board-name", "model",
                                                            "compatible"};
constexpr std::array<std::string_view, 3> kBoardVersionKeys{"board-rev", "board-version", "revision-id"};

constexpr std::string_view kNoDmidecodeNote =
    "dmidecode not bundled/found; Mainboard only shows values that macOS exposes without Apple SMBIOS fallback.";
constexpr std::string_view kTrustedBoardNote =
    "Mainboard shows only trusted DMI/board strings; spoofed Apple SMBIOS values are kept only in macOS SMBIOS.";
constexpr std::string_view kHiddenBoardNote =
    "Physical motherboard is hidden by macOS/OpenCore SMBIOS; false Apple fallback values were removed.";
constexpr std::string_view kOpenCoreHidesBoardNote =
    "OpenCore does not expose the original board; enable ExposeSensitiveData bit 0x08 to show it here.";

constexpr std::string_view kOpenCoreBoardSource = "OpenCore NVRAM";

std::string textOf(const std::optional<std::string>& value) { return value.value_or(std::string()); }

// The first key that has a usable value decides; a value the filter rejects does
// not let a later key stand in for it.
std::optional<std::string> deviceTreeBoardValue(std::string_view deviceTree, std::span<const std::string_view> keys)
{
    for (const std::string_view key : keys)
        if (auto value = clean(ioregStringValue(key, deviceTree)))
            return trustedBoardValue(value);
    return std::nullopt;
}

std::string joined(std::initializer_list<std::string_view> parts, std::string_view separator)
{
    std::string text;
    for (auto part = parts.begin(); part != parts.end(); ++part) {
        if (part != parts.begin())
            text += separator;
        text += *part;
    }
    return text;
}

// The Apple identity macOS presents, shown as reported and never used for the board.
struct MacIdentity {
    std::string model;
    std::string modelName;
    std::string boardID;
    std::string serial;
    std::string hardwareUUID;
    std::string originalModel;
};

// The Mac model the firmware names when macOS shows another one (or none): on a
// Mac run through the Legacy Patcher, the real model behind the spoofed one.
std::string originalModel(const std::optional<std::string>& firmwareProduct, const std::string& macModel)
{
    if (!isAppleSMBIOSValue(firmwareProduct))
        return {};
    if (!macModel.empty() && lowercased(*firmwareProduct) == lowercased(macModel))
        return {};
    return *firmwareProduct;
}

// The macOS SMBIOS identity and firmware the hardware report states. Each field
// names the text's labels, then the XML form's key for the same fact.
struct ReportedIdentity {
    std::optional<std::string> model; // "Model Identifier:"; machine_model
    std::optional<std::string> modelName; // "Model Name:", else "Model:"; machine_name
    std::optional<std::string> serial; // "Serial Number (system):"; serial_number
    std::optional<std::string> hardwareUUID; // "Hardware UUID:"; platform_UUID
    // "System Firmware Version:" (Apple Silicon and later Intel releases), else
    // "Boot ROM Version:"; boot_rom_version behind both.
    std::optional<std::string> firmware;
    std::optional<std::string> smc; // "SMC Version (system):"; SMC_version_system
};

// From the text when it is in English, else from the XML form.
ReportedIdentity reportedIdentity(const MachineReadings& readings)
{
    const std::string_view hardware = readings.output(Tool::hardwareReport);
    if (isEnglishReport(hardware, EnglishLabels::hardware))
        return {
            .model = firstMatch(hardware, R"(Model Identifier:[ \t]*(.+))"),
            .modelName = firstUsable(
                {firstMatch(hardware, R"(Model Name:[ \t]*(.+))"), firstMatch(hardware, R"(Model:[ \t]*(.+))")}),
            .serial = firstMatch(hardware, R"(Serial Number.*?:[ \t]*(.+))"),
            .hardwareUUID = firstMatch(hardware, R"(Hardware UUID:[ \t]*(.+))"),
            .firmware = firstUsable({firstMatch(hardware, R"(System Firmware Version:[ \t]*(.+))"),
                                     firstMatch(hardware, R"(Boot ROM Version:[ \t]*(.+))")}),
            .smc = firstMatch(hardware, R"(SMC Version.*?:[ \t]*(.+))"),
        };
    const auto items = systemProfilerItems(readings.output(Tool::hardwareReportXml));
    return {
        .model = firstScalar(items, "machine_model"),
        .modelName = firstScalar(items, "machine_name"),
        .serial = firstScalar(items, "serial_number"),
        .hardwareUUID = firstScalar(items, "platform_UUID"),
        .firmware = firstScalar(items, "boot_rom_version"),
        .smc = firstScalar(items, "SMC_version_system"),
    };
}

// Linux on a Mac sees the same identity in its own files; it comes last.
MacIdentity macOSSMBIOS(const ReportedIdentity& reported, std::string_view registry, const KernelValues& kernel,
                        const OpenCoreVariables& openCore, const AppleIdentity& seenByLinux)
{
    const std::string model = textOf(firstUsable({reported.model, kernel.text(KernelName::model), seenByLinux.model}));
    return {
        .model = model,
        .modelName = textOf(firstUsable({reported.modelName, seenByLinux.modelName})),
        .boardID = textOf(firstUsable({ioregBoardID(registry), seenByLinux.boardID})),
        .serial = textOf(firstUsable({reported.serial, ioregPlatformSerial(registry), seenByLinux.serial})),
        .hardwareUUID =
            textOf(firstUsable({reported.hardwareUUID, ioregPlatformUUID(registry), seenByLinux.hardwareUUID})),
        .originalModel = originalModel(openCore.oemProduct, model),
    };
}

struct PhysicalBoard {
    std::string manufacturer;
    std::string model;
    std::string boardName;
    std::string boardID;
    std::string boardVersion;
    std::string chipset;
    std::string serial;
    std::string source; // where the name came from, when that was not the DMI tables or the device tree

    bool isNamed() const { return !manufacturer.empty() || !model.empty() || !boardName.empty(); }
};

// A candidate for a physical field, and whether it is one of OpenCore's variables.
struct Candidate {
    Candidate(std::optional<std::string> text = std::nullopt, bool openCore = false)
        : value(std::move(text)), fromOpenCore(openCore)
    {
    }
    std::optional<std::string> value;
    bool fromOpenCore;
};

Candidate fromOpenCore(std::optional<std::string> value) { return {std::move(value), true}; }

// The first candidate that survives clean, trimmed.
Candidate firstUsableCandidate(std::initializer_list<Candidate> candidates)
{
    for (const Candidate& candidate : candidates)
        if (auto usable = clean(candidate.value))
            return {std::move(usable), candidate.fromOpenCore};
    return {};
}

// Only trusted DMI values, device-tree board properties, the firmware's own names
// OpenCore passes on, and guesses that pass the same filter: a field with none of
// them stays empty.
PhysicalBoard physicalBoard(const DMIInfo& dmi, std::string_view platform, std::string_view deviceTree,
                            const OpenCoreVariables& openCore)
{
    const auto treeManufacturer = deviceTreeBoardValue(deviceTree, kBoardManufacturerKeys);
    const auto treeProduct = deviceTreeBoardValue(deviceTree, kBoardProductKeys);
    const auto treeVersion = deviceTreeBoardValue(deviceTree, kBoardVersionKeys);

    const auto dmiBoardManufacturer = trustedBoardValue(dmi.baseboardManufacturer);
    const auto dmiBoardProduct = trustedBoardValue(dmi.baseboardProduct);
    const auto dmiSystemManufacturer = trustedBoardValue(dmi.systemManufacturer);
    const auto dmiSystemProduct = trustedBoardValue(dmi.systemProduct);

    // What the firmware called the board before OpenCore replaced the tables:
    // after the DMI board values, before every guess.
    const auto firmwareVendor = trustedBoardValue(openCore.oemVendor);
    const auto firmwareBoard = trustedBoardValue(openCore.oemBoard);
    const auto firmwareProduct = trustedBoardValue(openCore.oemProduct);

    // Guesses pass the board filter too: a maker inferred from a name such as
    // "Mac…" is an Apple fallback, and a board name cut from the platform text may
    // carry an Apple word; neither may stand for the physical board.
    const auto makerFromName = [](const std::optional<std::string>& name) {
        return trustedBoardValue(manufacturerFromBoardName(name));
    };
    // No PCI listing is read yet, so the PCI guess sees no text and never decides.
    const auto inferredManufacturer =
        firstUsable({acpiOEMGuess(platform), pciVendorGuess(""), makerFromName(dmiBoardProduct),
                     makerFromName(treeProduct), makerFromName(dmiSystemProduct)});
    const auto boardNameGuess =
        firstUsable({trustedBoardValue(acpiBoardGuess(platform)), dmiBoardProduct, treeProduct, dmiSystemProduct});

    const Candidate manufacturer = firstUsableCandidate(
        {dmiBoardManufacturer, treeManufacturer, dmiSystemManufacturer, fromOpenCore(firmwareVendor),
         inferredManufacturer});
    const Candidate model =
        firstUsableCandidate({dmiBoardProduct, fromOpenCore(firmwareBoard), boardNameGuess, treeProduct,
                              dmiSystemProduct, fromOpenCore(firmwareProduct)});
    const Candidate boardName =
        firstUsableCandidate({dmiBoardProduct, fromOpenCore(firmwareBoard), treeProduct, boardNameGuess});

    PhysicalBoard board;
    board.manufacturer = textOf(manufacturer.value);
    board.model = textOf(model.value);
    board.boardName = textOf(boardName.value);
    if (manufacturer.fromOpenCore || model.fromOpenCore || boardName.fromOpenCore)
        board.source = kOpenCoreBoardSource;
    board.boardID = textOf(trustedBoardValue(dmi.boardAssetTag));
    // Real dmidecode prints "Version:" and blanks, so the value must stay on the key's line.
    // On a Mac or an OpenCore machine the first such line can be the model
    // identifier (Base Board "Version: iMacPro1,1"), which is no board revision.
    auto dumpVersion = firstMatch(dmi.raw, R"((?:Version|Board Version|Revision):[ \t]*(.+))");
    if (isAppleSMBIOSValue(dumpVersion))
        dumpVersion.reset();
    board.boardVersion = textOf(firstUsable({trustedBoardValue(dmi.baseboardVersion), treeVersion, dumpVersion}));
    board.chipset = trustedChipsetGuess(
        joined({board.manufacturer, board.model, board.boardName, "", "", deviceTree, dmi.raw}, " "));
    board.serial = textOf(trustedSerialValue(dmi.baseboardSerial));
    return board;
}

struct Firmware {
    std::string biosVendor;
    std::string biosVersion;
    std::string biosDate;
    std::string bootROM;
    std::string smc;
    std::string openCoreVersion;
    std::string legacyPatcherVersion;
};

Firmware firmware(const DMIInfo& dmi, const ReportedIdentity& reported, const OpenCoreVariables& openCore)
{
    return {
        .biosVendor = textOf(trustedFirmwareValue(firstUsable({dmi.biosVendor, firmwareVendorGuess(dmi.raw)}))),
        .biosVersion = textOf(trustedFirmwareValue(dmi.biosVersion)),
        .biosDate = textOf(clean(dmi.biosDate)),
        .bootROM = textOf(firstUsable({reported.firmware, dmi.biosVersion})),
        .smc = textOf(clean(reported.smc)),
        .openCoreVersion = openCore.version ? openCoreVersionText(*openCore.version) : std::string(),
        .legacyPatcherVersion = textOf(openCore.legacyPatcherVersion),
    };
}

// True when one of the firmware's names says something: OEM filler does not, an
// Apple identity does (it is what a genuine Mac's firmware says).
bool exposesOriginalBoard(const OpenCoreVariables& openCore)
{
    return std::ranges::any_of(std::array{&openCore.oemVendor, &openCore.oemProduct, &openCore.oemBoard},
                               [](const std::optional<std::string>* value) {
                                   const auto usable = clean(*value);
                                   return usable && !isBoardFiller(*usable);
                               });
}

// OpenCore booted the machine, yet none of its variables names the firmware's
// board. Where no nvram run could even start there is nothing to judge by.
bool openCoreHidesOriginalBoard(const OpenCoreVariables& openCore, std::string_view platform)
{
    if (!openCore.anyRead || exposesOriginalBoard(openCore))
        return false;
    return openCore.version || containsOpenCoreMarker(platform);
}

// Why the physical fields hold what they hold.
std::string detectionNote(const DMIInfo& dmi, const PhysicalBoard& board, const OpenCoreVariables& openCore,
                          std::string_view platform)
{
    std::string note(dmi.source.empty() ? kNoDmidecodeNote : board.isNamed() ? kTrustedBoardNote : kHiddenBoardNote);
    if (openCoreHidesOriginalBoard(openCore, platform))
        note += " " + std::string(kOpenCoreHidesBoardNote);
    return note;
}

} // namespace

MainboardInfo mainboardInfo(const MachineReadings& readings, const DMIInfo& dmi)
{
    const std::string_view hardware = readings.output(Tool::hardwareReport);
    const std::string_view registry = readings.output(Tool::platformRegistry);
    const std::string_view deviceTree = readings.output(Tool::deviceTree);

    const std::string platform = joined({dmi.raw, registry, "", deviceTree, hardware, ""}, "\n");
    const OpenCoreVariables openCore = openCoreVariables(readings);

    const ReportedIdentity reported = reportedIdentity(readings);
    const MacIdentity mac = macOSSMBIOS(reported, registry, readings.kernel, openCore, linuxAppleIdentity(readings.files));
    const PhysicalBoard board = physicalBoard(dmi, platform, deviceTree, openCore);
    const Firmware bios = firmware(dmi, reported, openCore);

    return MainboardInfo{
        .manufacturer = board.manufacturer,
        .model = board.model,
        .boardName = board.boardName,
        .boardID = board.boardID,
        .boardVersion = board.boardVersion,
        .chipset = board.chipset,
        .serial = board.serial,
        .macModel = mac.model,
        .macModelName = mac.modelName,
        .macBoardID = mac.boardID,
        .macSerial = mac.serial,
        .hardwareUUID = mac.hardwareUUID,
        .biosVendor = bios.biosVendor,
        .biosVersion = bios.biosVersion,
        .biosDate = bios.biosDate,
        .bootROM = bios.bootROM,
        .smc = bios.smc,
        .dmiSource = dmi.source,
        .detectionNotes = detectionNote(dmi, board, openCore, platform),
        .opencoreVersion = bios.openCoreVersion,
        .legacyPatcherVersion = bios.legacyPatcherVersion,
        .originalModel = mac.originalModel,
        .boardSource = board.source,
    };
}

} // namespace veltrin::SystemProbe
