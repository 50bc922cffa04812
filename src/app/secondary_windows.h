#pragma once
// The four secondary windows with their controls: the analysis listing ("Disassemblato"), the event table
// ("Eseguibile"), the debug log ("Debug") and the big keyboard ("Keyboard").

#include <QRect>

#include "app/control_map.h"
#include "app/tool_window.h"

namespace sonvela {

// The list windows are 800 x 600, centred in the work area.
ToolWindow* BuildListingWindow(QWidget* owner, const QRect& workArea, ControlMap& controls);
ToolWindow* BuildEventTableWindow(QWidget* owner, const QRect& workArea, ControlMap& controls);
ToolWindow* BuildDebugWindow(QWidget* owner, const QRect& workArea, ControlMap& controls);
// The Keyboard window is `width` wide (63 white keys of whole pixels plus one), near the top left.
ToolWindow* BuildKeyboardWindow(QWidget* owner, const QRect& workArea, int width, ControlMap& controls);

}  // namespace sonvela
