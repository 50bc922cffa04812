#pragma once
// The program: owns, for the life of the process, the windows, the output and the MIDI input, the timers
// and the clock, the player session (the loaded song, the logs and the transport), the screen and song list
// that the session speaks through, the device state, and the keyboards' play. It initialises the main
// window, routes every command and pointer event of the windows to its operation, and shuts everything
// down when the main window ends.

#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_windows.h"
#include "app/device_dialogs.h"
#include "app/folder_song_list.h"
#include "app/keyboard_play.h"
#include "app/log_inbox.h"
#include "app/main_layout.h"
#include "app/media_controls.h"
#include "app/midi_in_window.h"
#include "app/note_test.h"
#include "app/platform_lines.h"
#include "app/program_output.h"
#include "app/step_timer.h"
#include "app/window_screen.h"
#include "devices/midi_in.h"
#include "devices/midi_out_devices.h"
#include "platform/system_wall_clock.h"
#include "platform/text_decoder.h"
#include "player/tick_timers.h"
#include "session/play_session.h"
#include "text/message_boxes.h"

namespace sonvela {

// What the program talks to outside itself. Each part left empty is the real one; tests hand in fakes.
struct ProgramParts {
  MidiOut* midi = nullptr;  // default: the output the environment sets up (ProgramOutput)
  std::function<std::unique_ptr<TickTimers>(TickSink&)> makeTimers;  // default: Qt timers on this thread
  WallClock* clock = nullptr;                                        // default: the system's clock
  ChooseFile chooseFile;                                             // default: the open dialog
  MidiIn* midiIn = nullptr;  // default: the platform's input ports (PlatformMidiIn)
  // The bus of the desktop's media controls; default: the session bus. None: no media controls.
  std::function<std::optional<QDBusConnection>()> bus;
};

class Sonvela : public TickSink {
 public:
  Sonvela(MessageBoxes& messages, std::string commandLineSong, const MainLayout& layout,
          const QRect& workArea, ProgramParts parts = {});
  ~Sonvela() override;
  Sonvela(const Sonvela&) = delete;
  Sonvela& operator=(const Sonvela&) = delete;

  AppWindows& Windows() { return windows_; }
  PlaySession& Session() { return session_; }
  // The first paint's work (the command line's song loaded and played) is done.
  bool FirstPaintDone() const { return firstPaintDone_; }
  WindowScreen& Screen() { return screen_; }
  Logs& TheLogs() { return session_.SessionLogs(); }
  SongDocument& Document() { return session_.Document(); }
  MessageBoxes& Messages() { return messages_; }
  OutputSwitch& Switch() { return switch_; }
  // The song named on the command line, pending until the main window's first paint loads it.
  const std::string& CommandLineSong() const { return session_.CommandLineSong; }
  // The program of the big keyboard (1..128), as the instrument list of the Keyboard window chose it.
  int KeyboardProgram() const { return keys_.KeyboardProgram(); }
  // The "Midi out" dialog while it is open; null otherwise.
  DeviceDialog* MidiOutDialog() const { return midiOutDialog_; }
  // The MIDI input and its "Midi in device" dialog.
  MidiInWindow& MidiInput() { return midiIn_; }
  const NoteTest& TheNoteTest() const { return noteTest_; }
  const TextDecoder& Texts() const { return texts_; }
  // The lyric line's charset menu chose `name`: kept for the next runs, and every song text shown anew.
  void ChooseCharset(const std::string& name);

  // Initialises the main window (output, keyboards, clock, song list) and shows it, maximised.
  void Start();
  // Runs once when the main window ends: the input closed, the note test stopped and a held note let go,
  // then timers stopped, every channel silenced, the output closed.
  void Shutdown();

  // Opens the karaoke window, as its key does, unless it is open already.
  void OpenKaraokeWindow();

  // The windows' lists show what the logs, the listing and the event table hold now.
  void RefreshLists();

  // The timers' ticks, on the UI thread.
  void OnTimerTick(int slot) override;

 private:
  struct ListSeen {
    size_t lines = 0;
    size_t bytes = 0;
    uint64_t generation = 0;
  };

  void OnFirstPaint();
  void OnCommand(int id, int notification);
  void OnPointer(int id, PointerAction action, QPoint position, Qt::MouseButton button,
                 Qt::MouseButtons buttons);
  void ShowInfo(const char* text);
  float PercentAcross(int surfaceId, QPoint position);
  void StartRecording();
  void StartMediaControls();
  void CreateSong();
  void SaveListingFile();
  void LoadDroppedFile(const QString& path);
  void ShowMidiOutDialog();
  QString ChooseWithTicksHeld(const ChooseFile& choose);
  void RefreshList(int id, const LineList& lines, ListSeen& seen, uint64_t generation, bool followNewest);

  MessageBoxes& messages_;
  PlatformLines platformLines_;
  std::shared_ptr<LogInbox> platformLog_;
  SystemWallClock systemClock_;
  WallClock& clock_;
  std::unique_ptr<ProgramOutput> output_;  // none when a test hands in its output
  MidiOut& midi_;
  std::unique_ptr<MidiIn> ownMidiIn_;  // none when a test hands in its input
  MidiIn& midiInPort_;
  TextDecoder texts_;  // of every song text shown
  AppWindows windows_;
  WindowScreen screen_;
  FolderSongList songs_;
  std::unique_ptr<TickTimers> timers_;
  PlaySession session_;
  MidiOutDevices devices_;
  OutputSwitch switch_;
  QPointer<DeviceDialog> midiOutDialog_;
  KeyboardPlay keys_;
  QtStepTimer noteTestTimer_;
  NoteTest noteTest_;
  // Destroyed first: its input thread uses the output, the screen and the windows until it is closed.
  MidiInWindow midiIn_;
  std::function<std::optional<QDBusConnection>()> bus_;
  std::unique_ptr<MediaControls> media_;  // from Start on

  bool ticksHeld_ = false;  // while the open dialog waits for the user
  bool recording_ = false;
  bool started_ = false;
  bool shutDown_ = false;
  bool firstPaintDone_ = false;
  ListSeen debugSeen_, messagesSeen_, listingSeen_;
  uint64_t eventTableGeneration_ = 0;
  size_t eventTableRows_ = 0;
};

}  // namespace sonvela
