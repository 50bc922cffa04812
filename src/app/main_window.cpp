#include "app/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "app/clickable_label.h"
#include "app/control_style.h"
#include "app/drawing_surface.h"
#include "app/line_list_view.h"
#include "app/screen_text.h"
#include "app/song_file_list.h"
#include "player/control_ids.h"
#include "player/transport_state.h"
#include "text/number_text.h"
#include "views/lyric_line.h"
#include "views/song_panels.h"

namespace sonvela {

namespace {

constexpr Colour kTimeText = Rgb(220, 240, 20);
constexpr Colour kProgressText = Rgb(240, 20, 200);
constexpr Colour kBpmText = Rgb(140, 120, 200);
constexpr Colour kSongListBackground = Rgb(120, 100, 100);

constexpr int kMessageLogExtent = 1000;
constexpr int kSongListExtent = 300;

}  // namespace

bool IsSongFileName(const QString& path) {
  return path.endsWith(QLatin1String(".mid"), Qt::CaseInsensitive) ||
         path.endsWith(QLatin1String(".kar"), Qt::CaseInsensitive);
}

QString DroppedSongFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && IsSongFileName(url.toLocalFile())) return url.toLocalFile();
  }
  return {};
}

MainWindow::MainWindow(const MainLayout& layout, ControlMap& controls)
    : QWidget(nullptr, Qt::Window), layout_(layout), controls_(controls) {
  setFont(ControlFont());
  QPalette background = palette();
  background.setColor(QPalette::Window, ToQColor(kWindowBackColour));
  setPalette(background);
  setAutoFillBackground(true);
  resize(layout.ClientWidth, layout.ClientHeight);
  setWindowTitle(BaseTitle());
  setAcceptDrops(true);
}

void MainWindow::BuildTopRows() {
  AddButton(kLoadButton, "Load midi/kar", false);
  AddButton(kMidiOutButton, "Midi out", false);
  AddButton(kMidiInButton, "Midi in", false);
  AddButton(kNoteTestButton, "Note test", false);
  AddButton(kMonitorToggle, "Monitor", true);
  AddButton(kDebugToggle, "Debug", true);
  AddButton(kAllOrganButton, "All organ", false);
  AddButton(kBigKeyboardToggle, "Big keyb", true);
  AddButton(kListingToggle, "Disassemblato", true);
  AddButton(kEventTableToggle, "Eseguibile", true);
}

void MainWindow::BuildRest() {
  AddLabel(kTimeLabel, "Time", kTimeText, kBlack, true, false);
  AddLabel(kProgressLabel, "Tempo", kProgressText, kBlack, true, false);
  AddLabel(kBpmLabel, "BPM", kBpmText, kBlack, true, false);
  AddButton(kHalveTempoButton, ":2", false);
  AddButton(kDoubleTempoButton, "x2", false);
  AddButton(kTempoFixToggle, "Fix", true);

  auto* messageLog =
      new LineListView({kGreenText, kWindowBackColour, MakeFont(16, 8), kMessageLogExtent, true}, this);
  controls_.Add(kMessageLogList, messageLog);
  Place(kMessageLogList);

  AddButton(kPlayButton, "Play", false);
  AddButton(kPauseToggle, "Pause", true);
  AddButton(kStopButton, "Stop", false);
  AddButton(kCreateButton, "Create", false);
  AddButton(kSoloOffButton, "Solo off", false);
  AddButton(kContinuoToggle, "Continuo", true);
  AddButton(kIntroToggle, QString::fromStdString("Intro" + NumberText(kIntroLengthSeconds) + " s"), true);
  AddButton(kMuteToggle, "Mute", true);
  AddLabel(kNoteNameLabel, "nota", kTimeText, kBlack, true, false);
  controls_.Find(kNoteNameLabel)->setFont(MakeFont(20, 14));

  BuildChannelRows();

  auto* songFiles =
      new SongFileList({kWhite, kSongListBackground, MakeFont(14, 8), kSongListExtent, true}, this);
  controls_.Add(kSongFileList, songFiles);
  Place(kSongFileList);

  AddButton(kCancelLoopButton, "Cancel Loop", false);
  AddLabel(kInfoLabel, "Info", kGreenText, kWindowBackColour, false, false);
  // The song panels start in the background colours their painters give them.
  AddSurface(kLyricPanel, "", kLyricBackground, false, false);
  AddSurface(kLoopBar, "Perc. position", kLoopBarBackground, false, true);
  AddSurface(kSongMap, "", kSongMapBackground, false, true);
}

