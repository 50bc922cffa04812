#include "app/log_inbox.h"

#include <QCoreApplication>

namespace sonvela {

std::shared_ptr<LogInbox> LogInbox::Make(Deliver deliver) {
  return std::shared_ptr<LogInbox>(new LogInbox(std::move(deliver)));
}

LogSink LogInbox::Sink() {
  return [inbox = shared_from_this()](const std::string& line) { inbox->Post(line); };
}

void LogInbox::Post(const std::string& line) {
  std::lock_guard lock(mutex_);
  lines_.push_back(line);
  if (wakeUpPosted_ || QCoreApplication::instance() == nullptr) return;
  wakeUpPosted_ = true;
  // The application object outlives every receiver; the inbox itself may be gone by then.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [weak = weak_from_this()] {
        if (const auto inbox = weak.lock()) inbox->DeliverNow();
      },
      Qt::QueuedConnection);
}

void LogInbox::DeliverNow() {
  std::vector<std::string> lines;
  {
    std::lock_guard lock(mutex_);
    lines.swap(lines_);
    wakeUpPosted_ = false;
  }
  if (!deliver_) return;
  for (const std::string& line : lines) deliver_(line);
}

void LogInbox::Close() {
  deliver_ = nullptr;
}

}  // namespace sonvela
