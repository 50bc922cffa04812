// The five windows as built for a 1024 x 768 client area: places, looks, toggles, pointer and the end.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/app_windows.h"
#include "app/program_bench.h"
#include "app/song_file_list.h"
#include "app/sonvela.h"
#include "player/control_ids.h"
#include "player/instrument_names.h"
#include "text/message_boxes.h"

namespace sonvela {
namespace {

const QRect kWorkArea(0, 0, 1024, 768);

class Windows : public testing::Test {
 protected:
  AppWindows windows{MainLayout::Compute(1024, 768), kWorkArea};

  QRect At(int id) const {
    QWidget* control = windows.Control(id);
    return control != nullptr ? control->geometry() : QRect();
  }
  QColor PixelOf(int id, QPoint point) const {
    return windows.Control(id)->grab().toImage().pixelColor(point);
  }
};

TEST_F(Windows, MainWindowControlsLieWhereTheLayoutPutsThem) {
  EXPECT_EQ(windows.Main().size(), QSize(1024, 768));
  EXPECT_EQ(At(kLoadButton), QRect(4, 4, 93, 20));
  EXPECT_EQ(At(kEventTableToggle), QRect(384, 26, 93, 20));
  EXPECT_EQ(At(kProgressLabel), QRect(97, 48, 190, 20));
  EXPECT_EQ(At(kTempoFixToggle), QRect(446, 48, 31, 20));
  EXPECT_EQ(At(kMessageLogList), QRect(479, 4, 541, 120));
  EXPECT_EQ(At(kNoteNameLabel), QRect(289, 92, 93, 20));
  EXPECT_EQ(At(kSongFileList), QRect(816, 128, 204, 464));
  for (int row : {0, 7, 15}) {
    const int top = 128 + row * 29;
    EXPECT_EQ(At(kChannelKeyboardBase + row), QRect(4, top, 631, 29)) << row;
    EXPECT_EQ(At(kLevelBarBase + row), QRect(636, top, 22, 29)) << row;
    EXPECT_EQ(At(kChannelIndicatorBase + row), QRect(659, top, 22, 29)) << row;
    EXPECT_EQ(At(kChannelButtonBase + row), QRect(682, top, 22, 29)) << row;
    EXPECT_EQ(At(kInstrumentLabelBase + row), QRect(705, top, 110, 29)) << row;
  }
  EXPECT_EQ(At(kCancelLoopButton), QRect(4, 596, 80, 18));
  EXPECT_EQ(At(kInfoLabel), QRect(86, 596, 260, 18));
  EXPECT_EQ(At(kLyricPanel), QRect(4, 614, 1016, 40));
  EXPECT_EQ(At(kLoopBar), QRect(4, 656, 1016, 18));
  EXPECT_EQ(At(kSongMap), QRect(4, 674, 1016, 90));
  EXPECT_EQ(windows.Main().windowTitle(), "Sonvela 1.06 Quarzani Teodolfo fecit! (1024 x 768) ");
}

TEST_F(Windows, SecondaryWindowsHoldTheirControls) {
  EXPECT_EQ(windows.ListingWindow().windowTitle(), "Disassemblato");
  EXPECT_EQ(windows.ListingWindow().geometry(), QRect(112, 84, 800, 600));
  EXPECT_EQ(At(kSaveListingButton), QRect(1, 1, 93, 20));
  EXPECT_EQ(windows.Button(kSaveListingButton)->text(), "Salvo disass");
  EXPECT_EQ(At(kListingList), QRect(0, 25, 800, 570));
  EXPECT_EQ(windows.EventTableWindow().windowTitle(), "Eseguibile");
  EXPECT_EQ(At(kEventTableList), QRect(0, 0, 800, 600));
  EXPECT_EQ(windows.DebugWindow().windowTitle(), "Debug");
  EXPECT_EQ(At(kDebugLogList), QRect(0, 0, 800, 600));

  ToolWindow& keyboard = windows.KeyboardWindow();
  EXPECT_EQ(keyboard.windowTitle(), "Keyboard");
  EXPECT_EQ(keyboard.size(), QSize(1009, 600));
  EXPECT_EQ(At(kBigKeyboard), QRect(0, 22, 1009, 110));
  EXPECT_EQ(At(kHistoryStrip), QRect(0, 134, 1009, 450));
  EXPECT_EQ(At(kInstrumentList), QRect(546, 1, 200, 20));
  EXPECT_EQ(At(kHistoryToggle), QRect(748, 1, 200, 20));
  for (int i = 0; i < 16; ++i) {
    QPushButton* filter = windows.Button(kChannelFilterBase + i);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->geometry(), QRect(2 + 32 * i, 1, 30, 20));
    EXPECT_EQ(filter->text(), QString::number(i + 1));
    EXPECT_TRUE(filter->isCheckable() && filter->isChecked()) << i;
  }
  EXPECT_TRUE(windows.Button(kHistoryToggle)->isCheckable());
  EXPECT_FALSE(windows.Button(kHistoryToggle)->isChecked());

