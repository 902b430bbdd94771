// The boot decoders over hostile input: the extension table kextstat and kmutil
// print, nvram's values with their %xx escapes, csrutil's status, and the Linux
// module list with its version files and the Secure Boot variable; then the whole
// record from all of them. Nothing may crash, the lists stay within their limit,
// escaped bytes come back as they were, and every value is a known word or empty.

#include "fuzz_input.h"
#include "platform/linux_files.h"
#include "probe/boot.h"
#include "probe/sources/csrutil.h"
#include "probe/sources/kext_listing.h"
#include "probe/sources/linux_boot.h"
#include "probe/sources/nvram.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

using namespace veltrin;
using namespace veltrin::SystemProbe;

namespace {

enum Piece { kextstat, kmutil, bootArgs, csrConfig, csrutil, modules, cmdline, secureBoot, version, rawBytes, count };

bool oneOf(const std::string& value, std::initializer_list<std::string_view> words)
{
    for (const std::string_view word : words)
        if (value == word)
            return true;
    return false;
}

// As nvram prints a value: printable ASCII as itself, any other byte (and the
// escape character itself) as %xx.
std::string nvramEscaped(std::string_view bytes)
{
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '%') {
            text += c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02x", byte);
            text += escape;
        }
    }
    return text;
}

void checkExtensions(const std::vector<KernelExtension>& extensions)
{
    if (extensions.size() > kMaxListedExtensions)
        std::abort();
    for (const KernelExtension& extension : extensions)
        if (extension.identifier.empty() || extension.identifier.find('\n') != std::string::npos ||
            !oneOf(extension.origin, {kAppleOrigin, kThirdPartyOrigin, kOutOfTreeOrigin, kUnsignedOrigin,
                                      kInTreeOrigin}))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> texts = fuzzing::texts(data, size, Piece::count);
    const std::vector<std::string> bytes = fuzzing::pieces(data, size, Piece::count);

    checkExtensions(loadedExtensions(texts[kextstat]));
    if (sipStatusWords(texts[csrutil]).find('\n') != std::string::npos)
        std::abort();

    // Any bytes, escaped as nvram escapes them, decode to themselves.
    const ProcessResult printed{"csr-active-config\t" + nvramEscaped(bytes[rawBytes]) + "\n", 0};
    const auto decoded = nvramBytes(printed, "csr-active-config");
    if (!decoded || *decoded != bytes[rawBytes])
        std::abort();
    if (const auto word = littleEndianWord(*decoded)) {
        if (std::strtoul(sipValueText(*word).c_str(), nullptr, 16) != *word)
            std::abort();
        // One name for each bit set, named or not.
        const std::string names = csrFlagNames(*word);
        std::size_t listed = names.empty() ? 0 : 1;
        for (std::size_t at = names.find(", "); at != std::string::npos; at = names.find(", ", at + 2))
            ++listed;
        if (listed != std::size_t(std::popcount(*word)))
            std::abort();
    } else if (decoded->size() >= 4) {
        std::abort();
    }

    // The whole record, from tools that printed the pieces and Linux files that held them.
    MachineReadings readings;
    readings.tools[Tool::loadedExtensions] = {texts[kextstat], 0};
    readings.tools[Tool::loadedExtensionsKmutil] = {texts[kmutil], 0};
    readings.tools[Tool::bootArguments] = {texts[bootArgs], 0};
    readings.tools[Tool::sipConfiguration] = {texts[csrConfig], 0};
    readings.tools[Tool::sipStatus] = {texts[csrutil], 0};
    readings.files[std::string(LinuxPath::kernelModules)] = bytes[modules];
    readings.files[std::string(LinuxPath::kernelCommandLine)] = bytes[cmdline];
    readings.files[std::string(LinuxPath::secureBootVariable)] = bytes[secureBoot];
    readings.files[std::string(LinuxPath::moduleFolder) + "a/version"] = bytes[version];
    checkExtensions(kernelModules(readings.files));
    if (!oneOf(secureBootState(readings.files), {"", "enabled", "disabled"}))
        std::abort();

    const BootInfo boot = bootInfo(readings);
    checkExtensions(boot.extensions);
    if (!oneOf(boot.secureBoot, {"", "enabled", "disabled"}))
        std::abort();
    if (!boot.sipValue.empty() && !boot.sipValue.starts_with("0x"))
        std::abort();
    if (boot.bootArguments.find('\n') != std::string::npos)
        std::abort();
    return 0;
}
