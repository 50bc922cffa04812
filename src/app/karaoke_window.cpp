#include "app/karaoke_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "app/screen_text.h"
#include "views/karaoke_view.h"

namespace sonvela {

namespace {

constexpr QSize kStartSize(960, 540);

// The one place the karaoke window turns the song's bytes into what it shows.
KaraokeText ShownText(const TextDecoder& texts, const KaraokeLines& lines, KaraokePlace place) {
  if (place.line < 0) {
    KaraokeText none;
    none.noLyrics = true;
    return none;
  }
  const std::string_view line = lines.Lines[static_cast<size_t>(place.line)];
  return {.sung = SongText(texts, line.substr(0, place.sungBytes)),
          .unsung = SongText(texts, line.substr(place.sungBytes)),
          .next = SongText(texts, lines.After(place.line))};
}

}  // namespace

KaraokeWindow::KaraokeWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setWindowTitle(QStringLiteral("Karaoke"));
  resize(kStartSize);
  // The picture covers the whole window.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void KaraokeWindow::ShowSongOf(const SongTables* tables, const TransportState* transport,
                               const TextDecoder* texts) {
  tables_ = tables;
  transport_ = transport;
  texts_ = texts;
  linesBuilt_ = false;
  Refresh();
}

void KaraokeWindow::Refresh() {
  if (!isVisible() || tables_ == nullptr || transport_ == nullptr || texts_ == nullptr) return;
  if (image_.size() != size()) {
    image_ = QImage(size(), QImage::Format_RGB32);
    drawn_ = false;
  }
  if (!linesBuilt_ || linesGeneration_ != tables_->LoadGeneration) {
    lines_ = BuildKaraokeLines(*tables_);
    linesGeneration_ = tables_->LoadGeneration;
    linesBuilt_ = true;
    drawn_ = false;
  }
  const KaraokePlace place = lines_.At(transport_->SongPosition);
  if (drawn_ && place == shown_) return;
  // Along one line only that line changes, in the size chosen for it.
  const bool sameLine = drawn_ && place.line == shown_.line;
  shown_ = place;
  drawn_ = true;
  const KaraokeText text = ShownText(*texts_, lines_, shown_);
  if (!sameLine) typeSize_ = KaraokeTypeSize(image_.size(), text);
  update(sameLine ? DrawKaraokeLine(image_, text, typeSize_) : DrawKaraoke(image_, text, typeSize_));
}

void KaraokeWindow::Redraw() {
  drawn_ = false;
  Refresh();
}

void KaraokeWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void KaraokeWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Redraw();
}

void KaraokeWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Redraw();
}

void KaraokeWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

void KaraokeWindow::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
  } else if (event->key() == Qt::Key_F11) {
    // Full screen on the screen the window is on now, wherever it was opened.
    if (isFullScreen()) {
      showNormal();
    } else {
      showFullScreen();
    }
  } else if (event->key() == Qt::Key_Escape) {
    if (isFullScreen()) {
      showNormal();
    } else {
      close();
    }
  } else {
    QWidget::keyPressEvent(event);
  }
}

}  // namespace sonvela