  QComboBox* instruments = windows.InstrumentList();
  ASSERT_EQ(instruments->count(), 128);
  // Each entry led by its program number, in the table's own spellings; other programs have no name.
  for (int i = 0; i < 128; ++i)
    EXPECT_TRUE(instruments->itemText(i).startsWith(QString("%1 ").arg(i + 1))) << i;
  for (const char* name :
       {"1 Acoustic Grand", "22 Accoridan", "24 Tango Accordian", "25 Acoustic Guitar(nylon)", "66 Sax",
        "78 Skakuhachi", "88 Lead 8 (bass+lead)", "128 Gunshot"})
    EXPECT_EQ(instruments->itemText(std::atoi(name) - 1), name);
  for (int program : {-1, 128, kInstrumentNameSlots})
    EXPECT_TRUE(InstrumentNames(program).empty()) << program;
  EXPECT_EQ(instruments->currentText(), "19 Rock Organ");
}

TEST_F(Windows, ControlsShowTheirColoursAndFonts) {
  EXPECT_EQ(PixelOf(kTimeLabel, {2, 2}), QColor(0, 0, 0));
  EXPECT_EQ(PixelOf(kChannelIndicatorBase, {3, 3}), QColor(255, 255, 255));
  EXPECT_EQ(PixelOf(kInfoLabel, {255, 15}), QColor(30, 50, 55));
  EXPECT_EQ(PixelOf(kSongFileList, {100, 100}), QColor(120, 100, 100));
  EXPECT_EQ(PixelOf(kListingList, {400, 300}), QColor(240, 220, 200));
  EXPECT_EQ(PixelOf(kEventTableList, {400, 300}), QColor(200, 220, 240));
  EXPECT_EQ(PixelOf(kDebugLogList, {400, 300}), QColor(240, 220, 240));
  EXPECT_EQ(windows.Main().grab().toImage().pixelColor(478, 126), QColor(30, 50, 55));

  DrawingSurface* lyric = windows.Surface(kLyricPanel);
  EXPECT_EQ(lyric->Image().size(), QSize(1016, 40));
  EXPECT_EQ(lyric->Image().pixelColor(500, 20), QColor(60, 100, 60));
  // A sunken surface's picture is its client area, inside the edge; painting copies the picture.
  DrawingSurface* keyboard = windows.Surface(kChannelKeyboardBase);
  EXPECT_EQ(keyboard->Image().size(), QSize(627, 25));
  keyboard->Image().setPixelColor(0, 0, QColor(255, 0, 0));
  EXPECT_EQ(PixelOf(kChannelKeyboardBase, {2, 2}), QColor(255, 0, 0));

  for (const auto& [id, height] :
       {std::pair{kMessageLogList, 16}, {kSongFileList, 14}, {kListingList, 14}, {kNoteNameLabel, 20}}) {
    const QFont font = windows.Control(id)->font();
    EXPECT_EQ(font.pixelSize(), height) << id;
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << id;
  }
  EXPECT_NEAR(QFontMetricsF(windows.Control(kMessageLogList)->font()).averageCharWidth(), 8, 1);
  EXPECT_NEAR(QFontMetricsF(windows.Control(kNoteNameLabel)->font()).averageCharWidth(), 14, 1);
}

TEST_F(Windows, TogglesShowAndHideTheirWindowsAndClosingOrEscapeIsACommandOfTheToggle) {
  const std::pair<int, ToolWindow*> toggles[] = {{kListingToggle, &windows.ListingWindow()},
                                                 {kEventTableToggle, &windows.EventTableWindow()},
                                                 {kDebugToggle, &windows.DebugWindow()},
                                                 {kBigKeyboardToggle, &windows.KeyboardWindow()}};
  // The program unchecks a toggle whose window was closed, as the window's close command asks.
  QObject::connect(&windows, &AppWindows::Command, [this](int id, int notification) {
    if (notification == kWindowClosed) windows.Button(id)->setChecked(false);
  });
  for (const auto& [id, window] : toggles) {
    QPushButton* toggle = windows.Button(id);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible()) << id;
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible()) << id;
    QTest::mouseClick(toggle, Qt::LeftButton);
    window->close();
    EXPECT_FALSE(window->isVisible()) << id;
    EXPECT_FALSE(toggle->isChecked()) << id;
    // The window is kept, ready to be shown again; Escape in it closes it as its frame does.
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible()) << id;
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << id;
    EXPECT_FALSE(toggle->isChecked()) << id;
  }
}

