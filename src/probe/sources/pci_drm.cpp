#include "probe/sources/pci_drm.h"

#include "core/byte_count.h"
#include "core/unicode_text.h"
#include "platform/linux_files.h"
#include "platform/pci_ids.h"
#include "probe/sources/system_file.h"

#include <algorithm>
#include <array>

namespace veltrin::SystemProbe {
namespace {

// Graphics built into the processor or chipset sits on the root bus and has no
// memory of its own. Virtual adapters sit there too, so only the makers of such
// processors count.
constexpr std::array<std::string_view, 2> kIntegratedGraphicsMakers{"8086", "1002"};

constexpr std::size_t kEdidBlockSize = 128;
constexpr std::array<unsigned char, 8> kEdidHeader{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

std::string filePath(std::string_view folder, std::string_view name, std::string_view file)
{
    return std::string(folder) + std::string(name) + "/" + std::string(file);
}

// The folder names under `folder` that hold a file named `file`, in path order.
std::vector<std::string> foldersHolding(const FileContents& files, std::string_view folder,
                                        std::string_view file)
{
    std::vector<std::string> names;
    const std::string suffix = "/" + std::string(file);
    for (auto entry = files.lower_bound(folder);
         entry != files.end() && entry->first.starts_with(folder); ++entry) {
        const std::string_view rest = std::string_view(entry->first).substr(folder.size());
        if (rest.ends_with(suffix) && rest.find('/') == rest.size() - suffix.size())
            names.emplace_back(rest.substr(0, rest.size() - suffix.size()));
    }
    return names;
}

// "0000:00:02.0" is on bus 00.
bool onRootBus(std::string_view address)
{
    const auto first = address.find(':');
    const auto second = address.find(':', first + 1);
    return first != std::string_view::npos && second != std::string_view::npos &&
           address.substr(first + 1, second - first - 1) == "00";
}

// The first mode of a connector ("2560x1440") as "2560 x 1440".
std::optional<std::string> firstMode(const FileContents& files, const std::string& path)
{
    const auto mode = systemFileText(files, path);
    const auto x = mode ? mode->find('x') : std::string::npos;
    if (x == std::string::npos || x == 0)
        return std::nullopt;
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const std::string_view text = *mode;
    const auto heightEnd = std::find_if_not(text.begin() + static_cast<std::ptrdiff_t>(x) + 1, text.end(), digit);
    if (!std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(x), digit) ||
        heightEnd == text.begin() + static_cast<std::ptrdiff_t>(x) + 1)
        return std::nullopt;
    return std::string(text.substr(0, x)) + " x " + std::string(text.substr(x + 1));
}

// The PCI function a card belongs to, from its uevent ("PCI_SLOT_NAME=0000:03:00.0").
std::string cardAddress(const FileContents& files, std::string_view card)
{
    const auto event = fileContent(files, filePath(LinuxPath::drmDevices, card, ConnectorFile::cardEvent));
    static constexpr std::string_view key = "PCI_SLOT_NAME=";
    const auto at = event ? event->find(key) : std::string_view::npos;
    if (at == std::string_view::npos || (at > 0 && (*event)[at - 1] != '\n'))
        return {};
    const std::string_view rest = event->substr(at + key.size());
    return trimmed(rest.substr(0, rest.find('\n')));
}

struct Display {
    std::string address; // of the adapter driving it
    std::string text;
};

// Every connected connector's display: its first mode, and the monitor's name in
// parentheses where the EDID gives one ("2560 x 1440 (DELL U2720Q)").
std::vector<Display> connectedDisplays(const FileContents& files)
{
    std::vector<Display> displays;
    for (const std::string& connector : foldersHolding(files, LinuxPath::drmDevices, ConnectorFile::status)) {
        const std::string_view card = connectorCard(connector);
        const auto path = [&](std::string_view file) { return filePath(LinuxPath::drmDevices, connector, file); };
        if (card.empty() || systemFileText(files, path(ConnectorFile::status)) != "connected")
            continue;
        const auto mode = firstMode(files, path(ConnectorFile::modes));
        const auto edid = fileContent(files, path(ConnectorFile::edid));
        const auto name = edid ? edidMonitorName(*edid) : std::nullopt;
        if (!mode && !name)
            continue;
        displays.push_back({cardAddress(files, card),
                            mode && name ? *mode + " (" + *name + ")" : mode.value_or(name.value_or(""))});
    }
    return displays;
}

std::optional<std::string_view> pciDatabase(const FileContents& files)
{
    for (const std::string_view path : LinuxPath::pciIdsDatabases)
        if (auto database = fileContent(files, path))
            return database;
    return std::nullopt;
}

std::string videoMemory(const FileContents& files, std::string_view address, std::string_view vendor)
{
    const auto stated = systemFileText(files, filePath(LinuxPath::pciDevices, address, PciFile::videoMemory));
    if (const auto bytes = stated ? decimalDigitsValue(*stated) : std::nullopt; bytes && *bytes > 0)
        return formatByteCount(*bytes);
    const bool integrated =
        onRootBus(address) && std::find(kIntegratedGraphicsMakers.begin(), kIntegratedGraphicsMakers.end(), vendor) !=
                                  kIntegratedGraphicsMakers.end();
    return integrated ? "Shared" : "";
}

std::string joinedDisplays(const std::vector<Display>& displays, std::string_view address)
{
    std::string joined;
    for (const Display& display : displays)
        if (display.address == address)
            joined += (joined.empty() ? "" : " / ") + display.text;
    return joined;
}

} // namespace

std::optional<std::string> edidMonitorName(std::string_view edid)
{
    if (edid.size() < kEdidBlockSize || edid.size() % kEdidBlockSize != 0 ||
        !std::equal(kEdidHeader.begin(), kEdidHeader.end(), edid.begin(),
                    [](unsigned char expected, char actual) { return expected == static_cast<unsigned char>(actual); }))
        return std::nullopt;
    // Four 18-byte descriptors; a display descriptor starts with three zero bytes,
    // and tag 0xFC holds up to 13 characters of name, ended by a line feed.
    for (std::size_t offset = 54; offset < 126; offset += 18) {
        const std::string_view descriptor = edid.substr(offset, 18);
        if (descriptor[0] != 0 || descriptor[1] != 0 || descriptor[2] != 0 ||
            static_cast<unsigned char>(descriptor[3]) != 0xFC)
            continue;
        std::string name;
        for (const char c : descriptor.substr(5, 13)) {
            if (c == '\n')
                break;
            if (c >= 0x20 && c < 0x7F)
                name += c;
        }
        if (std::string trimmedName = trimmed(name); !trimmedName.empty())
            return trimmedName;
    }
    return std::nullopt;
}

std::vector<GPUInfo> pciDisplayAdapters(const FileContents& files)
{
    const auto database = pciDatabase(files);
    const std::vector<Display> displays = connectedDisplays(files);
    std::vector<GPUInfo> adapters;
    for (const std::string& address : foldersHolding(files, LinuxPath::pciDevices, PciFile::displayClass)) {
        if (adapters.size() == kMaxListedDevices)
            break;
        const auto pciFile = [&](std::string_view file) {
            return fileContent(files, filePath(LinuxPath::pciDevices, address, file)).value_or("");
        };
        if (!isDisplayClass(pciFile(PciFile::displayClass)))
            continue;
        const auto vendor = pciIdDigits(pciFile(PciFile::vendor));
        const auto device = pciIdDigits(pciFile(PciFile::device));
        const PciNames names = vendor && device && database ? pciNames(*database, {*vendor, *device}) : PciNames{};
        const std::string model =
            names.device ? *names.device : (vendor && device ? *vendor + ":" + *device : std::string("Unknown"));
        adapters.push_back({
            .name = model,
            .chipset = model,
            .vram = videoMemory(files, address, vendor.value_or("")),
            .vendor = vendor ? (names.vendor ? *names.vendor + " (0x" + *vendor + ")" : "0x" + *vendor) : "",
            .displays = joinedDisplays(displays, address),
        });
    }
    return adapters;
}

} // namespace veltrin::SystemProbe
