#include "app/media_controls.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

#include "app/media_controls_adaptors.h"

namespace sonvela {

QString PlaybackStatusText(MediaPlayback playback) {
  switch (playback) {
    case MediaPlayback::kPlaying:
      return QStringLiteral("Playing");
    case MediaPlayback::kPaused:
      return QStringLiteral("Paused");
    case MediaPlayback::kStopped:
      break;
  }
  return QStringLiteral("Stopped");
}

QDBusObjectPath TrackIdOf(const MediaStatus& status) {
  // No song: the interface's own path for "no track".
  if (status.songPath.empty()) return QDBusObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack");
  return QDBusObjectPath(QStringLiteral("/org/sonvela/track/%1").arg(status.load));
}

QVariantMap MetadataOf(const MediaStatus& status) {
  QVariantMap metadata;
  metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackIdOf(status)));
  if (status.songPath.empty()) return metadata;
  const QFileInfo file(
      QString::fromLocal8Bit(status.songPath.data(), static_cast<qsizetype>(status.songPath.size())));
  metadata.insert(QStringLiteral("mpris:length"),
                  QVariant::fromValue(static_cast<qlonglong>(status.lengthUs)));
  metadata.insert(QStringLiteral("xesam:title"), file.fileName());
  metadata.insert(QStringLiteral("xesam:url"),
                  QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded));
  return metadata;
}

MediaControls::MediaControls(MediaControlsPorts ports, QDBusConnection bus)
    : ports_(std::move(ports)), bus_(std::move(bus)) {
  if (!bus_.isConnected()) {
    ports_.debugLog("No session bus (" + bus_.lastError().message().toStdString() +
                    "): the desktop's media controls do not reach Sonvela.");
    return;
  }
  new MprisApplicationAdaptor(this);
  new MprisPlayerAdaptor(this);
  if (!bus_.registerObject(kMprisPath, this) || !bus_.registerService(kMprisService)) {
    ports_.debugLog(std::string("The session bus refused ") + kMprisService + " (" +
                    bus_.lastError().message().toStdString() +
                    "): the desktop's media controls do not reach Sonvela.");
    bus_.unregisterObject(kMprisPath);
    return;
  }
  registered_ = true;
  shown_ = Status();
}

MediaControls::~MediaControls() {
  if (!registered_) return;
  bus_.unregisterService(kMprisService);
  bus_.unregisterObject(kMprisPath);
}

void MediaControls::Press(MediaKey key) {
  if (const std::optional<Command> command = MediaCommand(key, Status().playback)) ports_.apply(*command);
  Refresh();
}

void MediaControls::SeekTo(int64_t positionUs) {
  const MediaStatus status = Status();
  if (status.songPath.empty() || status.lengthUs <= 0) return;
  const double percent =
      std::clamp(static_cast<double>(positionUs) / static_cast<double>(status.lengthUs), 0.0, 1.0) * 100;
  ports_.apply({.kind = CommandKind::kSeek, .percent = static_cast<float>(percent)});
  Refresh();
  if (auto* player = findChild<MprisPlayerAdaptor*>()) emit player->Seeked(PositionUs());
}

void MediaControls::Refresh() {
  if (!registered_) return;
  const MediaStatus now = Status();
  if (shown_ && *shown_ == now) return;
  QVariantMap changed;
  if (!shown_ || shown_->playback != now.playback) {
    changed.insert(QStringLiteral("PlaybackStatus"), PlaybackStatusText(now.playback));
  }
  if (!shown_ || shown_->songPath != now.songPath || shown_->load != now.load ||
      shown_->lengthUs != now.lengthUs) {
    changed.insert(QStringLiteral("Metadata"), MetadataOf(now));
    const bool song = !now.songPath.empty();
    changed.insert(QStringLiteral("CanPlay"), song);
    changed.insert(QStringLiteral("CanPause"), song);
    changed.insert(QStringLiteral("CanSeek"), song);
  }
  if (!shown_ || shown_->canGoNext != now.canGoNext)
    changed.insert(QStringLiteral("CanGoNext"), now.canGoNext);
  if (!shown_ || shown_->canGoPrevious != now.canGoPrevious) {
    changed.insert(QStringLiteral("CanGoPrevious"), now.canGoPrevious);
  }
  shown_ = now;
  EmitChanged("org.mpris.MediaPlayer2.Player", changed);
}

void MediaControls::EmitChanged(const char* interfaceName, const QVariantMap& changed) {
  QDBusMessage signal = QDBusMessage::createSignal(
      kMprisPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
  signal << QString::fromLatin1(interfaceName) << changed << QStringList();
  bus_.send(signal);
}

}  // namespace sonvela
