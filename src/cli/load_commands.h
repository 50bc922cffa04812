#pragma once
// The commands that load a song and print what the load produced, and the composer.

#include <QStringList>

namespace sonvela {

// `listing FILE`, `events FILE`, `log FILE`; arguments[1] names the command.
int RunLoadCommand(const QStringList& arguments);
// `compose [DIR]`.
int RunComposeCommand(const QStringList& arguments);

}  // namespace sonvela
