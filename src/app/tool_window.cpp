#include "app/tool_window.h"

#include <QCloseEvent>

#include "app/control_style.h"

namespace sonvela {

ToolWindow::ToolWindow(const QString& title, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setWindowTitle(title);
  setFont(ControlFont());
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

}  // namespace sonvela
