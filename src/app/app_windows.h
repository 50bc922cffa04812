#pragma once
// The six windows of the program, built once in their order and held for the program's life: the main
// window, "Disassemblato", "Eseguibile", "Debug", "Keyboard" and the karaoke window. Every control is found
// by its id; every command and pointer event of every control comes out of the two signals below, so one
// handler can route them all.

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QPushButton>
#include <QRect>

#include <functional>
#include <memory>

#include "app/control_map.h"
#include "app/drawing_surface.h"
#include "app/karaoke_window.h"
#include "app/line_list_view.h"
#include "app/main_layout.h"
#include "app/main_window.h"
#include "app/song_file_list.h"
#include "app/tool_window.h"

namespace sonvela {

enum class PointerAction { Press, Release, Move };

// The notification of a window toggle's command when its window was closed (Escape, its close button).
constexpr int kWindowClosed = 2;

class AppWindows : public QObject {
  Q_OBJECT

 public:
  // layout: the main window's client area; workArea: the visible part of the screen the windows open on.
  AppWindows(const MainLayout& layout, const QRect& workArea);
  ~AppWindows() override;

  MainWindow& Main() { return *main_; }
  ToolWindow& ListingWindow() { return *listing_; }
  ToolWindow& EventTableWindow() { return *eventTable_; }
  ToolWindow& DebugWindow() { return *debug_; }
  ToolWindow& KeyboardWindow() { return *keyboard_; }
  KaraokeWindow& Karaoke() { return *karaoke_; }
  // Shows the karaoke window (in front) or hides it, as the view settings say.
  void ShowKaraoke(bool shown);
  // Entries the lyric line's menu opens with, before its own (the charsets).
  std::function<void(QMenu&)> addToLyricMenu;

  // The control with this id in any window; nullptr when there is none (or it is of another kind).
  QWidget* Control(int id) const { return controls_.Find(id); }
  template <typename Kind>
  Kind* ControlAs(int id) const {
    return qobject_cast<Kind*>(controls_.Find(id));
  }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  QLabel* Label(int id) const { return ControlAs<QLabel>(id); }
  DrawingSurface* Surface(int id) const { return ControlAs<DrawingSurface>(id); }
  LineListView* List(int id) const { return ControlAs<LineListView>(id); }
  SongFileList* SongFiles() const;
  QComboBox* InstrumentList() const;
  const ControlMap& Controls() const { return controls_; }
  // Where the last click command of a clickable control fell, in that control's pixels.
  QPoint LastClickPosition() const { return lastClick_; }

  // Shows the main window maximised; the secondary windows wait for their toggles.
  void Show();
  // Hides the secondary windows when the program ends.
  void HideSecondary();

 signals:
  // A control was used: notification 0 for a click (1 for the second click of a double click), 1 for a
  // new selection in a list or the drop-down list, kWindowClosed from a window toggle whose window was
  // closed by itself. The Escape key gives the cancel command; the karaoke key and the lyric line's menu
  // give kKaraokeWindow's.
  void Command(int id, int notification);
  // The pointer over a clickable control: position in the control's pixels (a surface's picture), the
  // button that changed (press and release) and the buttons held. A held button is reported on every move,
  // also when the pointer has moved on to another clickable control of the same window.
  void Pointer(int id, PointerAction action, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons buttons);

 private:
  void ConnectControls();
  void ConnectPointer(int id, QWidget* source, PointerSignals* pointer, bool clickable);
  void ReportMove(int id, QWidget* source, QPoint position, Qt::MouseButtons buttons);
  // A move with a button held that belongs to the clickable control under the pointer, if any.
  void RouteHeldMove(QWidget* window, QPoint global, Qt::MouseButtons buttons);
  bool eventFilter(QObject* watched, QEvent* event) override;
  void ConnectToggle(int toggleId, ToolWindow* window);
  void ConnectKaraoke();

  ControlMap controls_;
  std::unique_ptr<MainWindow> main_;
  // Owned by the main window (their parent), so they go with it.
  ToolWindow* listing_ = nullptr;
  ToolWindow* eventTable_ = nullptr;
  ToolWindow* debug_ = nullptr;
  ToolWindow* keyboard_ = nullptr;
  KaraokeWindow* karaoke_ = nullptr;
  QPoint lastClick_;
};

}  // namespace sonvela
