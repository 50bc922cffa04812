#include "app/line_list_model.h"

#include <algorithm>
#include <climits>

#include "app/screen_text.h"

namespace sonvela {

namespace {

// Control characters (the event table's column separator among them) show as blanks.
QString ListText(const TextDecoder* texts, std::string_view bytes) {
  QString text = texts != nullptr ? SongText(*texts, bytes) : ScreenText(bytes);
  for (QChar& c : text) {
    if (c.unicode() < 0x20) c = QLatin1Char(' ');
  }
  return text;
}

}  // namespace

LineListModel::LineListModel(QObject* parent) : QAbstractListModel(parent) {}

void LineListModel::Attach(SizeOf size, LineOf line) {
  beginResetModel();
  size_ = std::move(size);
  line_ = std::move(line);
  rows_ = LiveRows();
  endResetModel();
}

void LineListModel::Detach() {
  Attach({}, {});
}

int LineListModel::LiveRows() const {
  if (!size_) return 0;
  return static_cast<int>(std::min<size_t>(size_(), INT_MAX));
}

void LineListModel::Refresh() {
  const int live = LiveRows();
  if (live < rows_) {
    Reset();
    return;
  }
  // Rows already shown may hold other lines when the list was cleared and filled again since. (A
  // dataChanged over all rows would make the view measure every one of them.)
  if (rows_ > 0) {
    emit layoutAboutToBeChanged();
    emit layoutChanged();
  }
  if (live == rows_) return;
  beginInsertRows({}, rows_, live - 1);
  rows_ = live;
  endInsertRows();
}

void LineListModel::Reset() {
  beginResetModel();
  rows_ = LiveRows();
  endResetModel();
}

int LineListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  if (role != Qt::DisplayRole) return {};
  // A list cleared behind the view's back has no line to give until Refresh.
  const auto row = static_cast<size_t>(index.row());
  if (!line_ || row >= size_()) return QString();
  QString text;
  line_(row, [this, &text](std::string_view bytes) { text = ListText(texts_, bytes); });
  return text;
}

}  // namespace sonvela
