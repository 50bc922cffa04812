#pragma once
// A label that reports the pointer over it (PointerSignals, in the label's pixels).

#include <QLabel>

#include "app/pointer_signals.h"

namespace sonvela {

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  ClickableLabel(const QString& text, QWidget* parent);
  PointerSignals* Pointer() { return &pointer_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override { Report(PointerSignals::Kind::kPress, event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    Report(PointerSignals::Kind::kDoubleClick, event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override { Report(PointerSignals::Kind::kRelease, event); }
  void mouseMoveEvent(QMouseEvent* event) override { Report(PointerSignals::Kind::kMove, event); }

 private:
  void Report(PointerSignals::Kind kind, QMouseEvent* event) {
    pointer_.Report(kind, *event, event->position().toPoint());
  }
  PointerSignals pointer_{this};
};

}  // namespace sonvela
