#include "app/message_box_output.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

#include "app/screen_text.h"

namespace sonvela {

void DialogMessageBoxes::ShowMessage(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, kMessageCaption, ScreenText(text), QMessageBox::Ok, nullptr);
  box.exec();
}

void StderrMessageBoxes::ShowMessage(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

std::unique_ptr<MessageBoxes> MakeMessageBoxes() {
  if (std::getenv(kMessagesToStderr) != nullptr) return std::make_unique<StderrMessageBoxes>();
  return std::make_unique<DialogMessageBoxes>();
}

}  // namespace sonvela
