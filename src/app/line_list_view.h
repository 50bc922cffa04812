#pragma once
// A list control of the windows: rows of one fixed height over a LineListModel. Row positions are worked out
// from the row number, so a list of millions of lines opens, grows and scrolls in the time of the rows in
// view (a QListView lays out every row again on each reset and each append).

#include <QAbstractItemView>
#include <QFont>

#include "app/line_list_model.h"
#include "player/colours.h"

namespace sonvela {

struct ListLook {
  Colour text = 0;
  Colour background = 0;
  QFont font;
  int scrollExtent = 0;  // the width, in pixels, that the horizontal scroll bar covers
  bool sunken = false;
};

class LineListView : public QAbstractItemView {
  Q_OBJECT

 public:
  LineListView(const ListLook& look, QWidget* parent);

  LineListModel& Model() { return model_; }
  template <typename Lines>
  void Show(const Lines& lines) {
    model_.Show(lines);
  }
  // After lines were appended or the list was cleared.
  void Refresh() { model_.Refresh(); }
  // Selects the newest line and keeps it in view, as the logs do.
  void SelectLast();

  int RowHeight() const { return rowHeight_; }
  // The first row in view.
  int TopRow() const;

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex&) const override { return false; }
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void paintEvent(QPaintEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;

 private:
  int Rows() const { return model_.rowCount(); }
  // Rows that fit wholly in the viewport (at least one).
  int WholeRowsInView() const;
  int RowAt(int y) const { return TopRow() + (y < 0 ? -1 : y / rowHeight_); }

  LineListModel model_;
  int rowHeight_ = 1;
  int extent_ = 0;
};

}  // namespace sonvela
