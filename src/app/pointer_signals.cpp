#include "app/pointer_signals.h"

namespace sonvela {

void PointerSignals::Report(Kind kind, const QMouseEvent& event, QPoint position) {
  switch (kind) {
    case Kind::kPress:
    case Kind::kDoubleClick:
      emit Pressed(position, event.button(), event.buttons());
      if (event.button() == Qt::LeftButton) emit Clicked(position, kind == Kind::kDoubleClick ? 1 : 0);
      break;
    case Kind::kRelease:
      emit Released(position, event.button(), event.buttons());
      break;
    case Kind::kMove:
      emit Moved(position, event.buttons());
      break;
  }
}

}  // namespace sonvela
