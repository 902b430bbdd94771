// Adds to this machine's spawn.h, for scripts/check-macos, the one Apple
// extension that src/core/process_runner.cpp uses, with Apple's value.
#pragma once
#include_next <spawn.h>
#define POSIX_SPAWN_CLOEXEC_DEFAULT 0x4000
