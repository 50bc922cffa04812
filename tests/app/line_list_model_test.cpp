#include "app/line_list_model.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_style.h"
#include "app/line_list_view.h"
#include "app/screen_text.h"
#include "app/song_file_list.h"
#include "text/line_list.h"

namespace sonvela {
namespace {

QString Row(const LineListModel& model, int row) {
  return model.data(model.index(row), Qt::DisplayRole).toString();
}

TEST(LineListModel, ShowsTheLinesOfALineListAndFollowsItsGrowth) {
  LineList lines;
  lines.Append("first");
  lines.Append("second");
  LineListModel model;
  model.Show(lines);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(Row(model, 1), "second");

  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  lines.Append("third");
  lines.Append("fourth");
  EXPECT_EQ(model.rowCount(), 2);  // the view learns of new lines when told
  model.Refresh();
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 2);
  EXPECT_EQ(inserted[0][2].toInt(), 3);
  EXPECT_EQ(reset.count(), 0);
  EXPECT_EQ(Row(model, 3), "fourth");

  // Cleared (a log's "RESET") and written again: the view starts over.
  lines.Clear();
  lines.Append("again");
  model.Refresh();
  EXPECT_EQ(reset.count(), 1);
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(Row(model, 0), "again");

  // Cleared behind the view's back: rows it still knows of read as empty, never out of range.
  lines.Clear();
  EXPECT_EQ(Row(model, 0), "");
}

// A list of millions of lines written on demand, as the event table is, counting what is read.
struct CountingLines {
  size_t lines = 3'200'000;
  mutable size_t reads = 0;
  size_t Size() const { return lines; }
  std::string operator[](size_t index) const {
    ++reads;
    return "line " + std::to_string(index) + "\x05" + "end";
  }
};

TEST(LineListView, MillionsOfLinesOpenGrowAndScrollReadingOnlyTheRowsInView) {
  CountingLines source;
  QWidget window;
  window.resize(800, 600);
  LineListView view({kBlack, kWhite, MakeFont(14, 8), 3000, false}, &window);
  view.setGeometry(0, 0, 800, 600);
  view.Show(source);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  view.viewport()->repaint();
  const int rowsInView = view.viewport()->height() / view.RowHeight() + 1;
  EXPECT_GT(source.reads, 0u);
  EXPECT_LE(source.reads, static_cast<size_t>(2 * rowsInView));

  // To the end with the keyboard: the last line is current and in view, the rows above it unread.
  source.reads = 0;
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_End);
  view.viewport()->repaint();
  EXPECT_EQ(view.currentIndex().row(), 3'199'999);
  EXPECT_EQ(view.indexAt(view.visualRect(view.currentIndex()).center()).row(), 3'199'999);
  EXPECT_LE(source.reads, static_cast<size_t>(2 * rowsInView));
  // The column separator shows as a blank.
  EXPECT_EQ(Row(view.Model(), 3'199'999), "line 3199999 end");

  // Growing by a thousand lines: the view learns of them without reading the others.
  source.reads = 0;
  source.lines += 1000;
  view.Refresh();
  view.SelectLast();
  view.viewport()->repaint();
  EXPECT_EQ(view.model()->rowCount(), 3'201'000);
  EXPECT_EQ(view.TopRow(), 3'201'000 - view.viewport()->height() / view.RowHeight());
  EXPECT_LE(source.reads, static_cast<size_t>(2 * rowsInView));

  // Every row is one line of the font high, and the horizontal scroll bar covers the scroll extent.
  EXPECT_EQ(view.horizontalScrollBar()->maximum(), 3000 - view.viewport()->width());
  QTest::keyClick(&view, Qt::Key_PageUp);
  EXPECT_EQ(view.currentIndex().row(), 3'201'000 - 1 - view.viewport()->height() / view.RowHeight());
}

TEST(ScreenText, ShowsUtf8AsItIsAndOtherBytesAsWindows1252) {
  EXPECT_EQ(ScreenText("plain"), "plain");
  EXPECT_EQ(ScreenText("citt\xC3\xA0"), QString::fromUtf8("città"));
  EXPECT_EQ(ScreenText("citt\xE0 \x80"), QString::fromUtf8("città €"));
  EXPECT_EQ(ScreenText("\x81"), "?");
}

TEST(SongFileList, SortsIgnoringCaseAndAnnouncesOnlyTheUsersChoice) {
  SongFileList list({kWhite, kBlack, MakeFont(14, 8), 300, true}, nullptr);
  list.SetEntries({"b.mid", "C.kar", "a.MID", "B.kar"});
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Entry(1), "B.kar");  // the program's listing pins the whole order
  EXPECT_EQ(list.Entry(4), "");
  EXPECT_EQ(list.Selected(), -1);

  QSignalSpy chosen(&list, &SongFileList::UserSelected);
  list.Select(2);
  EXPECT_EQ(list.Selected(), 2);
  EXPECT_EQ(chosen.count(), 0);

  list.resize(200, 200);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.Model().index(3)).center());
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toInt(), 3);
  EXPECT_EQ(list.Selected(), 3);

  // Whoever answers reads the new selection; the entry already selected, clicked, is chosen again.
  std::vector<int> selectedWhenAnnounced;
  QObject::connect(&list, &SongFileList::UserSelected,
                   [&] { selectedWhenAnnounced.push_back(list.Selected()); });
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.Model().index(1)).center());
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.Model().index(1)).center());
  EXPECT_EQ(selectedWhenAnnounced, (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace sonvela
