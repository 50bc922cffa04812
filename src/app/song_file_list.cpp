#include "app/song_file_list.h"

#include <QItemSelectionModel>
#include <QMouseEvent>

#include <algorithm>

namespace sonvela {

namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SortsBefore(const std::string& a, const std::string& b) {
  const auto lowerLess = [](char x, char y) {
    return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerLess)) return false;
  return a < b;
}

}  // namespace

SongFileList::SongFileList(const ListLook& look, QWidget* parent) : LineListView(look, parent) {
  Show(names_);
  // Announced once the selection has moved (the current entry changes before it), so that whoever
  // answers reads the new selection.
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selectingFromCode_ && !selected.isEmpty())
              emit UserSelected(selected.indexes().constFirst().row());
          });
}

void SongFileList::SetEntries(std::vector<std::string> names) {
  std::sort(names.begin(), names.end(), SortsBefore);
  selectingFromCode_ = true;
  names_.entries = std::move(names);
  Model().Reset();
  selectingFromCode_ = false;
}

int SongFileList::Selected() const {
  const QModelIndex current = currentIndex();
  return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void SongFileList::Select(int index) {
  selectingFromCode_ = true;
  if (index >= 0 && index < Count()) {
    const QModelIndex entry = Model().index(index);
    setCurrentIndex(entry);
    scrollTo(entry);
  } else {
    selectionModel()->clearCurrentIndex();
    clearSelection();
  }
  selectingFromCode_ = false;
}

void SongFileList::mousePressEvent(QMouseEvent* event) {
  const int before = Selected();
  LineListView::mousePressEvent(event);
  // A new entry was announced by the selection's change; the selected one is chosen again.
  const QModelIndex pressed = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && pressed.isValid() && pressed.row() == before &&
      Selected() == before) {
    emit UserSelected(before);
  }
}

std::string SongFileList::Entry(int index) const {
  if (index < 0 || index >= Count()) return {};
  return names_.entries[static_cast<size_t>(index)];
}

}  // namespace sonvela
