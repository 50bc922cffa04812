#pragma once
// A label that reports the pointer over it: presses, releases and movements with the buttons held, and
// left clicks as commands.

#include <QLabel>

namespace sonvela {

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  ClickableLabel(const QString& text, QWidget* parent);

 signals:
  void Pressed(QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons);
  void Released(QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons);
  void Moved(QPoint position, Qt::MouseButtons buttons);
  // A left-button press: notification 0, or 1 for the second press of a double click.
  void Clicked(QPoint position, int notification);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Press(QMouseEvent* event, int notification);
};

}  // namespace sonvela
