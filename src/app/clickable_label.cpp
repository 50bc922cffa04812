#include "app/clickable_label.h"

namespace sonvela {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setMouseTracking(true);
}

}  // namespace sonvela
