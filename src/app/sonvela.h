#pragma once
// The program: owns the windows, the two logs and the loaded song for the life of the process, and takes
// the song named on the command line until the main window first paints.

#include <QRect>

#include <string>

#include "app/app_windows.h"
#include "app/main_layout.h"
#include "song/song_document.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

class Sonvela {
 public:
  Sonvela(MessageBoxes& messages, std::string commandLineSong, const MainLayout& layout,
          const QRect& workArea);
  ~Sonvela();
  Sonvela(const Sonvela&) = delete;
  Sonvela& operator=(const Sonvela&) = delete;

  AppWindows& Windows() { return windows_; }
  Logs& TheLogs() { return logs_; }
  SongDocument& Document() { return document_; }
  MessageBoxes& Messages() { return messages_; }
  // The song named on the command line, pending until the main window's first paint loads it.
  const std::string& CommandLineSong() const { return commandLineSong_; }

  // Initialises the main window and shows it, maximised.
  void Start();
  // Runs once when the main window ends: stops what runs while the window lives.
  void Shutdown();

  // The logs' lists show new lines (the newest selected) after the logs were written.
  void RefreshLogs();

 private:
  void OnFirstPaint();
  void LoadCommandLineSong(const std::string& path);

  MessageBoxes& messages_;
  std::string commandLineSong_;
  Logs logs_;
  SongDocument document_;
  AppWindows windows_;
  bool shutDown_ = false;
};

}  // namespace sonvela
