#include "app/app_windows.h"

#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>

#include "app/clickable_label.h"
#include "app/lyric_line_menu.h"
#include "app/secondary_windows.h"
#include "player/control_ids.h"

namespace sonvela {

namespace {

// A point of a control in the pixels its pointer events use.
QPoint ControlPoint(QWidget* control, QPoint widgetPoint) {
  if (auto* surface = qobject_cast<DrawingSurface*>(control)) return surface->ToImage(widgetPoint);
  return widgetPoint;
}

}  // namespace

AppWindows::AppWindows(const MainLayout& layout, const QRect& workArea) {
  main_ = std::make_unique<MainWindow>(layout, controls_);
  main_->setGeometry(QRect(workArea.topLeft(), QSize(layout.ClientWidth, layout.ClientHeight)));
  main_->BuildTopRows();
  listing_ = BuildListingWindow(main_.get(), workArea, controls_);
  eventTable_ = BuildEventTableWindow(main_.get(), workArea, controls_);
  debug_ = BuildDebugWindow(main_.get(), workArea, controls_);
  keyboard_ = BuildKeyboardWindow(main_.get(), workArea, layout.KeyboardWindowWidth, controls_);
  main_->BuildRest();
  karaoke_ = new KaraokeWindow(main_.get());
  QRect karaoke = karaoke_->geometry();
  karaoke.moveCenter(workArea.center());
  karaoke_->move(karaoke.topLeft());
  ConnectControls();
}

AppWindows::~AppWindows() = default;

SongFileList* AppWindows::SongFiles() const {
  return ControlAs<SongFileList>(kSongFileList);
}

QComboBox* AppWindows::InstrumentList() const {
  return ControlAs<QComboBox>(kInstrumentList);
}

void AppWindows::Show() {
  main_->showMaximized();
}

void AppWindows::HideSecondary() {
  for (ToolWindow* window : {listing_, eventTable_, debug_, keyboard_}) window->hide();
  karaoke_->hide();
}

void AppWindows::ShowKaraoke(bool shown) {
  if (!shown) {
    karaoke_->hide();
    return;
  }
  karaoke_->show();
  karaoke_->raise();
  karaoke_->activateWindow();
}

void AppWindows::ConnectControls() {
  for (const ControlMap::Entry& entry : controls_.Entries()) {
    const int id = entry.id;
    if (auto* button = qobject_cast<QPushButton*>(entry.control)) {
      connect(button, &QPushButton::clicked, this, [this, id] { emit Command(id, 0); });
    } else if (auto* songs = qobject_cast<SongFileList*>(entry.control)) {
      connect(songs, &SongFileList::UserSelected, this, [this, id] { emit Command(id, 1); });
    } else if (auto* list = qobject_cast<QComboBox*>(entry.control)) {
      connect(list, &QComboBox::activated, this, [this, id] { emit Command(id, 1); });
    } else if (auto* surface = qobject_cast<DrawingSurface*>(entry.control)) {
      ConnectPointer(id, surface, surface->Pointer(), entry.clickable);
    } else if (auto* label = qobject_cast<ClickableLabel*>(entry.control)) {
      ConnectPointer(id, label, label->Pointer(), entry.clickable);
    }
  }
  connect(main_.get(), &MainWindow::CancelPressed, this, [this] { emit Command(kCancelCommand, 0); });
  ConnectToggle(kListingToggle, listing_);
  ConnectToggle(kEventTableToggle, eventTable_);
  ConnectToggle(kDebugToggle, debug_);
  ConnectToggle(kBigKeyboardToggle, keyboard_);
  ConnectKaraoke();
  main_->installEventFilter(this);
  keyboard_->installEventFilter(this);
}

void AppWindows::ConnectPointer(int id, QWidget* source, PointerSignals* pointer, bool clickable) {
  if (!clickable) return;
  connect(pointer, &PointerSignals::Pressed, this,
          [this, id](QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons) {
            emit Pointer(id, PointerAction::Press, position, button, buttons);
          });
  connect(pointer, &PointerSignals::Released, this,
          [this, id](QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons) {
            emit Pointer(id, PointerAction::Release, position, button, buttons);
          });
  connect(pointer, &PointerSignals::Moved, this,
          [this, id, source](QPoint position, Qt::MouseButtons buttons) {
            ReportMove(id, source, position, buttons);
          });
  connect(pointer, &PointerSignals::Clicked, this, [this, id](QPoint position, int notification) {
    lastClick_ = position;
    emit Command(id, notification);
  });
}

void AppWindows::ReportMove(int id, QWidget* source, QPoint position, Qt::MouseButtons buttons) {
  // A held button keeps the pointer's events with the control it was pressed on; a move outside it belongs
  // to the control now under the pointer.
  const QPoint widgetPoint = qobject_cast<DrawingSurface*>(source) != nullptr
                                 ? position + source->contentsRect().topLeft()
                                 : position;
  if (buttons != Qt::NoButton && !source->rect().contains(widgetPoint)) {
    RouteHeldMove(source->window(), source->mapToGlobal(widgetPoint), buttons);
    return;
  }
  emit Pointer(id, PointerAction::Move, position, Qt::NoButton, buttons);
}

void AppWindows::RouteHeldMove(QWidget* window, QPoint global, Qt::MouseButtons buttons) {
  QWidget* under = window->childAt(window->mapFromGlobal(global));
  const int id = under != nullptr ? controls_.IdOf(under) : 0;
  if (id == 0 || !controls_.Clickable(id)) return;
  emit Pointer(id, PointerAction::Move, ControlPoint(under, under->mapFromGlobal(global)), Qt::NoButton,
               buttons);
}

// A button pressed on a window's background keeps the pointer's events with the window; moving on over a
// clickable control with the button held acts on that control, as a move that started on it would.
bool AppWindows::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    auto* window = static_cast<QWidget*>(watched);
    const auto* move = static_cast<QMouseEvent*>(event);
    if (move->buttons() != Qt::NoButton) {
      RouteHeldMove(window, window->mapToGlobal(move->position().toPoint()), move->buttons());
    }
  }
  return false;
}

void AppWindows::ConnectToggle(int toggleId, ToolWindow* window) {
  QPushButton* toggle = Button(toggleId);
  connect(toggle, &QPushButton::toggled, window, [window](bool checked) {
    if (checked) {
      window->showNormal();
    } else {
      window->hide();
    }
  });
  // The window's own close is a command like the toggle's: the view settings say whether it is shown.
  connect(window, &ToolWindow::Closed, this, [this, toggleId] { emit Command(toggleId, kWindowClosed); });
}

void AppWindows::ConnectKaraoke() {
  const auto toggle = [this] { emit Command(kKaraokeWindow, 0); };
  DrawingSurface* lyric = Surface(kLyricPanel);
  lyric->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lyric, &QWidget::customContextMenuRequested, this, [this, lyric, toggle](QPoint at) {
    // Opened without waiting for it: the song plays on while the menu is open.
    auto* menu = new QMenu(lyric);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (addToLyricMenu) {
      addToLyricMenu(*menu);
      menu->addSeparator();
    }
    FillLyricLineMenu(*menu, karaoke_->isVisible(), toggle);
    menu->popup(lyric->mapToGlobal(at));
  });
  auto* key = new QShortcut(QKeySequence(kKaraokeKey), main_.get());
  connect(key, &QShortcut::activated, this, toggle);
  connect(karaoke_, &KaraokeWindow::Closed, this, [this] { emit Command(kKaraokeWindow, kWindowClosed); });
}

}  // namespace sonvela
