#pragma once

// A machine scripted by the test: kernel values, tool outputs by command line and
// dmidecode candidates. It records every command line it is asked to run.

#include "platform/command_table.h"
#include "platform/machine.h"
#include "platform/readings.h"

#include <charconv>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace veltrin::scripted {

class ScriptedMachine : public Machine {
public:
    std::map<std::string, std::string, std::less<>> kernel;
    std::map<std::string, ProcessResult, std::less<>> tools; // "executable argument…" → result
    std::optional<std::string> resource;
    std::map<std::string, std::optional<std::string>> executables; // path → head, absent when unreadable
    std::vector<std::string> extraLocations;
    std::map<std::string, std::string, std::less<>> files; // absolute path → content
    std::string platformName{kMacPlatform};
    mutable std::vector<std::string> runs;

    std::string sysctlValue(std::string_view name) const override
    {
        const auto found = kernel.find(name);
        return found == kernel.end() ? std::string() : found->second;
    }
    std::optional<std::int64_t> sysctlInt(std::string_view name) const override
    {
        const std::string text = sysctlValue(name);
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return text.empty() || error != std::errc() || end != text.data() + text.size() ? std::nullopt
                                                                                         : std::optional(value);
    }
    ProcessResult run(const std::string& executable, const std::vector<std::string>& arguments, double) const override
    {
        const std::string line = commandLine(executable, arguments);
        const std::lock_guard guard(runsLock_); // a refresh runs its tools on many threads
        runs.push_back(line);
        const auto found = tools.find(line);
        return found == tools.end() ? ProcessResult{"", -1} : found->second;
    }

    // Makes the tool that serves `tool` print `text` and exit with `status`.
    void answer(Tool tool, std::string text, std::int32_t status = 0)
    {
        const ToolCommand& command = toolCommand(tool);
        tools[commandLine(command.executable, command.arguments)] = {std::move(text), status};
    }
    std::optional<std::string> resourceFile(std::string_view) const override { return resource; }
    bool isExecutableFile(const std::string& path) const override { return executables.contains(path); }
    std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) const override
    {
        if (const auto file = files.find(path); file != files.end())
            return file->second.substr(0, maxBytes);
        const auto head = executables.find(path);
        return head != executables.end() && head->second ? std::optional(head->second->substr(0, maxBytes))
                                                         : std::nullopt;
    }
    std::vector<std::string> directoryEntries(const std::string& path) const override
    {
        std::vector<std::string> names;
        for (const auto& [file, content] : files)
            if (file.starts_with(path) && file.size() > path.size() && file[path.size()] != '/') {
                const std::string name = file.substr(path.size(), file.find('/', path.size()) - path.size());
                if (names.empty() || names.back() != name)
                    names.push_back(name);
            }
        return names;
    }
    std::string_view platform() const override { return platformName; }
    std::vector<std::string> extraDmidecodeLocations() const override { return extraLocations; }

    static std::string commandLine(const std::string& executable, const std::vector<std::string>& arguments)
    {
        std::string line = executable;
        for (const auto& argument : arguments)
            line += " " + argument;
        return line;
    }

private:
    mutable std::mutex runsLock_;
};

// What one refresh reads from `machine`, every tool started as a refresh starts them.
inline MachineReadings readings(const ScriptedMachine& machine) { return readMachine(machine); }

// A field as text: strings as they are, flags as true or false, a list of records
// as their fields, " / " between fields and "; " between records.
inline std::string shown(const std::string& text) { return text; }
inline std::string shown(bool flag) { return flag ? "true" : "false"; }
template <typename Record>
std::string shown(const std::vector<Record>& records)
{
    std::string text;
    for (const Record& record : records) {
        std::string fields;
        std::apply([&](const auto&... value) { ((fields += (fields.empty() ? "" : " / ") + shown(value)), ...); },
                   record.fields());
        text += (text.empty() ? "" : "; ") + fields;
    }
    return text;
}

// Every field of a record under its name, so a failed comparison shows the fields that differ.
template <typename Record>
std::map<std::string, std::string> named(const Record& record)
{
    std::map<std::string, std::string> fields;
    std::size_t index = 0;
    std::apply([&](const auto&... value) { ((fields[std::string(Record::fieldNames[index++])] = shown(value)), ...); },
               record.fields());
    return fields;
}

// The text fields of identifiable records (everything but the fresh id), one row
// per record, so list comparisons do not depend on identities.
template <typename Record>
std::vector<std::vector<std::string>> textRows(const std::vector<Record>& records)
{
    std::vector<std::vector<std::string>> rows;
    for (const Record& record : records)
        rows.push_back(std::apply([](const auto&, const auto&... text) { return std::vector<std::string>{text...}; },
                                  record.fields()));
    return rows;
}

inline std::string fixtureText(const std::string& relativePath)
{
    std::ifstream file(std::string(VELTRIN_FIXTURES) + "/" + relativePath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline const std::string kNoDmidecodeNote =
    "dmidecode not bundled/found; Mainboard only shows values that macOS exposes without Apple SMBIOS fallback.";
inline const std::string kTrustedBoardNote =
    "Mainboard shows only trusted DMI/board strings; spoofed Apple SMBIOS values are kept only in macOS SMBIOS.";
inline const std::string kHiddenBoardNote =
    "Physical motherboard is hidden by macOS/OpenCore SMBIOS; false Apple fallback values were removed.";

} // namespace veltrin::scripted
