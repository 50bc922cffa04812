#pragma once

#include <QStringList>

namespace sonvela {

// `play FILE... [switches]`.
int RunPlayCommand(const QStringList& arguments);

}  // namespace sonvela
