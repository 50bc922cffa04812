#pragma once
// The desktop's media controls: the media keys, the sound menu and playerctl reach the player through
// MPRIS 2 on the session bus (service org.mpris.MediaPlayer2.sonvela, object /org/mpris/MediaPlayer2).
// Every method becomes the session's own command, as the window's button gives it; the properties are
// the session's state, and their changes are signalled after each command and timer tick.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <string>

#include "session/media_status.h"

namespace sonvela {

struct MediaControlsPorts {
  std::function<MediaStatus()> status;
  std::function<int64_t()> positionUs;
  // Carries out a command of the session, as the window's buttons do.
  std::function<void(const Command&)> apply;
  std::function<void()> raise;
  std::function<void()> quit;
  std::function<void(const std::string&)> debugLog;
};

inline constexpr char kMprisService[] = "org.mpris.MediaPlayer2.sonvela";
inline constexpr char kMprisPath[] = "/org/mpris/MediaPlayer2";

class MediaControls : public QObject {
  Q_OBJECT

 public:
  // Registers on `bus`; without a bus (or with the name taken) the player goes on without media controls
  // and the debug log says so once.
  MediaControls(MediaControlsPorts ports, QDBusConnection bus);
  ~MediaControls() override;

  bool Registered() const { return registered_; }
  // Signals the properties that changed since the last call.
  void Refresh();

  // For the adaptors.
  MediaStatus Status() const { return ports_.status(); }
  int64_t PositionUs() const { return ports_.positionUs(); }
  void Press(MediaKey key);
  void SeekTo(int64_t positionUs);
  void Raise() { ports_.raise(); }
  void Quit() { ports_.quit(); }

 private:
  void EmitChanged(const char* interfaceName, const QVariantMap& changed);

  MediaControlsPorts ports_;
  QDBusConnection bus_;
  bool registered_ = false;
  std::optional<MediaStatus> shown_;
};

// The properties of the player interface as MPRIS spells them.
QString PlaybackStatusText(MediaPlayback playback);
QVariantMap MetadataOf(const MediaStatus& status);
QDBusObjectPath TrackIdOf(const MediaStatus& status);

}  // namespace sonvela
