#include "app/line_list_view.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "app/control_style.h"

namespace sonvela {

LineListView::LineListView(const ListLook& look, QWidget* parent)
    : QAbstractItemView(parent), model_(this), rowHeight_(1), extent_(look.scrollExtent) {
  setFont(look.font);
  setStyleSheet(ColourStyle(look.text, look.background, "QAbstractItemView"));
  if (!look.sunken) setFrameShape(QFrame::NoFrame);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTextElideMode(Qt::ElideNone);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setModel(&model_);
  // As tall as the style draws an item of this font, its margins included: a row of the font's bare height
  // cuts off underscores and descenders.
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.features |= QStyleOptionViewItem::HasDisplay;
  option.text = QStringLiteral("Ag_|");
  const QSize item = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
  rowHeight_ = std::max({1, QFontMetrics(look.font).height(), item.height()});
}

void LineListView::SelectLast() {
  const int rows = Rows();
  if (rows == 0) return;
  const QModelIndex last = model_.index(rows - 1);
  setCurrentIndex(last);
  scrollTo(last);
}

int LineListView::TopRow() const {
  return verticalScrollBar()->value();
}

int LineListView::WholeRowsInView() const {
  return std::max(1, viewport()->height() / rowHeight_);
}

QRect LineListView::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != &model_) return {};
  return QRect(-horizontalOffset(), (index.row() - TopRow()) * rowHeight_, extent_, rowHeight_);
}

void LineListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  const int row = index.row();
  const int top = TopRow();
  const int whole = WholeRowsInView();
  int newTop = top;
  switch (hint) {
    case EnsureVisible:
      if (row < top) {
        newTop = row;
      } else if (row >= top + whole) {
        newTop = row - whole + 1;
      }
      break;
    case PositionAtTop:
      newTop = row;
      break;
    case PositionAtBottom:
      newTop = row - whole + 1;
      break;
    case PositionAtCenter:
      newTop = row - whole / 2;
      break;
  }
  verticalScrollBar()->setValue(newTop);
}

QModelIndex LineListView::indexAt(const QPoint& point) const {
  const int row = RowAt(point.y());
  const int x = point.x() + horizontalOffset();
  if (row < 0 || row >= Rows() || x < 0 || x >= extent_) return {};
  return model_.index(row);
}

QModelIndex LineListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  const int rows = Rows();
  if (rows == 0) return {};
  const QModelIndex current = currentIndex();
  const int row = current.isValid() ? current.row() : -1;
  const int page = WholeRowsInView();
  int target = row;
  switch (action) {
    case MoveUp:
    case MovePrevious:
      target = row - 1;
      break;
    case MoveDown:
    case MoveNext:
      target = row + 1;
      break;
    case MovePageUp:
      target = row - page;
      break;
    case MovePageDown:
      target = row + page;
      break;
    case MoveHome:
      target = 0;
      break;
    case MoveEnd:
      target = rows - 1;
      break;
    default:
      break;
  }
  return model_.index(std::clamp(target, 0, rows - 1));
}

int LineListView::horizontalOffset() const {
  return horizontalScrollBar()->value();
}

int LineListView::verticalOffset() const {
  return TopRow() * rowHeight_;
}

void LineListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
  const int rows = Rows();
  const int first = std::max(0, RowAt(rect.top()));
  const int last = std::min(rows - 1, RowAt(rect.bottom()));
  if (first > last) {
    selectionModel()->select(QItemSelection(), flags);
    return;
  }
  selectionModel()->select(QItemSelection(model_.index(first), model_.index(last)), flags);
}

QRegion LineListView::visualRegionForSelection(const QItemSelection& selection) const {
  QRegion region;
  const int top = TopRow();
  const int bottom = top + WholeRowsInView();
  for (const QItemSelectionRange& range : selection) {
    const int first = std::max(range.top(), top);
    const int last = std::min(range.bottom(), bottom);
    if (first > last) continue;
    region +=
        QRect(-horizontalOffset(), (first - top) * rowHeight_, extent_, (last - first + 1) * rowHeight_);
  }
  return region;
}

void LineListView::updateGeometries() {
  QScrollBar* vertical = verticalScrollBar();
  const int whole = WholeRowsInView();
  vertical->setRange(0, std::max(0, Rows() - whole));
  vertical->setSingleStep(1);
  vertical->setPageStep(whole);
  QScrollBar* horizontal = horizontalScrollBar();
  const int width = viewport()->width();
  horizontal->setRange(0, std::max(0, extent_ - width));
  horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
  horizontal->setPageStep(std::max(1, width));
  QAbstractItemView::updateGeometries();
}

void LineListView::scrollContentsBy(int dx, int dy) {
  if (dy != 0) {
    viewport()->update();
    return;
  }
  viewport()->scroll(dx, 0);
}

void LineListView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const int rows = Rows();
  const QRect area = event->rect();
  const int first = std::max(0, RowAt(area.top()));
  const int last = std::min(rows - 1, RowAt(area.bottom()));
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const QStyle::State baseState = option.state;
  const QModelIndex current = currentIndex();
  for (int row = first; row <= last; ++row) {
    const QModelIndex index = model_.index(row);
    option.rect = visualRect(index);
    option.state = baseState;
    if (selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
    if (index == current && hasFocus()) option.state |= QStyle::State_HasFocus;
    itemDelegate()->paint(&painter, option, index);
  }
}

void LineListView::rowsInserted(const QModelIndex& parent, int start, int end) {
  QAbstractItemView::rowsInserted(parent, start, end);
  updateGeometries();
  viewport()->update();
}

}  // namespace sonvela
