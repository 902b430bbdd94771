#include "platform/linux_files.h"

#include "core/process_runner.h"
#include "core/unicode_text.h"
#include "platform/machine.h"
#include "platform/pci_ids.h"

#include <algorithm>

namespace veltrin {
namespace {

// A sysfs attribute is at most a page; an EDID with every extension block 32 KiB.
constexpr std::size_t kAttributeLimit = 64 * 1024;
constexpr std::size_t kTextLimit = ProcessRunner::kOutputCapBytes;
constexpr std::size_t kDatabaseLimit = 16 * 1024 * 1024; // pci.ids is about 1.4 MB

// No real machine comes near these; a folder that lists more is not read further.
constexpr std::size_t kMaxPciFunctions = 1024;
constexpr std::size_t kMaxDisplayAdapters = 256;
constexpr std::size_t kMaxConnectors = 256;
// The largest machines have a few thousand logical processors; the few cache
// levels of a processor are listed under a handful of folders.
constexpr std::size_t kMaxProcessors = 4096;
constexpr std::size_t kMaxCacheFolders = 16;
// A kernel lists a few hundred modules, built-in ones included.
constexpr std::size_t kMaxModuleFolders = 4096;

bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string joined(std::string_view folder, std::string_view name, std::string_view file)
{
    return std::string(folder) + std::string(name) + "/" + std::string(file);
}

class LinuxFileReader {
public:
    explicit LinuxFileReader(const Machine& machine) : machine_(machine) {}

    // Keeps the file's content under its path; false when it cannot be read.
    bool keep(const std::string& path, std::size_t limit)
    {
        auto content = machine_.readFileHead(path, limit);
        if (content)
            files_.insert_or_assign(path, *std::move(content));
        return content.has_value();
    }

    // The display controllers' files, and their IDs for the name lookup.
    std::vector<PciDeviceId> keepDisplayAdapters()
    {
        std::vector<PciDeviceId> adapters;
        auto functions = machine_.directoryEntries(std::string(LinuxPath::pciDevices));
        functions.resize(std::min(functions.size(), kMaxPciFunctions));
        for (const std::string& function : functions) {
            if (adapters.size() == kMaxDisplayAdapters)
                break;
            const std::string classPath = joined(LinuxPath::pciDevices, function, PciFile::displayClass);
            const auto displayClass = machine_.readFileHead(classPath, kAttributeLimit);
            if (!displayClass || !isDisplayClass(*displayClass))
                continue;
            files_.insert_or_assign(classPath, *displayClass);
            for (const std::string_view file : {PciFile::vendor, PciFile::device, PciFile::videoMemory})
                keep(joined(LinuxPath::pciDevices, function, file), kAttributeLimit);
            const auto vendor = pciIdDigits(text(joined(LinuxPath::pciDevices, function, PciFile::vendor)));
            const auto device = pciIdDigits(text(joined(LinuxPath::pciDevices, function, PciFile::device)));
            if (vendor && device)
                adapters.push_back({*vendor, *device});
        }
        return adapters;
    }

    // Connected connectors: their state, modes and EDID, and their card's uevent.
    void keepConnectedDisplays()
    {
        auto names = machine_.directoryEntries(std::string(LinuxPath::drmDevices));
        std::erase_if(names, [](const std::string& name) { return connectorCard(name).empty(); });
        names.resize(std::min(names.size(), kMaxConnectors));
        for (const std::string& name : names) {
            const std::string statusPath = joined(LinuxPath::drmDevices, name, ConnectorFile::status);
            const auto status = machine_.readFileHead(statusPath, kAttributeLimit);
            if (!status || trimmed(*status) != "connected")
                continue;
            files_.insert_or_assign(statusPath, *status);
            keep(joined(LinuxPath::drmDevices, name, ConnectorFile::modes), kAttributeLimit);
            keep(joined(LinuxPath::drmDevices, name, ConnectorFile::edid), kAttributeLimit);
            keep(joined(LinuxPath::drmDevices, connectorCard(name), ConnectorFile::cardEvent), kAttributeLimit);
        }
    }

