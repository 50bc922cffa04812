#pragma once
// A drawing surface: a control that owns a picture of its client area. Painters draw into Image() and
// then ask for a repaint with Changed(); painting only copies the picture to the screen. Pointer events
// come out as signals, positions in the picture's pixels.

#include <functional>
#include <utility>

#include <QColor>
#include <QFrame>
#include <QImage>

namespace sonvela {

class DrawingSurface : public QFrame {
  Q_OBJECT

 public:
  // A sunken surface has a 2-pixel sunken edge around its picture.
  DrawingSurface(QColor startColour, bool sunken, QWidget* parent);

  // The picture has the size of the client area, cleared to the start colour whenever that size changes.
  QImage& Image();
  QColor StartColour() const { return startColour_; }
  // Schedules a repaint of the whole picture or of a part of it (picture pixels); never paints at once.
  void Changed();
  void Changed(const QRect& part);
  // A picture that is not kept in the order it is shown is painted by `paint` (`part` in picture pixels,
  // the painter's origin at the picture's top left) instead of being copied as it is.
  void PaintPictureWith(std::function<void(QPainter& painter, const QRect& part)> paint) {
    paintPicture_ = std::move(paint);
  }
  // A point of the widget in picture pixels.
  QPoint ToImage(QPoint widgetPoint) const { return widgetPoint - contentsRect().topLeft(); }

 signals:
  void Pressed(QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons);
  void Released(QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons);
  // Every movement over the surface, and every movement while a button held since a press on it is down.
  void Moved(QPoint position, Qt::MouseButtons buttons);
  // A left-button press: notification 0, or 1 for the second press of a double click.
  void Clicked(QPoint position, int notification);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Press(QMouseEvent* event, int notification);
  void FitImage();

  QColor startColour_;
  QImage image_;
  std::function<void(QPainter&, const QRect&)> paintPicture_;
};

}  // namespace sonvela
