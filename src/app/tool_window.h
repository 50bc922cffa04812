#pragma once
// A secondary window: created once, always on top, shown and hidden by its toggle in the main window.
// Closing it by its frame only hides it and says so, so that the toggle can follow.

#include <QWidget>

namespace sonvela {

class ToolWindow : public QWidget {
  Q_OBJECT

 public:
  ToolWindow(const QString& title, QWidget* owner);

 signals:
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape closes the window, as its frame's close button does.
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace sonvela
