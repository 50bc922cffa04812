#pragma once
// The main window: the transport buttons, the sixteen channel rows, the song file list and the song
// panels, placed by MainLayout. It is built in two steps so that the secondary windows are created between
// its second and third rows of buttons.

#include <QMimeData>
#include <QString>
#include <QWidget>

#include <string_view>

#include "app/control_map.h"
#include "app/main_layout.h"
#include "player/colours.h"

namespace sonvela {

// A song file by its name: .mid or .kar, in any case.
bool IsSongFileName(const QString& path);
// The first local song file among dropped things; empty when there is none.
QString DroppedSongFile(const QMimeData* data);

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  MainWindow(const MainLayout& layout, ControlMap& controls);

  // The first two rows of buttons.
  void BuildTopRows();
  // Everything else, from the third row of buttons down.
  void BuildRest();

  const MainLayout& Layout() const { return layout_; }
  // Places every control for a client area and titles the window with its size.
  void ApplyLayout(const MainLayout& layout);
  // The title before any song: the program's name and the client size.
  QString BaseTitle() const;
  // The title with a song's path (bytes) after it; it stays when the layout changes.
  void ShowSongInTitle(std::string_view path);

  // Ends the main window, as the Escape key does. Ended is emitted once.
  void End();
  bool HasEnded() const { return ended_; }

 signals:
  // The Escape key: the cancel command, which ends the window.
  void CancelPressed();
  // Once, right after the window's first paint (so work started from it does not run inside painting).
  void FirstPaint();
  // Once, when the window ends (Escape, or closed by its frame): the program shuts down.
  void Ended();
  // The controls were placed for a new client area (the size the maximised window really got).
  void LayoutChanged();
  // A .mid or .kar file was dropped on the window.
  void SongFileDropped(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void AddButton(int id, const QString& caption, bool toggle);
  void AddLabel(int id, const QString& caption, Colour text, Colour background, bool centred, bool sunken);
  void AddSurface(int id, const QString& caption, Colour startColour, bool sunken, bool clickable);
  void BuildChannelRows();
  void Place(int id);

  MainLayout layout_;
  ControlMap& controls_;
  QString songInTitle_;
  bool firstPaintSeen_ = false;
  bool ended_ = false;
};

}  // namespace sonvela
