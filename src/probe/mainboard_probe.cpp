#include "probe/mainboard_probe.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "probe/clean.h"
#include "probe/inference.h"
#include "probe/linux_sources.h"
#include "probe/opencore.h"
#include "probe/parsers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <span>

namespace veltrin::SystemProbe {
namespace {

// "macmini" joins the product words: Macmini8,1 is a common OpenCore identity and
// names no other product word, so without it the spoofed model reached the board.
constexpr std::array<std::string_view, 5> kAppleProductWords{"apple", "macpro", "imac", "macbook", "macmini"};

constexpr std::array<std::string_view, 11> kBoardFiller{
    "to be filled by o.e.m.", "to be filled by oem", "default string", "system product name",
    "base board product name", "base board version", "none", "null", "0", "1.0", "not specified",
};
// OpenCore writes its maker's name, Acidanthera, over the board and firmware
// makers of the tables it generates; that name never describes the real board,
// and anywhere in the platform text it says OpenCore booted the machine.
constexpr std::array<std::string_view, 3> kOpenCoreMarkers{"open core", "opencore", "acidanthera"};
constexpr std::string_view kFallbackMarker = "smbios fallback";
constexpr std::array<std::string_view, 3> kSerialFiller{"serial", "o.e.m", "oem"};
constexpr std::array<std::string_view, 4> kFirmwareFallbacks{"apple/efi", "smbios fallback", "boot rom", "acidanthera"};

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

bool containsAny(std::string_view text, std::span<const std::string_view> words)
{
    return std::any_of(words.begin(), words.end(), [&](std::string_view word) { return contains(text, word); });
}

bool equalsAny(std::string_view text, std::span<const std::string_view> words)
{
    return std::find(words.begin(), words.end(), text) != words.end();
}

// The first candidate that survives clean, trimmed.
std::optional<std::string> firstUsable(std::initializer_list<std::optional<std::string>> candidates)
{
    for (const auto& candidate : candidates)
        if (auto usable = clean(candidate))
            return usable;
    return std::nullopt;
}

std::string textOf(const std::optional<std::string>& value) { return value.value_or(std::string()); }

// The sw_vers report's value, else the bare value of sw_vers run for that part
// alone (started with the rest, read only here).
std::string versionPart(std::string_view software, std::string_view pattern, std::string_view alone)
{
    if (auto reported = clean(firstMatch(software, pattern)))
        return *std::move(reported);
    return textOf(clean(std::string(alone)));
}

std::string osText(const std::string& product, const std::string& build)
{
    return build.empty() ? product : product + " (" + build + ")";
}

// The first key that has a usable value decides; a value the filter rejects does
// not let a later key stand in for it.
std::optional<std::string> deviceTreeBoardValue(std::string_view deviceTree, std::span<const std::string_view> keys)
{
    for (const std::string_view key : keys)
        if (auto value = clean(ioregStringValue(key, deviceTree)))
            return trustedBoardValue(value);
    return std::nullopt;
}

// Registry data form <4d61632d…00> first, then the quoted forms "…" and <"…">
// (the second is how ioreg prints board-id on real Macs).
std::optional<std::string> boardIDText(std::string_view registry)
{
    const auto data = firstMatch(registry, R"(board-id.*?<([0-9a-fA-F]+)>)");
    const auto quoted = firstMatch(registry, R"re(board-id.*?= <?"(.+?)")re");
    return firstUsable({data ? hexToASCII(*data) : std::nullopt, quoted});
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

} // namespace

bool isAppleSMBIOSValue(const std::optional<std::string>& value)
{
    const auto usable = clean(value);
    if (!usable)
        return false;
    const std::string lowered = lowercased(*usable);
    return containsAny(lowered, kAppleProductWords) || lowered.starts_with("mac-");
}

std::optional<std::string> trustedBoardValue(const std::optional<std::string>& value)
{
    auto usable = clean(value);
    if (!usable)
        return std::nullopt;
    const std::string lowered = lowercased(*usable);
    if (equalsAny(lowered, kBoardFiller) || isAppleSMBIOSValue(usable) || contains(lowered, kFallbackMarker) ||
        containsAny(lowered, kOpenCoreMarkers))
        return std::nullopt;
    return usable;
}

std::optional<std::string> trustedSerialValue(const std::optional<std::string>& value)
{
    auto trusted = trustedBoardValue(value);
    if (trusted && containsAny(lowercased(*trusted), kSerialFiller))
        return std::nullopt;
    return trusted;
}

std::optional<std::string> trustedFirmwareValue(const std::optional<std::string>& value)
{
    auto usable = clean(value);
    if (!usable)
        return std::nullopt;
    const std::string lowered = lowercased(*usable);
    if (containsAny(lowered, kFirmwareFallbacks) || lowered.starts_with("mac-"))
        return std::nullopt;
    return usable;
}

std::optional<std::string> ioregStringValue(std::string_view key, std::string_view text)
{
    const std::string quotedKey = R"(\")" + escapedPattern(key) + R"(\")";
    // A quoted string is final, even when clean rejects it.
    if (const auto quoted = firstMatch(text, quotedKey + R"(\s*=\s*\"(.+?)\")"))
        return clean(quoted);
    if (auto data = firstMatch(text, quotedKey + R"(\s*=\s*<([0-9a-fA-F\s]+)>)")) {
        std::erase(*data, ' ');
        return hexToASCII(*data);
    }
    return std::nullopt;
}

std::optional<std::string> hexToASCII(std::string_view hex)
{
    std::string bytes;
    for (std::size_t offset = 0; offset < hex.size(); offset += 2) {
        const std::string_view pair = hex.substr(offset, 2);
        unsigned value = 0;
        const auto [end, error] = std::from_chars(pair.data(), pair.data() + pair.size(), value, 16);
        if (error != std::errc() || end != pair.data() + pair.size())
            return std::nullopt;
        if (value != 0)
            bytes += static_cast<char>(value);
    }
    if (!isValidUtf8(bytes))
        return std::nullopt;
    return clean(bytes);
}

std::string uptimeOnly(std::string_view text)
{
    const std::string whole = trimmed(text);
    if (whole.empty())
        return {};
    const auto up = whole.find(" up ");
    if (up == std::string::npos) {
        std::string single;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            single += whole[i];
            if (whole[i] == ' ' && i + 1 < whole.size() && whole[i + 1] == ' ')
                ++i;
        }
        return trimmed(single);
    }

