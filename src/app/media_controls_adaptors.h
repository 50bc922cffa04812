#pragma once
// The two MPRIS 2 interfaces on the media controls' object: the application's and the player's.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

#include "app/media_controls.h"

namespace sonvela {

class MprisApplicationAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit)
  Q_PROPERTY(bool CanRaise READ CanRaise)
  Q_PROPERTY(bool HasTrackList READ HasTrackList)
  Q_PROPERTY(QString Identity READ Identity)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

 public:
  explicit MprisApplicationAdaptor(MediaControls* controls)
      : QDBusAbstractAdaptor(controls), controls_(controls) {}
  bool CanQuit() const { return true; }
  bool CanRaise() const { return true; }
  bool HasTrackList() const { return false; }
  QString Identity() const { return QStringLiteral("Sonvela"); }
  QString DesktopEntry() const { return QStringLiteral("sonvela"); }
  QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
  QStringList SupportedMimeTypes() const {
    return {QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi")};
  }

 public slots:
  void Raise() { controls_->Raise(); }
  void Quit() { controls_->Quit(); }

 private:
  MediaControls* controls_;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(double Rate READ Rate)
  Q_PROPERTY(double MinimumRate READ Rate)
  Q_PROPERTY(double MaximumRate READ Rate)
  Q_PROPERTY(double Volume READ Volume)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPause)
  Q_PROPERTY(bool CanSeek READ CanSeek)
  Q_PROPERTY(bool CanControl READ CanControl)

 public:
  explicit MprisPlayerAdaptor(MediaControls* controls)
      : QDBusAbstractAdaptor(controls), controls_(controls) {}
  QString PlaybackStatus() const { return PlaybackStatusText(controls_->Status().playback); }
  double Rate() const { return 1.0; }
  double Volume() const { return 1.0; }
  QVariantMap Metadata() const { return MetadataOf(controls_->Status()); }
  qlonglong Position() const { return controls_->PositionUs(); }
  bool CanGoNext() const { return controls_->Status().canGoNext; }
  bool CanGoPrevious() const { return controls_->Status().canGoPrevious; }
  // Play and Pause need a song; Play with none would only say "No midifile loaded!".
  bool CanPlay() const { return !controls_->Status().songPath.empty(); }
  bool CanPause() const { return CanPlay(); }
  bool CanSeek() const { return CanPlay(); }
  bool CanControl() const { return true; }

 public slots:
  void Play() { controls_->Press(MediaKey::kPlay); }
  void Pause() { controls_->Press(MediaKey::kPause); }
  void PlayPause() { controls_->Press(MediaKey::kPlayPause); }
  void Stop() { controls_->Press(MediaKey::kStop); }
  void Next() { controls_->Press(MediaKey::kNext); }
  void Previous() { controls_->Press(MediaKey::kPrevious); }
  void Seek(qlonglong offsetUs) { controls_->SeekTo(controls_->PositionUs() + offsetUs); }
  void SetPosition(const QDBusObjectPath& track, qlonglong positionUs);
  void OpenUri(const QString&) {}

 signals:
  void Seeked(qlonglong positionUs);

 private:
  MediaControls* controls_;
};

}  // namespace sonvela
