#pragma once
// SONVELA_REPORT_FIRST_PAINT: once the main window's first paint is over, the program writes on standard
// error "first paint SECONDS", the system time in seconds since the epoch with six decimals (the form of
// bash's EPOCHREALTIME), so that a script that notes the time before it starts the program measures how
// long the window took to appear.

#include <QObject>

class QWidget;

namespace sonvela {

inline constexpr char kReportFirstPaintVariable[] = "SONVELA_REPORT_FIRST_PAINT";

class FirstPaintReport : public QObject {
 public:
  // Does nothing unless the variable is set and not empty.
  explicit FirstPaintReport(QWidget& window);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
};

}  // namespace sonvela
