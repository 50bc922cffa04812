// The program's message boxes: one at a time, above the main window, never holding up the end.

#include "app/message_box_output.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace sonvela {
namespace {

std::vector<QMessageBox*> OpenBoxes() {
  QApplication::processEvents();
  std::vector<QMessageBox*> boxes;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(window);
    if (box != nullptr && box->isVisible()) boxes.push_back(box);
  }
  return boxes;
}

TEST(DialogMessageBoxes, ShowOneBoxAtATimeAboveTheWindowAndEndWithIt) {
  QWidget window;
  window.show();
  DialogMessageBoxes boxes;
  boxes.SetOwner(&window);
  boxes.ShowMessage("first");
  boxes.ShowMessage("second");
  boxes.ShowMessage("third");
  // One box, the first message's, owned by the window so that it stays above it.
  std::vector<QMessageBox*> open = OpenBoxes();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0]->text(), "first");
  EXPECT_EQ(open[0]->parentWidget(), &window);
  EXPECT_FALSE(open[0]->isModal());
  // Answered, the next takes its turn; Escape answers too.
  open[0]->button(QMessageBox::Ok)->click();
  open = OpenBoxes();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0]->text(), "second");
  QTest::keyClick(open[0], Qt::Key_Escape);
  open = OpenBoxes();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0]->text(), "third");
  // The window ends: no box stays open to hold the program up, nor opens later.
  boxes.ShowMessage("fourth");
  boxes.EndWithWindow();
  boxes.ShowMessage("at the end");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(OpenBoxes().empty());
}

}  // namespace
}  // namespace sonvela
