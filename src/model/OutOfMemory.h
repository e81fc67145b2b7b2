// Exhausted memory is fatal: "out of memory" on the standard error stream and exit status 1, instead of an
// exception that the message loop cannot meaningfully recover from.
#pragma once

namespace model {

void InstallOutOfMemoryHandler();

// The handler itself (never returns); public so tests can check what it does in a child process.
[[noreturn]] void ReportOutOfMemory();

}  // namespace model
