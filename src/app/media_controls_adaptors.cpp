#include "app/media_controls_adaptors.h"

namespace sonvela {

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& track, qlonglong positionUs) {
  // A position for another track than the current one is ignored, as the interface asks.
  if (track.path() == TrackIdOf(controls_->Status()).path()) controls_->SeekTo(positionUs);
}

}  // namespace sonvela
