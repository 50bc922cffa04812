#include "app/media_controls_adaptors.h"

namespace sonvela {

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& track, qlonglong positionUs) {
  // A position for another track than the current one is ignored, as the interface asks.
  const QVariant current = MetadataOf(controls_->Status()).value(QStringLiteral("mpris:trackid"));
  if (track.path() == current.value<QDBusObjectPath>().path()) controls_->SeekTo(positionUs);
}

}  // namespace sonvela
