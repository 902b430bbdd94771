// Where a refresh looks for dmidecode.

#include "platform/readings.h"

#include "../probe/scripted_machine.h"

#include <gtest/gtest.h>

using namespace veltrin;
using scripted::ScriptedMachine;

namespace {

const std::string kBundled = "/Applications/Veltrin.app/Contents/Resources/dmidecode";
const std::string kLocal = "/usr/local/bin/dmidecode", kHomebrew = "/opt/homebrew/bin/dmidecode";
const std::string kSystem = "/usr/bin/dmidecode", kDebian = "/usr/sbin/dmidecode";
const std::string kMachO("\xCF\xFA\xED\xFE\x07\x00\x00\x01", 8);

std::optional<std::string> found(std::map<std::string, std::optional<std::string>> executables,
                                 std::optional<std::string> resource = std::nullopt)
{
    ScriptedMachine machine;
    machine.executables = std::move(executables);
    machine.resource = std::move(resource);
    machine.extraLocations = {kDebian};
    return dmidecodeExecutable(machine);
}

} // namespace

TEST(DmidecodeExecutable, FirstUsableCandidateInOrder)
{
    EXPECT_EQ(found({}), std::nullopt);
    EXPECT_EQ(found({{kBundled, kMachO}, {kLocal, kMachO}}, kBundled), kBundled);
    EXPECT_EQ(found({{kBundled, "#!/bin/sh\n# Placeholder for the real tool\n"}, {kLocal, kMachO}}, kBundled), kLocal);
    EXPECT_EQ(found({{kSystem, kMachO}}, kBundled), kSystem); // the bundled file is not executable
    EXPECT_EQ(found({{kSystem, kMachO}, {kHomebrew, std::nullopt}}), kHomebrew); // unreadable is accepted
    EXPECT_EQ(found({{kDebian, kMachO}, {kSystem, "PLACEHOLDER"}}), kDebian);
    // Only a 160-byte head that decodes as text can mark a placeholder.
    EXPECT_EQ(found({{kLocal, std::string(160, '#') + "placeholder"}}), kLocal);
    EXPECT_EQ(found({{kLocal, "placeholder" + std::string(148, ' ') + "\u00e9"}}), kLocal);
}
