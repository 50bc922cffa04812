#include "app/clickable_label.h"

#include <QMouseEvent>

namespace sonvela {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setMouseTracking(true);
}

void ClickableLabel::Press(QMouseEvent* event, int notification) {
  const QPoint position = event->position().toPoint();
  emit Pressed(position, event->button(), event->buttons());
  if (event->button() == Qt::LeftButton) emit Clicked(position, notification);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  Press(event, 0);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  Press(event, 1);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  emit Released(event->position().toPoint(), event->button(), event->buttons());
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event) {
  emit Moved(event->position().toPoint(), event->buttons());
}

}  // namespace sonvela
