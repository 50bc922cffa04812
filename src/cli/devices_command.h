#pragma once

#include <QStringList>

namespace sonvela {

// `devices`.
int RunDevicesCommand(const QStringList& arguments);

}  // namespace sonvela
