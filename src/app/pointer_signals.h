#pragma once
// The pointer over a clickable control, as signals: presses, releases and movements with the buttons held,
// and left-button presses as clicks. The labels and the drawing surfaces each own one and report their
// mouse events through it, each in its own pixels.

#include <QMouseEvent>
#include <QObject>
#include <QPoint>

namespace sonvela {

class PointerSignals : public QObject {
  Q_OBJECT

 public:
  enum class Kind { kPress, kDoubleClick, kRelease, kMove };
  using QObject::QObject;

  void Report(Kind kind, const QMouseEvent& event, QPoint position);

 signals:
  void Pressed(QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons);
  void Released(QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons);
  void Moved(QPoint position, Qt::MouseButtons buttons);
  // A left-button press: notification 0, or 1 for the second press of a double click.
  void Clicked(QPoint position, int notification);
};

}  // namespace sonvela
