#pragma once
// The karaoke window: the line being sung whole, its sung part coloured syllable by syllable, the next line
// below, in type as large as the window. F11 puts it full screen on the screen it is on (a television, a
// projector), Escape brings it back and, when it is not full screen, closes it. It follows the song
// position, whatever moved it (play, a seek, a loop restart, Stop, a new song), and draws only when the
// line or its sung part has changed.

#include <QImage>
#include <QWidget>

#include <cstdint>

#include "platform/text_decoder.h"
#include "player/transport_state.h"
#include "session/karaoke_lines.h"
#include "song/song_tables.h"

namespace sonvela {

class KaraokeWindow : public QWidget {
  Q_OBJECT

 public:
  explicit KaraokeWindow(QWidget* owner);

  // What it shows: the loaded song and the transport's position, and the decoder of the song's texts, all
  // living as long as the window.
  void ShowSongOf(const SongTables* tables, const TransportState* transport, const TextDecoder* texts);
  // Catches up with the song position; cheap when nothing changed, and nothing while hidden.
  void Refresh();
  // Draws anew, whether or not the position moved (the texts decode otherwise).
  void Redraw();
  const QImage& Image() const { return image_; }

 signals:
  // Closed by its frame or by Escape.
  void Closed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const SongTables* tables_ = nullptr;
  const TextDecoder* texts_ = nullptr;
  const TransportState* transport_ = nullptr;
  KaraokeLines lines_;
  uint64_t linesGeneration_ = 0;
  bool linesBuilt_ = false;
  KaraokePlace shown_;
  bool drawn_ = false;  // the picture shows shown_
  int typeSize_ = 0;    // of the line shown
  QImage image_;
};

}  // namespace sonvela
