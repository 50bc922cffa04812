#include "app/first_paint_report.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace sonvela {

FirstPaintReport::FirstPaintReport(QWidget& window) : window_(window) {
  const char* value = std::getenv(kReportFirstPaintVariable);
  if (value != nullptr && *value != '\0') window_.installEventFilter(this);
}

bool FirstPaintReport::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Paint) {
    window_.removeEventFilter(this);
    // The window's children paint, and the picture goes to the screen, in the same pass as this paint:
    // what is posted now runs after all of it (and before the work the program does at its first paint).
    QTimer::singleShot(0, this, [] {
      timespec now{};
      clock_gettime(CLOCK_REALTIME, &now);
      std::fprintf(stderr, "first paint %lld.%06ld\n", static_cast<long long>(now.tv_sec),
                   now.tv_nsec / 1000);
      std::fflush(stderr);
    });
  }
  return false;
}

}  // namespace sonvela