    std::string duration;
    std::string_view rest = std::string_view(whole).substr(up + 4);
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string piece = trimmed(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const std::string lowered = lowercased(piece);
        if (contains(lowered, "user") || contains(lowered, "load average"))
            break;
        if (piece.empty())
            continue;
        if (!duration.empty())
            duration += ", ";
        duration += piece;
    }
    return duration.empty() ? whole : duration;
}

namespace {

struct OperatingSystem {
    std::string os;
    std::string kernel;
    std::string uptime;
};

OperatingSystem operatingSystem(const MachineReadings& readings)
{
    const std::string_view software = readings.output(Tool::softwareVersion);
    const std::string product =
        versionPart(software, R"(ProductVersion:[ \t]*(.+))", readings.output(Tool::productVersion));
    const std::string build = versionPart(software, R"(BuildVersion:[ \t]*(.+))", readings.output(Tool::buildVersion));
    const std::string macOS = osText(product, build);
    return {
        .os = macOS.empty() ? osReleaseName(readings) : macOS,
        .kernel = textOf(clean(std::string(readings.output(Tool::kernelRelease)))),
        .uptime = uptimeOnly(readings.output(Tool::uptime)),
    };
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

// Linux on a Mac sees the same identity in its own files; it comes last.
MacIdentity macOSSMBIOS(std::string_view hardware, std::string_view registry, const KernelValues& kernel,
                        const OpenCoreVariables& openCore, const AppleIdentity& seenByLinux)
{
    const std::string model = textOf(firstUsable(
        {firstMatch(hardware, R"(Model Identifier:[ \t]*(.+))"), kernel.text(KernelName::model), seenByLinux.model}));
    return {
        .model = model,
        .modelName = textOf(firstUsable({firstMatch(hardware, R"(Model Name:[ \t]*(.+))"),
                                         firstMatch(hardware, R"(Model:[ \t]*(.+))"), seenByLinux.modelName})),
        .boardID = textOf(firstUsable({boardIDText(registry), seenByLinux.boardID})),
        .serial = textOf(firstUsable({firstMatch(hardware, R"(Serial Number.*?:[ \t]*(.+))"),
                                      firstMatch(registry, R"re(IOPlatformSerialNumber.*?= "(.+?)")re"),
                                      seenByLinux.serial})),
        .hardwareUUID = textOf(firstUsable({firstMatch(hardware, R"(Hardware UUID:[ \t]*(.+))"),
                                            firstMatch(registry, R"re(IOPlatformUUID.*?= "(.+?)")re"),
                                            seenByLinux.hardwareUUID})),
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

Firmware firmware(const DMIInfo& dmi, std::string_view hardware, const OpenCoreVariables& openCore)
{
    return {
        .biosVendor = textOf(trustedFirmwareValue(firstUsable({dmi.biosVendor, firmwareVendorGuess(dmi.raw)}))),
        .biosVersion = textOf(trustedFirmwareValue(dmi.biosVersion)),
        .biosDate = textOf(clean(dmi.biosDate)),
        .bootROM = textOf(firstUsable({firstMatch(hardware, R"(System Firmware Version:[ \t]*(.+))"),
                                       firstMatch(hardware, R"(Boot ROM Version:[ \t]*(.+))"), dmi.biosVersion})),
        .smc = textOf(clean(firstMatch(hardware, R"(SMC Version.*?:[ \t]*(.+))"))),
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
                                   return usable && !equalsAny(lowercased(*usable), kBoardFiller);
                               });
}

// OpenCore booted the machine, yet none of its variables names the firmware's
// board. Where no nvram run could even start there is nothing to judge by.
bool openCoreHidesOriginalBoard(const OpenCoreVariables& openCore, std::string_view platform)
{
    if (!openCore.anyRead || exposesOriginalBoard(openCore))
        return false;
    return openCore.version || containsAny(lowercased(platform), kOpenCoreMarkers);
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

    const OperatingSystem system = operatingSystem(readings);
    const MacIdentity mac = macOSSMBIOS(hardware, registry, readings.kernel, openCore, linuxAppleIdentity(readings));
    const PhysicalBoard board = physicalBoard(dmi, platform, deviceTree, openCore);
    const Firmware bios = firmware(dmi, hardware, openCore);

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
        .os = system.os,
        .kernel = system.kernel,
        .uptime = system.uptime,
        .dmiSource = dmi.source,
        .detectionNotes = detectionNote(dmi, board, openCore, platform),
        .opencoreVersion = bios.openCoreVersion,
        .legacyPatcherVersion = bios.legacyPatcherVersion,
        .originalModel = mac.originalModel,
        .boardSource = board.source,
    };
}

} // namespace veltrin::SystemProbe
