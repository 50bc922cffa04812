#include "app/message_box_output.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

#include "app/screen_text.h"

namespace sonvela {

namespace {

void WriteLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

QMessageBox* NewBox(const QString& text, QWidget* owner = nullptr) {
  auto* box = new QMessageBox(QMessageBox::NoIcon, kMessageCaption, text, QMessageBox::Ok, owner);
  box->setObjectName(QStringLiteral("SonvelaMessage"));
  return box;
}

}  // namespace

void DialogMessageBoxes::ShowMessage(std::string_view text) {
  if (ended_) {
    WriteLine(text);
    return;
  }
  waiting_.push_back(ScreenText(text));
  if (!open_) OpenNext();
}

void DialogMessageBoxes::OpenNext() {
  if (ended_ || waiting_.empty()) return;
  QMessageBox* box = NewBox(waiting_.front(), owner_);
  waiting_.pop_front();
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  // Answered (OK, Escape or its frame): the next message gets its turn.
  QObject::connect(box, &QDialog::finished, box, [this] {
    open_ = nullptr;
    OpenNext();
  });
  open_ = box;
  box->show();
  box->raise();
}

void DialogMessageBoxes::EndWithWindow() {
  ended_ = true;
  if (open_) {
    WriteLine(open_->text().toStdString());
    open_->deleteLater();
    open_ = nullptr;
  }
  for (const QString& text : waiting_) WriteLine(text.toStdString());
  waiting_.clear();
}

void WaitingMessageBoxes::ShowMessage(std::string_view text) {
  std::unique_ptr<QMessageBox> box(NewBox(ScreenText(text)));
  box->exec();
}

void StderrMessageBoxes::ShowMessage(std::string_view text) {
  WriteLine(text);
}

std::unique_ptr<WindowMessageBoxes> MakeMessageBoxes() {
  if (std::getenv(kMessagesToStderr) != nullptr) return std::make_unique<StderrMessageBoxes>();
  return std::make_unique<DialogMessageBoxes>();
}

std::unique_ptr<MessageBoxes> MakeWaitingMessageBoxes() {
  if (std::getenv(kMessagesToStderr) != nullptr) return std::make_unique<StderrMessageBoxes>();
  return std::make_unique<WaitingMessageBoxes>();
}

}  // namespace sonvela