using test::SendMouse;

// Every list shows its text whole: an underscore and the descenders stay inside the row (the lists share
// one view; the song list stands for them).
TEST_F(Windows, ListsShowTheBottomOfTheirText) {
  windows.Show();
  SongFileList* list = windows.SongFiles();
  const auto rowImage = [&](const std::string& text) {
    list->SetEntries({text});
    QApplication::processEvents();
    return list->viewport()->grab(QRect(0, 0, 200, list->RowHeight())).toImage();
  };
  EXPECT_NE(rowImage("city_blues.mid"), rowImage("city blues.mid"));
}

TEST_F(Windows, TheInstrumentListOpensAHundredPixelsHigh) {
  QTest::mouseClick(windows.Button(kBigKeyboardToggle), Qt::LeftButton);
  QComboBox* list = windows.InstrumentList();
  list->showPopup();
  QWidget* popup = list->view()->window();
  EXPECT_TRUE(popup->isVisible());
  EXPECT_LE(popup->height(), 100);
  EXPECT_GE(popup->height(), 60);
  list->hidePopup();
  QTest::mouseClick(windows.Button(kBigKeyboardToggle), Qt::LeftButton);
}

TEST_F(Windows, ControlsReportTheirCommands) {
  QSignalSpy commands(&windows, &AppWindows::Command);
  QTest::mouseClick(windows.Button(kPlayButton), Qt::LeftButton);
  QTest::mouseClick(windows.Button(kChannelFilterBase + 2), Qt::LeftButton);
  QTest::mouseClick(windows.Control(kChannelButtonBase + 4), Qt::LeftButton);
  QWidget* songMap = windows.Control(kSongMap);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const bool down = type != QEvent::MouseButtonRelease;
    SendMouse(songMap, type, {30, 30}, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton);
  }
  QTest::mouseClick(windows.Control(kLevelBarBase), Qt::LeftButton);  // not clickable
  QTest::keyClick(windows.InstrumentList(), Qt::Key_Down);
  const std::vector<std::pair<int, int>> expected = {
      {kPlayButton, 0}, {kChannelFilterBase + 2, 0}, {kChannelButtonBase + 4, 0}, {kSongMap, 0},
      {kSongMap, 1},    {kInstrumentList, 1}};
  ASSERT_EQ(commands.count(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(commands[static_cast<int>(i)][0].toInt(), expected[i].first) << i;
    EXPECT_EQ(commands[static_cast<int>(i)][1].toInt(), expected[i].second) << i;
  }
  EXPECT_EQ(windows.InstrumentList()->currentText(), "20 Church Organ");
  EXPECT_FALSE(windows.Button(kChannelFilterBase + 2)->isChecked());
}

struct PointerRecord {
  int id;
  PointerAction action;
  QPoint position;
  Qt::MouseButtons buttons;
};

