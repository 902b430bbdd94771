#pragma once

// Turns one fuzzer input into the texts a parser receives. Tool output always
// reaches the parsers as valid UTF-8 (the runner and the capture reader drop
// anything else), so the texts are decoded the same lossy way here.

#include "core/unicode_text.h"
#include "platform/capture.h"
#include "platform/command_table.h"
#include "platform/readings.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::fuzzing {

// The input split at every ASCII record separator (0x1E) into `count` pieces of
// bytes, as a file is read; missing ones are empty.
inline std::vector<std::string> pieces(const std::uint8_t* data, std::size_t size, std::size_t count)
{
    std::vector<std::string> parts(count);
    std::size_t part = 0;
    for (const char c : std::string_view(reinterpret_cast<const char*>(data), size)) {
        if (c == '\x1e' && part + 1 < count)
            ++part;
        else
            parts[part] += c;
    }
    return parts;
}

// The same pieces as texts (0x1E is never part of a UTF-8 sequence, so splitting
// first changes nothing).
inline std::vector<std::string> texts(const std::uint8_t* data, std::size_t size, std::size_t count)
{
    std::vector<std::string> parts = pieces(data, size, count);
    for (std::string& part : parts)
        part = utf8Lossy(part);
    return parts;
}

// What a refresh would have read, all from the fuzzer: the first text is read as
// sysctl.txt, the next ones are the outputs of the fixed commands in table order,
// the last one dmidecode's (found when it is not empty).
inline const std::size_t kTextCount = toolCommands().size() + 2;

inline MachineReadings readings(const std::vector<std::string>& parts)
{
    MachineReadings readings;
    for (const auto& [name, value] : parseKernelValues(parts.at(0))) {
        readings.kernel.texts.emplace(name, value);
        if (const auto number = parseKernelInteger(value))
            readings.kernel.integers.emplace(name, *number);
    }
    const auto& commands = toolCommands();
    for (std::size_t i = 0; i < commands.size(); ++i)
        readings.tools[commands[i].tool] = {parts.at(i + 1), 0};
    if (!parts.at(commands.size() + 1).empty()) {
        readings.dmidecodePath = "/usr/local/bin/dmidecode";
        readings.dmidecode = {parts.at(commands.size() + 1), 0};
    }
    return readings;
}

} // namespace veltrin::fuzzing
