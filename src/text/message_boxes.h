#pragma once
// What the program tells the user in a message box (OK button, one fixed caption). The windows show
// them as dialogs; the toolbox prints them on standard error; tests record them.

#include <string_view>

namespace sonvela {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace sonvela
