#pragma once
// A list model over lines that the core keeps: anything with Size() and [i] giving the bytes of line i
// (the logs' and the listing's LineList, the event table, whose items are written when asked for). The
// lines are never copied; only the rows in view are read.

#include <QAbstractListModel>

#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/text_decoder.h"
#include "song/song_document.h"

namespace sonvela {

class LineListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit LineListModel(QObject* parent = nullptr);

  // Shows `lines`, which must stay where they are while shown.
  template <typename Lines>
  void Show(const Lines& lines) {
    Attach([&lines] { return lines.Size(); },
           [&lines](size_t index, const std::function<void(std::string_view)>& take) { take(lines[index]); });
  }
  // Shows the document's event table, whose items are written from its tables when asked for.
  void Show(const SongDocument& document) {
    Attach([&document] { return document.EventTable.Size(); },
           [&document](size_t index, const std::function<void(std::string_view)>& take) {
             take(document.EventTable.Item(document, index));
           });
  }
  void Detach();
  // The lines hold the song's texts, which `texts` decodes; without it they are the program's UTF-8.
  void DecodeWith(const TextDecoder* texts) { texts_ = texts; }

  // The lines changed: rows appended since the last call are added to the view; a list that shrank (was
  // cleared) is shown anew.
  void Refresh();
  // The lines were rebuilt: shown anew.
  void Reset();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  using SizeOf = std::function<size_t()>;
  using LineOf = std::function<void(size_t, const std::function<void(std::string_view)>&)>;
  void Attach(SizeOf size, LineOf line);
  int LiveRows() const;

  const TextDecoder* texts_ = nullptr;
  SizeOf size_;
  LineOf line_;
  int rows_ = 0;  // the rows the view knows of
};

}  // namespace sonvela