void MainWindow::BuildChannelRows() {
  for (int row = 0; row < kChannelRows; ++row) {
    AddSurface(kChannelKeyboardBase + row, "", kWhite, true, true);
    AddSurface(kLevelBarBase + row, "vol", kBlack, true, false);
    AddLabel(kChannelIndicatorBase + row, "can", kBlack, kWhite, true, true);

    const int buttonId = kChannelButtonBase + row;
    auto* button = new ClickableLabel(QString::number(row + 1), this);
    button->setAlignment(Qt::AlignCenter);
    SetLabelColours(button, kGreenText, kWindowBackColour);
    MakeSunken(button);
    controls_.Add(buttonId, button, true);
    Place(buttonId);

    AddSurface(kInstrumentLabelBase + row, "", kWhite, true, true);
  }
}

void MainWindow::AddButton(int id, const QString& caption, bool toggle) {
  auto* button = new QPushButton(caption, this);
  button->setCheckable(toggle);
  controls_.Add(id, button);
  Place(id);
}

void MainWindow::AddLabel(int id, const QString& caption, Colour text, Colour background, bool centred,
                          bool sunken) {
  auto* label = new QLabel(caption, this);
  label->setAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
  SetLabelColours(label, text, background);
  if (sunken) MakeSunken(label);
  controls_.Add(id, label);
  Place(id);
}

void MainWindow::AddSurface(int id, const QString& caption, Colour startColour, bool sunken, bool clickable) {
  auto* surface = new DrawingSurface(ToQColor(startColour), sunken, this);
  // The caption only names the surface; it is never shown.
  surface->setAccessibleName(caption);
  controls_.Add(id, surface, clickable);
  Place(id);
}

void MainWindow::Place(int id) {
  QWidget* control = controls_.Find(id);
  const std::optional<ControlRect> rect = MainControlRect(id, layout_);
  if (control != nullptr && rect) control->setGeometry(rect->x, rect->y, rect->width, rect->height);
}

void MainWindow::ApplyLayout(const MainLayout& layout) {
  const int keyboardWindowWidth = layout_.KeyboardWindowWidth;
  layout_ = layout;
  // The Keyboard window keeps the width it was built with.
  layout_.KeyboardWindowWidth = keyboardWindowWidth;
  for (const ControlMap::Entry& entry : controls_.Entries()) {
    if (entry.control->parentWidget() == this) Place(entry.id);
  }
  setWindowTitle(BaseTitle() + songInTitle_);
  emit LayoutChanged();
}

QString MainWindow::BaseTitle() const {
  return QString::fromStdString(MainWindowTitle(layout_.ClientWidth, layout_.ClientHeight));
}

void MainWindow::ShowSongInTitle(std::string_view path) {
  songInTitle_ = ScreenText(path);
  setWindowTitle(BaseTitle() + songInTitle_);
}

void MainWindow::End() {
  close();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    emit CancelPressed();
    End();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (ended_) return;
  ended_ = true;
  emit Ended();
}

void MainWindow::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (firstPaintSeen_) return;
  firstPaintSeen_ = true;
  QTimer::singleShot(0, this, [this] { emit FirstPaint(); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedSongFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DroppedSongFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // Loading runs after the drop has ended, not inside the platform's drag and drop.
  QTimer::singleShot(0, this, [this, path] { emit SongFileDropped(path); });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The layout is made for the client area the maximised window really gets (the frame and panels of the
  // desktop take their share), so that nothing lies outside it; other sizes are not followed.
  if (isMaximized() && (width() != layout_.ClientWidth || height() != layout_.ClientHeight)) {
    ApplyLayout(MainLayout::Compute(width(), height()));
  }
}

}  // namespace sonvela
