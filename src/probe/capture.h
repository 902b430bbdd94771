#pragma once

#include <string>

namespace veltrin {

class Machine;

namespace SystemProbe {

// Runs every command Veltrin uses once on `machine`, reads the kernel values, and
// writes `directory` as a capture that ReplayMachine reads back. False, with
// `error` set, when the directory cannot be written.
bool writeCapture(const Machine& machine, const std::string& directory, std::string& error);

} // namespace SystemProbe
} // namespace veltrin
