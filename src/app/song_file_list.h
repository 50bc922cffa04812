#pragma once
// The song file list of the main window: bare file names, sorted as a sorted list box sorts them
// (ignoring case). Only a choice of the user is announced, also a click on the entry already selected
// (it plays that song again); selections made from code are silent.

#include <string>
#include <vector>

#include "app/line_list_view.h"

namespace sonvela {

class SongFileList : public LineListView {
  Q_OBJECT

 public:
  SongFileList(const ListLook& look, QWidget* parent);

  void SetEntries(std::vector<std::string> names);
  int Count() const { return static_cast<int>(names_.entries.size()); }
  // -1 when no entry is selected.
  int Selected() const;
  // Selects an entry from code (-1: none), without a UserSelected.
  void Select(int index);
  // The bytes of an entry; empty for an index outside the list.
  std::string Entry(int index) const;

 signals:
  void UserSelected(int index);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Names {
    std::vector<std::string> entries;
    size_t Size() const { return entries.size(); }
    const std::string& operator[](size_t index) const { return entries[index]; }
  };
  Names names_;
  bool selectingFromCode_ = false;
};

}  // namespace sonvela
