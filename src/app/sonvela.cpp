#include "app/sonvela.h"

#include <utility>

#include "player/control_ids.h"

namespace sonvela {

Sonvela::Sonvela(MessageBoxes& messages, std::string commandLineSong, const MainLayout& layout,
                 const QRect& workArea)
    : messages_(messages), commandLineSong_(std::move(commandLineSong)), windows_(layout, workArea) {
  windows_.List(kListingList)->Show(document_.Listing.Lines);
  windows_.List(kEventTableList)->Show(document_);
  windows_.List(kDebugLogList)->Show(logs_.Debug);
  windows_.List(kMessageLogList)->Show(logs_.Messages);
  MainWindow& main = windows_.Main();
  QObject::connect(&main, &MainWindow::FirstPaint, &main, [this] { OnFirstPaint(); });
  QObject::connect(&main, &MainWindow::Ended, &main, [this] { Shutdown(); });
}

Sonvela::~Sonvela() {
  Shutdown();
}

void Sonvela::Start() {
  windows_.Show();
}

void Sonvela::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  windows_.HideSecondary();
}

void Sonvela::RefreshLogs() {
  for (const int id : {kDebugLogList, kMessageLogList}) {
    LineListView* list = windows_.List(id);
    list->Refresh();
    list->SelectLast();
  }
}

void Sonvela::OnFirstPaint() {
  if (commandLineSong_.empty()) return;
  LoadCommandLineSong(std::exchange(commandLineSong_, {}));
}

// The song's name is taken and logged; reading, analysing and playing it follow from here.
void Sonvela::LoadCommandLineSong(const std::string& path) {
  document_.Tables.SongFileName = path;
  DebugLog(logs_, path);
  RefreshLogs();
}

}  // namespace sonvela
