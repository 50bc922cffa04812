#pragma once
// A drawing surface: a control that owns a picture of its client area. Painters draw into Image() and
// then ask for a repaint with Changed(); painting only copies the picture to the screen. Pointer events
// come out as signals, positions in the picture's pixels.

#include <functional>
#include <utility>

#include <QColor>
#include <QFrame>
#include <QImage>

#include "app/pointer_signals.h"

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

  // The pointer in picture pixels: every movement over the surface, and every movement while a button
  // held since a press on it is down.
  PointerSignals* Pointer() { return &pointer_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override { Report(PointerSignals::Kind::kPress, event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    Report(PointerSignals::Kind::kDoubleClick, event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override { Report(PointerSignals::Kind::kRelease, event); }
  void mouseMoveEvent(QMouseEvent* event) override { Report(PointerSignals::Kind::kMove, event); }

 private:
  void Report(PointerSignals::Kind kind, QMouseEvent* event) {
    pointer_.Report(kind, *event, ToImage(event->position().toPoint()));
  }
  void FitImage();

  PointerSignals pointer_{this};
  QColor startColour_;
  QImage image_;
  std::function<void(QPainter&, const QRect&)> paintPicture_;
};

}  // namespace sonvela
