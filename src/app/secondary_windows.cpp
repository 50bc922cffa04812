#include "app/secondary_windows.h"

#include <QComboBox>
#include <QPushButton>

#include <algorithm>

#include "app/control_style.h"
#include "app/drawing_surface.h"
#include "app/line_list_view.h"
#include "player/control_ids.h"
#include "player/instrument_names.h"

namespace sonvela {

namespace {

constexpr QSize kListWindowSize(800, 600);
constexpr int kListExtent = 3000;
constexpr int kDebugExtent = 3800;
constexpr Colour kListingBackground = Rgb(240, 220, 200);
constexpr Colour kEventTableBackground = Rgb(200, 220, 240);
constexpr Colour kDebugBackground = Rgb(240, 220, 240);

constexpr QPoint kKeyboardWindowPosition(4, 144);
constexpr int kKeyboardWindowHeight = 600;
constexpr int kChannelFilters = 16;
constexpr int kStartProgram = 19;  // "19 Rock Organ" is chosen at start
constexpr int kInstrumentListOpenHeight = 100;

ToolWindow* ListWindow(const QString& title, QWidget* owner, const QRect& workArea) {
  auto* window = new ToolWindow(title, owner);
  QRect client(QPoint(), kListWindowSize);
  client.moveCenter(workArea.center());
  window->setGeometry(client);
  return window;
}

LineListView* AddList(ToolWindow* window, int id, Colour background, int extent, const QRect& rect,
                      ControlMap& controls) {
  auto* list = new LineListView({kBlack, background, MakeFont(14, 8), extent, false}, window);
  list->setGeometry(rect);
  controls.Add(id, list);
  return list;
}

}  // namespace

ToolWindow* BuildListingWindow(QWidget* owner, const QRect& workArea, ControlMap& controls) {
  ToolWindow* window = ListWindow("Disassemblato", owner, workArea);
  auto* save = new QPushButton("Salvo disass", window);
  save->setGeometry(1, 1, 93, 20);
  controls.Add(kSaveListingButton, save);
  AddList(window, kListingList, kListingBackground, kListExtent, QRect(0, 25, 800, 570), controls);
  return window;
}

ToolWindow* BuildEventTableWindow(QWidget* owner, const QRect& workArea, ControlMap& controls) {
  ToolWindow* window = ListWindow("Eseguibile", owner, workArea);
  AddList(window, kEventTableList, kEventTableBackground, kListExtent, QRect(QPoint(), kListWindowSize),
          controls);
  return window;
}

ToolWindow* BuildDebugWindow(QWidget* owner, const QRect& workArea, ControlMap& controls) {
  ToolWindow* window = ListWindow("Debug", owner, workArea);
  AddList(window, kDebugLogList, kDebugBackground, kDebugExtent, QRect(QPoint(), kListWindowSize), controls);
  return window;
}

ToolWindow* BuildKeyboardWindow(QWidget* owner, const QRect& workArea, int width, ControlMap& controls) {
  auto* window = new ToolWindow("Keyboard", owner);
  window->resize(width, kKeyboardWindowHeight);
  window->move(workArea.topLeft() + kKeyboardWindowPosition);

  auto* keyboard = new DrawingSurface(ToQColor(kWhite), false, window);
  keyboard->setGeometry(0, 22, width, 110);
  controls.Add(kBigKeyboard, keyboard, true);
  auto* history = new DrawingSurface(ToQColor(kWhite), false, window);
  history->setGeometry(0, 134, width, 450);
  controls.Add(kHistoryStrip, history, true);

  for (int i = 0; i < kChannelFilters; ++i) {
    auto* filter = new QPushButton(QString::number(i + 1), window);
    filter->setCheckable(true);
    filter->setChecked(true);
    filter->setGeometry(2 + 32 * i, 1, 30, 20);
    controls.Add(kChannelFilterBase + i, filter);
  }

  auto* instruments = new QComboBox(window);
  for (int program = 0; program < kInstrumentCount; ++program) {
    const std::string_view name = InstrumentNames(program);
    instruments->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
  instruments->setCurrentIndex(kStartProgram - 1);
  instruments->setGeometry(546, 1, 200, 20);
  // The open list reaches 100 pixels below the top of the closed one.
  const int rowHeight = std::max(1, instruments->fontMetrics().height());
  instruments->setMaxVisibleItems(std::max(1, (kInstrumentListOpenHeight - 20) / rowHeight));
  // Styles that open a list as a menu (Fusion among them) ignore that count and open it as tall as the
  // screen; as a list it keeps to it.
  instruments->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  controls.Add(kInstrumentList, instruments);

  auto* historyToggle = new QPushButton("History", window);
  historyToggle->setCheckable(true);
  historyToggle->setChecked(false);
  historyToggle->setGeometry(748, 1, 200, 20);
  controls.Add(kHistoryToggle, historyToggle);
  return window;
}

}  // namespace sonvela
