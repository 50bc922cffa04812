#include "app/song_file_list.h"

#include <QItemSelectionModel>

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
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (!selectingFromCode_ && current.isValid()) emit UserSelected(current.row());
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

std::string SongFileList::Entry(int index) const {
  if (index < 0 || index >= Count()) return {};
  return names_.entries[static_cast<size_t>(index)];
}

}  // namespace sonvela
