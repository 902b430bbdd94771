#include "platform/pci_ids.h"

#include <algorithm>

namespace veltrin {
namespace {

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::string lowerAscii(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lowered;
}

std::string_view trimmedAscii(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

enum class EntryKind { vendor, device };

struct Entry {
    EntryKind kind;
    std::string id;        // lower case
    std::string_view name; // trimmed
    std::string_view line; // as in the database, without its line feed
};

// "xxxx  name" after the line's leading tabs; absent when it is not of that form.
std::optional<Entry> entryOf(std::string_view line)
{
    const EntryKind kind = line.starts_with('\t') ? EntryKind::device : EntryKind::vendor;
    const std::string_view rest = kind == EntryKind::device ? line.substr(1) : line;
    if (rest.size() < 6 || !std::all_of(rest.begin(), rest.begin() + 4, isHexDigit) || rest[4] != ' ')
        return std::nullopt;
    const std::string_view name = trimmedAscii(rest.substr(5));
    if (name.empty())
        return std::nullopt;
    return Entry{kind, lowerAscii(rest.substr(0, 4)), name, line};
}

// Every vendor and device line in order, until the class lists begin. Subsystem
// lines (two tabs) and comments are passed over.
template <typename Visit>
void forEachEntry(std::string_view database, Visit visit)
{
    std::size_t start = 0;
    while (start < database.size()) {
        const std::size_t end = std::min(database.find('\n', start), database.size());
        std::string_view line = database.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.starts_with("C "))
            return;
        if (line.empty() || line.starts_with('#') || line.starts_with("\t\t"))
            continue;
        if (const auto entry = entryOf(line); entry && !visit(*entry))
            return;
    }
}

} // namespace

std::optional<std::string> pciIdDigits(std::string_view sysfsText)
{
    std::string_view text = trimmedAscii(sysfsText);
    if (text.starts_with("0x") || text.starts_with("0X"))
        text.remove_prefix(2);
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), isHexDigit))
        return std::nullopt;
    return lowerAscii(text);
}

bool isDisplayClass(std::string_view sysfsText)
{
    const std::string_view text = trimmedAscii(sysfsText);
    return text.size() == 8 && text.starts_with("0x03") && std::all_of(text.begin() + 2, text.end(), isHexDigit);
}

std::string pciIdsExcerpt(std::string_view database, const std::vector<PciDeviceId>& devices)
{
    std::string excerpt;
    std::string vendor;
    bool vendorWanted = false;
    forEachEntry(database, [&](const Entry& entry) {
        if (entry.kind == EntryKind::vendor) {
            vendor = entry.id;
            vendorWanted = std::any_of(devices.begin(), devices.end(),
                                       [&](const PciDeviceId& id) { return id.vendor == vendor; });
        }
        const bool wanted = vendorWanted && (entry.kind == EntryKind::vendor ||
                                             std::find(devices.begin(), devices.end(),
                                                       PciDeviceId{vendor, entry.id}) != devices.end());
        if (wanted)
            excerpt.append(entry.line).append("\n");
        return true;
    });
    return excerpt;
}

PciNames pciNames(std::string_view database, const PciDeviceId& id)
{
    PciNames names;
    forEachEntry(database, [&](const Entry& entry) {
        if (entry.kind == EntryKind::vendor) {
            if (names.vendor)
                return false; // past the vendor's own devices
            if (entry.id == id.vendor)
                names.vendor = std::string(entry.name);
            return true;
        }
        if (names.vendor && entry.id == id.device) {
            names.device = std::string(entry.name);
            return false;
        }
        return true;
    });
    return names;
}

} // namespace veltrin
