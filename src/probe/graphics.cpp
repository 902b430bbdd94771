// Each value is looked up in its own adapter's piece of the report, so that two
// adapters never trade values. Key patterns allow only spaces and tabs after the
// colon, so a key printed with nothing after it never takes the next line's text.

#include "probe/graphics.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "probe/sources/filters.h"
#include "probe/sources/pci_drm.h"
#include "probe/sources/system_profiler_xml.h"

#include <algorithm>
#include <array>

namespace veltrin::SystemProbe {
namespace {

// The piece's first line that is not empty: the rest of the "Chipset Model:" line,
// even when that is only blanks, or the next line when the label ends its line.
std::string adapterModel(std::string_view piece)
{
    std::size_t start = 0;
    while (start < piece.size()) {
        const std::size_t end = std::min(piece.find('\n', start), piece.size());
        if (end > start)
            return trimmed(piece.substr(start, end - start));
        start = end + 1;
    }
    return "Unknown";
}

std::string cleanedOrEmpty(const std::optional<std::string>& value) { return clean(value).value_or(""); }

// The adapter keys; compiled once, since a report may hold many pieces.
struct AdapterPatterns {
    MatchPattern vram{"VRAM.*?:[ \\t]*(.+)"};
    MatchPattern cores{"Total Number of Cores:[ \\t]*(.+)"};
    MatchPattern vendor{"Vendor:[ \\t]*(.+)"};
    MatchPattern metal{"Metal Support:[ \\t]*(.+)"};
};

// Integrated adapters report no video memory; their core count stands in.
std::string videoMemory(const AdapterPatterns& patterns, std::string_view piece)
{
    auto memory = patterns.vram.firstMatch(piece);
    if (!memory)
        memory = patterns.cores.firstMatch(piece);
    return cleanedOrEmpty(memory);
}

// Display lines joined as printed, then every label removed; the indentation
// inside the text stays.
std::string displayResolutions(std::string_view piece)
{
    static constexpr std::string_view label = "Resolution:";
    std::string joined;
    for (const std::string& line : linesContaining(piece, label))
        joined += (joined.empty() ? "" : " / ") + line;
    for (auto at = joined.find(label); at != std::string::npos; at = joined.find(label, at))
        joined.erase(at, label.size());
    return cleanedOrEmpty(joined);
}

std::vector<GPUInfo> reportAdapters(std::string_view sp)
{
    const AdapterPatterns patterns;
    std::vector<GPUInfo> adapters;
    for (const std::string_view piece : piecesAfter(sp, "Chipset Model:")) {
        if (adapters.size() == kMaxListedDevices)
            break;
        const std::string model = adapterModel(piece);
        adapters.push_back({
            .name = model,
            .chipset = model,
            .vram = videoMemory(patterns, piece),
            .vendor = cleanedOrEmpty(patterns.vendor.firstMatch(piece)),
            .metal = cleanedOrEmpty(patterns.metal.firstMatch(piece)),
            .displays = displayResolutions(piece),
        });
    }
    return adapters;
}

// The video memory keys, in the order the English report's VRAM lines take
// them: "VRAM (Total):", then "VRAM (Dynamic, Max):" under either of its keys.
constexpr std::array<std::string_view, 3> kVideoMemoryKeys{"spdisplays_vram", "_spdisplays_vram",
                                                          "spdisplays_vram_shared"};

std::optional<std::string> plistVideoMemory(const PlistValue& adapter)
{
    for (const std::string_view key : kVideoMemoryKeys)
        if (auto memory = englishValue(adapter, key))
            return memory;
    return englishValue(adapter, "sppci_cores"); // "Total Number of Cores:"
}

// Each display's "Resolution:" line, from spdisplays_pixelresolution; a display
// whose resolution has a name of its own ("spdisplays_qhd") shows its pixel size.
std::string plistDisplayResolutions(const PlistValue& adapter)
{
    std::string joined;
    for (const PlistValue& display : adapter.list("spdisplays_ndrvs")) {
        auto resolution = englishValue(display, "spdisplays_pixelresolution");
        if (!resolution)
            resolution = englishValue(display, "_spdisplays_pixels");
        if (const auto shown = clean(resolution))
            joined += (joined.empty() ? "" : " / ") + *shown;
    }
    return joined;
}

// The same adapters from the XML form: one per item with sppci_model, the key
// behind "Chipset Model:"; spdisplays_vendor and spdisplays_mtlgpufamilysupport
// are behind "Vendor:" and "Metal Support:".
std::vector<GPUInfo> plistAdapters(std::string_view xml)
{
    std::vector<GPUInfo> adapters;
    for (const PlistValue& item : systemProfilerItems(xml)) {
        if (adapters.size() == kMaxListedDevices)
            break;
        const auto model = englishValue(item, "sppci_model");
        if (!model)
            continue;
        const std::string name = model->empty() ? "Unknown" : *model;
        adapters.push_back({
            .name = name,
            .chipset = name,
            .vram = cleanedOrEmpty(plistVideoMemory(item)),
            .vendor = cleanedOrEmpty(englishValue(item, "spdisplays_vendor")),
            .metal = cleanedOrEmpty(englishValue(item, "spdisplays_mtlgpufamilysupport")),
            .displays = plistDisplayResolutions(item),
        });
    }
    return adapters;
}

// From the text when it is in English, else from the XML form.
std::vector<GPUInfo> reportedAdapters(const MachineReadings& readings)
{
    const std::string_view sp = readings.output(Tool::graphicsReport);
    return isEnglishReport(sp, EnglishLabels::graphics) ? reportAdapters(sp)
                                                       : plistAdapters(readings.output(Tool::graphicsReportXml));
}

// A machine with no adapter found still shows one graphics entry.
std::vector<GPUInfo> orPlaceholder(std::vector<GPUInfo> adapters)
{
    if (adapters.empty())
        adapters.push_back({.name = "GPU"});
    return adapters;
}

} // namespace

std::vector<GPUInfo> gpuInfo(std::string_view sp) { return orPlaceholder(reportAdapters(sp)); }

std::vector<GPUInfo> graphicsInfo(const MachineReadings& readings)
{
    std::vector<GPUInfo> adapters = reportedAdapters(readings);
    if (adapters.empty())
        adapters = pciDisplayAdapters(readings.files);
    return orPlaceholder(std::move(adapters));
}

} // namespace veltrin::SystemProbe
