#pragma once

// Turns one fuzzer input into the texts a parser receives. Tool output always
// reaches the parsers as valid UTF-8 (the runner and the capture reader drop
// anything else), so the texts are decoded the same lossy way here.

#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "platform/machine.h"
#include "platform/replay_machine.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::fuzzing {

// The input split at every ASCII record separator (0x1E) into `count` texts; missing ones are empty.
inline std::vector<std::string> texts(const std::uint8_t* data, std::size_t size, std::size_t count)
{
    const std::string input = utf8Lossy(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> parts(count);
    std::size_t part = 0;
    for (const char c : input) {
        if (c == '\x1e' && part + 1 < count)
            ++part;
        else
            parts[part] += c;
    }
    return parts;
}

// A machine whose kernel values and tool outputs all come from the fuzzer: the
// first text is read as sysctl.txt, the next ones are the outputs of the fixed
// commands in table order, the last one dmidecode's.
class FuzzMachine final : public Machine {
public:
    static constexpr std::size_t kTextCount = 15;

    explicit FuzzMachine(const std::vector<std::string>& parts) : kernel_(parseKernelValues(parts.at(0)))
    {
        const auto& commands = Commands::all();
        for (std::size_t i = 0; i < commands.size(); ++i)
            outputs_[commands[i]->captureFile] = parts.at(i + 1);
        outputs_[std::string(Commands::kDmidecodeCaptureFile)] = parts.at(commands.size() + 1);
    }

    std::string sysctlValue(std::string_view name) const override
    {
        const auto found = kernel_.find(name);
        return found == kernel_.end() ? std::string() : found->second;
    }
    std::optional<std::int64_t> sysctlInt(std::string_view name) const override
    {
        const auto found = kernel_.find(name);
        if (found == kernel_.end())
            return std::nullopt;
        try {
            std::size_t used = 0;
            const long long value = std::stoll(found->second, &used);
            return used == found->second.size() ? std::optional<std::int64_t>(value) : std::nullopt;
        } catch (...) {
            return std::nullopt;
        }
    }
    ProcessResult run(const std::string& executable, const std::vector<std::string>& arguments, double) const override
    {
        const auto file = Commands::captureFileFor(executable, arguments);
        if (!file)
            return {"", ProcessRunner::kLaunchFailedStatus};
        return {outputs_.at(*file), 0};
    }
    std::optional<std::string> resourceFile(std::string_view) const override { return std::nullopt; }
    bool isExecutableFile(const std::string& path) const override
    {
        return path == "/usr/local/bin/dmidecode" && !outputs_.at(std::string(Commands::kDmidecodeCaptureFile)).empty();
    }
    std::optional<std::string> readFileHead(const std::string&, std::size_t) const override { return std::nullopt; }

private:
    std::map<std::string, std::string, std::less<>> kernel_;
    std::map<std::string, std::string> outputs_;
};

} // namespace veltrin::fuzzing