TEST_F(Windows, AHeldButtonIsReportedOnEveryMoveAlsoOverTheNextControl) {
  std::vector<PointerRecord> records;
  QObject::connect(
      &windows, &AppWindows::Pointer,
      [&records](int id, PointerAction action, QPoint position, Qt::MouseButton, Qt::MouseButtons buttons) {
        records.push_back({id, action, position, buttons});
      });
  QWidget* label = windows.Control(kInstrumentLabelBase + 3);
  SendMouse(label, QEvent::MouseMove, {20, 10}, Qt::NoButton, Qt::NoButton);
  SendMouse(label, QEvent::MouseButtonPress, {20, 10}, Qt::RightButton, Qt::RightButton);
  SendMouse(label, QEvent::MouseMove, {21, 10}, Qt::NoButton, Qt::RightButton);
  SendMouse(label, QEvent::MouseMove, {22, 10}, Qt::NoButton, Qt::RightButton);
  // Down into the next row's label, the button still held: the press stays with the first label.
  SendMouse(label, QEvent::MouseMove, {22, 10 + 29}, Qt::NoButton, Qt::RightButton);
  SendMouse(label, QEvent::MouseButtonRelease, {22, 10 + 29}, Qt::RightButton, Qt::NoButton);

  // Pressed on the window's background and moved on over a channel button.
  SendMouse(&windows.Main(), QEvent::MouseMove, {682 + 5, 128 + 5}, Qt::NoButton, Qt::RightButton);
  SendMouse(&windows.Main(), QEvent::MouseMove, {300, 300}, Qt::NoButton, Qt::NoButton);

  const int first = kInstrumentLabelBase + 3;
  ASSERT_EQ(records.size(), 7u);
  EXPECT_EQ(records[6].id, kChannelButtonBase);
  EXPECT_EQ(records[6].position, QPoint(5, 5));
  EXPECT_EQ(records[0].action, PointerAction::Move);
  EXPECT_EQ(records[0].buttons, Qt::NoButton);
  EXPECT_EQ(records[0].position, QPoint(18, 8));  // in the picture, inside the 2-pixel edge
  EXPECT_EQ(records[1].action, PointerAction::Press);
  EXPECT_EQ(records[2].action, PointerAction::Move);
  EXPECT_EQ(records[3].buttons, Qt::RightButton);
  EXPECT_EQ(records[4].id, first + 1);
  EXPECT_EQ(records[4].position, QPoint(20, 8));
  EXPECT_EQ(records[4].buttons, Qt::RightButton);
  EXPECT_EQ(records[5].action, PointerAction::Release);
  for (size_t i : {0u, 1u, 2u, 3u, 5u}) EXPECT_EQ(records[i].id, first) << i;
}

TEST_F(Windows, EscapeEndsTheMainWindowOnce) {
  QSignalSpy commands(&windows, &AppWindows::Command);
  QSignalSpy ended(&windows.Main(), &MainWindow::Ended);
  windows.Main().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.Main()));
  QTest::keyClick(windows.Button(kPlayButton), Qt::Key_Escape);  // from a control with the focus, too
  EXPECT_FALSE(windows.Main().isVisible());
  EXPECT_EQ(ended.count(), 1);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands[0][0].toInt(), kCancelCommand);
  windows.Main().close();
  EXPECT_EQ(ended.count(), 1);
}

using ProgramWindows = test::ProgramBench;

TEST_F(ProgramWindows, LaysTheMaximisedWindowOutForItsClientAreaAndHidesEverythingAtTheEnd) {
  program = std::make_unique<Sonvela>(messages, "", MainLayout::Compute(1024, 768), kWorkArea, Parts());
  AppWindows& windows = program->Windows();
  QTest::mouseClick(windows.Button(kDebugToggle), Qt::LeftButton);
  program->Start();
  MainWindow& main = windows.Main();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  // The logs' lists show their lines, the newest selected.
  ASSERT_EQ(program->TheLogs().Debug.Size(), 1u);
  EXPECT_EQ(windows.List(kDebugLogList)->model()->rowCount(), 1);
  EXPECT_EQ(windows.List(kDebugLogList)->currentIndex().row(), 0);

  // Maximised, the window lays its controls out for the client area it really got.
  ASSERT_TRUE(QTest::qWaitFor([&] { return main.isMaximized(); }));
  EXPECT_EQ(main.Layout().ClientWidth, main.width());
  EXPECT_EQ(main.Layout().ClientHeight, main.height());
  for (const ControlMap::Entry& entry : windows.Controls().Entries()) {
    if (entry.control->window() == &main) {
      EXPECT_TRUE(main.rect().contains(entry.control->geometry())) << entry.id;
    }
  }
  EXPECT_EQ(windows.Control(kSongMap)->geometry().bottom(), main.height() - 5);
  // The pictures have the new sizes, drawn again: the keyboards are whole.
  const QImage keyboard = windows.Surface(kChannelKeyboardBase)->Image();
  EXPECT_EQ(keyboard.size(), windows.Surface(kChannelKeyboardBase)->contentsRect().size());
  const double whiteKey = std::lrint(keyboard.width() / 63.0);
  EXPECT_EQ(keyboard.pixelColor(static_cast<int>(1.1 * whiteKey), keyboard.height() / 3), QColor(0, 0, 0));

  QTest::keyClick(&main, Qt::Key_Escape);
  EXPECT_FALSE(windows.DebugWindow().isVisible());
  EXPECT_FALSE(main.isVisible());
  EXPECT_THAT(messages.shown, testing::IsEmpty());
}

}  // namespace
}  // namespace sonvela
