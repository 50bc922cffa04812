#include "app/message_box_output.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

#include "app/screen_text.h"

namespace sonvela {

namespace {

QMessageBox* NewBox(std::string_view text) {
  auto* box =
      new QMessageBox(QMessageBox::NoIcon, kMessageCaption, ScreenText(text), QMessageBox::Ok, nullptr);
  box->setObjectName(QStringLiteral("SonvelaMessage"));
  return box;
}

}  // namespace

void DialogMessageBoxes::ShowMessage(std::string_view text) {
  QMessageBox* box = NewBox(text);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

void WaitingMessageBoxes::ShowMessage(std::string_view text) {
  std::unique_ptr<QMessageBox> box(NewBox(text));
  box->exec();
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

std::unique_ptr<MessageBoxes> MakeWaitingMessageBoxes() {
  if (std::getenv(kMessagesToStderr) != nullptr) return std::make_unique<StderrMessageBoxes>();
  return std::make_unique<WaitingMessageBoxes>();
}

bool MessageBoxShown() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->objectName() == QLatin1String("SonvelaMessage")) return true;
  }
  return false;
}

}  // namespace sonvela
