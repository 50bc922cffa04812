#include "app/tool_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "app/control_style.h"

namespace sonvela {

ToolWindow::ToolWindow(const QString& title, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setWindowTitle(title);
  setFont(ControlFont());
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

}  // namespace sonvela
