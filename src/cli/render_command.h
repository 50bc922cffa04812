#pragma once

#include <QStringList>

namespace sonvela {

// `render FILE OUT.wav`.
int RunRenderCommand(const QStringList& arguments);

}  // namespace sonvela