    // Each processor's topology, cpu0's caches and clock: enough to count cores and
    // size the caches as the kernel sees them.
    void keepProcessorFiles()
    {
        keep(std::string(LinuxPath::cpuInfo), kTextLimit);
        keep(std::string(LinuxPath::onlineProcessors), kAttributeLimit);
        auto processors = machine_.directoryEntries(std::string(LinuxPath::processorFolder));
        std::erase_if(processors, [](const std::string& name) { return !isProcessorFolder(name); });
        processors.resize(std::min(processors.size(), kMaxProcessors));
        for (const std::string& processor : processors)
            for (const std::string_view file : {TopologyFile::package, TopologyFile::core})
                keep(joined(LinuxPath::processorFolder, processor, file), kAttributeLimit);
        auto caches = machine_.directoryEntries(std::string(LinuxPath::cacheFolder));
        std::erase_if(caches, [](const std::string& name) { return !isCacheFolder(name); });
        caches.resize(std::min(caches.size(), kMaxCacheFolders));
        for (const std::string& cache : caches)
            for (const std::string_view file : kCacheFiles)
                keep(joined(LinuxPath::cacheFolder, cache, file), kAttributeLimit);
        for (const std::string_view file : {FrequencyFile::base, FrequencyFile::maximum})
            keep(std::string(LinuxPath::frequencyFolder) + std::string(file), kAttributeLimit);
    }

    // The command line, the module list, the taint mask, the Secure Boot variable,
    // and the version file of each module that has one.
    void keepBootFiles()
    {
        for (const std::string_view path : {LinuxPath::kernelCommandLine, LinuxPath::kernelModules,
                                             LinuxPath::kernelTaint, LinuxPath::secureBootVariable})
            keep(std::string(path), kTextLimit);
        auto modules = machine_.directoryEntries(std::string(LinuxPath::moduleFolder));
        modules.resize(std::min(modules.size(), kMaxModuleFolders));
        for (const std::string& module : modules)
            keep(joined(LinuxPath::moduleFolder, module, kModuleVersionFile), kAttributeLimit);
    }

    // Only the database lines that name these adapters: the whole file is large,
    // and a capture must name them as this machine did.
    void keepPciNames(const std::vector<PciDeviceId>& adapters)
    {
        if (adapters.empty())
            return;
        for (const std::string_view database : LinuxPath::pciIdsDatabases) {
            if (const auto whole = machine_.readFileHead(std::string(database), kDatabaseLimit)) {
                files_.insert_or_assign(std::string(database), pciIdsExcerpt(*whole, adapters));
                return;
            }
        }
    }

    std::string_view text(const std::string& path) const
    {
        const auto found = files_.find(path);
        return found == files_.end() ? std::string_view() : std::string_view(found->second);
    }

    FileContents take() { return std::move(files_); }

private:
    const Machine& machine_;
    FileContents files_;
};

} // namespace

bool isProcessorFolder(std::string_view name) { return name.starts_with("cpu") && isDigits(name.substr(3)); }

bool isCacheFolder(std::string_view name) { return name.starts_with("index") && isDigits(name.substr(5)); }

std::string_view connectorCard(std::string_view name)
{
    if (!name.starts_with("card"))
        return {};
    const auto dash = name.find('-');
    if (dash == std::string_view::npos || dash == 4 || dash + 1 == name.size())
        return {};
    if (!isDigits(name.substr(4, dash - 4)))
        return {};
    return name.substr(0, dash);
}

FileContents readLinuxFiles(const Machine& machine)
{
    LinuxFileReader reader(machine);
    for (const std::string_view attribute : kDmiAttributes)
        reader.keep(std::string(LinuxPath::dmiFolder) + std::string(attribute), kAttributeLimit);
    reader.keep(std::string(LinuxPath::udevDmiRecord), kTextLimit);
    reader.keep(std::string(LinuxPath::memoryInfo), kTextLimit);
    for (const std::string_view path : LinuxPath::osRelease)
        if (reader.keep(std::string(path), kTextLimit))
            break;
    reader.keep(std::string(LinuxPath::deviceTreeModel), kAttributeLimit);
    reader.keep(std::string(LinuxPath::deviceTreeCompatible), kAttributeLimit);
    reader.keepProcessorFiles();
    reader.keepPciNames(reader.keepDisplayAdapters());
    reader.keepConnectedDisplays();
    reader.keepBootFiles();
    return reader.take();
}

} // namespace veltrin
