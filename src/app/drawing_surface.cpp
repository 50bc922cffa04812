#include "app/drawing_surface.h"

#include <QMouseEvent>
#include <QPainter>

namespace sonvela {

namespace {

constexpr int kSunkenEdge = 2;

}  // namespace

DrawingSurface::DrawingSurface(QColor startColour, bool sunken, QWidget* parent)
    : QFrame(parent), startColour_(startColour) {
  if (sunken) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kSunkenEdge);
  }
  setMouseTracking(true);
  // The picture covers the client area: nothing beneath needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& DrawingSurface::Image() {
  FitImage();
  return image_;
}

// A hidden widget gets its resize event only when shown, so the size is checked on every use.
void DrawingSurface::FitImage() {
  const QSize size = contentsRect().size().expandedTo(QSize(0, 0));
  if (image_.size() == size) return;
  image_ = QImage(size, QImage::Format_RGB32);
  image_.fill(startColour_);
}

void DrawingSurface::Changed() {
  update(contentsRect());
}

void DrawingSurface::Changed(const QRect& part) {
  update(part.translated(contentsRect().topLeft()) & contentsRect());
}

void DrawingSurface::paintEvent(QPaintEvent* event) {
  FitImage();
  QPainter painter(this);
  const QRect area = contentsRect();
  const QRect dirty = event->rect() & area;
  if (!dirty.isEmpty() && paintPicture_) {
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(dirty.translated(-area.topLeft()));
    paintPicture_(painter, dirty.translated(-area.topLeft()));
    painter.restore();
  } else if (!dirty.isEmpty()) {
    painter.drawImage(dirty.topLeft(), image_, dirty.translated(-area.topLeft()));
  }
  drawFrame(&painter);
}

void DrawingSurface::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  FitImage();
}

}  // namespace sonvela
