#pragma once
// The toolbox's exit statuses, the same for every command.

namespace sonvela {

constexpr int kExitDone = 0;
constexpr int kExitFileError = 1;   // a file (or an output device) could not be read or written
constexpr int kExitUsageError = 2;  // the command line was wrong
// Stopped by a signal: 128 + its number (ExitStatusForSignal).

}  // namespace sonvela
