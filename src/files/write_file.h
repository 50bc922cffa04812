#pragma once
// Writing a file whole, with every failure told to the user: the open, a write, or the close that flushes
// (a failure there loses data too) gives `Impossibile scrivere il file "PATH": reason`.

#include <cstdio>
#include <functional>
#include <string>

#include "text/message_boxes.h"

namespace sonvela {

// "wb": a shorter rewrite leaves nothing of an older file behind. `write` returns false when a write
// failed (errno then tells why). Returns whether the whole file was written.
bool WriteFileTellingFailure(const std::string& path, const std::function<bool(std::FILE*)>& write,
                             MessageBoxes& messages);

}  // namespace sonvela
