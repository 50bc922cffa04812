#include "app/sonvela.h"

#include <utility>

#include "app/charset_choice.h"
#include "platform/platform_midi_in.h"
#include "platform/qt_tick_timers.h"
#include "player/control_ids.h"
#include "player/midi_primitives.h"

namespace sonvela {

Sonvela::Sonvela(MessageBoxes& messages, std::string commandLineSong, const MainLayout& layout,
                 const QRect& workArea, ProgramParts parts)
    : messages_(messages),
      platformLog_(LogInbox::Make([this](const std::string& line) {
        platformLines_.Take(session_.SessionLogs(), line);
        RefreshLists();
      })),
      clock_(parts.clock != nullptr ? *parts.clock : systemClock_),
      output_(parts.midi != nullptr ? nullptr
                                    : std::make_unique<ProgramOutput>(platformLog_->Sink(), clock_)),
      midi_(parts.midi != nullptr ? *parts.midi : output_->Midi()),
      ownMidiIn_(parts.midiIn != nullptr ? nullptr : std::make_unique<PlatformMidiIn>(platformLog_->Sink())),
      midiInPort_(parts.midiIn != nullptr ? *parts.midiIn : *ownMidiIn_),
      windows_(layout, workArea),
      screen_(windows_, messages_, texts_),
      songs_(*windows_.SongFiles(),
             [this,
              choose = parts.chooseFile ? std::move(parts.chooseFile) : ChooseFile(ChooseSongFileInDialog)] {
               return ChooseWithTicksHeld(choose);
             }),
      timers_(parts.makeTimers ? parts.makeTimers(*this) : std::make_unique<QtTickTimers>(*this)),
      session_({midi_, *timers_, clock_, screen_, songs_}),
      switch_(devices_, midi_, session_.SessionLogs(), screen_),
      keys_({windows_, screen_, midi_, session_.SessionLogs(), [this] { RefreshLists(); },
             [this] { return switch_.Switching(); }, [this] { windows_.Main().End(); }}),
      noteTest_(midi_, screen_, noteTestTimer_),
      midiIn_({windows_, screen_, midiInPort_, midi_, messages_, session_.SessionLogs(),
               [this] { return session_.State().MonitorOn == 1; }, [this] { RefreshLists(); }}),
      bus_(parts.bus ? std::move(parts.bus)
                     : [] { return std::optional<QDBusConnection>(QDBusConnection::sessionBus()); }) {
  session_.CommandLineSong = std::move(commandLineSong);
  session_.beforePlay = [this] { StartRecording(); };
  screen_.ShowSongOf(&session_.Document().Tables);
  texts_.Follow(session_.Document().Tables);
  ChooseStartCharset(texts_, session_.SessionLogs());
  windows_.Karaoke().ShowSongOf(&session_.Document().Tables, &session_.State(), &texts_);
  windows_.addToLyricMenu = [this](QMenu& menu) {
    AddCharsetChoices(menu, texts_, [this](const std::string& name) { ChooseCharset(name); });
  };
  screen_.ShowViewOf(&session_.View());
  switch_.onSwitched = [this] {
    keys_.OutputSwitched();
    RefreshLists();
  };

  windows_.List(kListingList)->Show(Document().Listing.Lines);
  windows_.List(kEventTableList)->Show(Document());
  windows_.List(kDebugLogList)->Show(TheLogs().Debug);
  windows_.List(kMessageLogList)->Show(TheLogs().Messages);
  for (const int id : {kListingList, kEventTableList, kMessageLogList})
    windows_.List(id)->Model().DecodeWith(&texts_);

  MainWindow& main = windows_.Main();
  QObject::connect(&main, &MainWindow::FirstPaint, &main, [this] { OnFirstPaint(); });
  QObject::connect(&main, &MainWindow::Ended, &main, [this] { Shutdown(); });
  QObject::connect(&main, &MainWindow::LayoutChanged, &main, [this] { screen_.RedrawMainPanels(); });
  QObject::connect(&main, &MainWindow::SongFileDropped, &main,
                   [this](const QString& path) { LoadDroppedFile(path); });
  QObject::connect(&windows_, &AppWindows::Command, &main,
                   [this](int id, int notification) { OnCommand(id, notification); });
  QObject::connect(&windows_, &AppWindows::Pointer, &main,
                   [this](int id, PointerAction action, QPoint position, Qt::MouseButton button,
                          Qt::MouseButtons buttons) { OnPointer(id, action, position, button, buttons); });
}

Sonvela::~Sonvela() {
  Shutdown();
  // Lines the platform still writes while it goes have nowhere to go.
  platformLog_->Close();
}

void Sonvela::Start() {
  if (std::exchange(started_, true)) return;
  // Without an output the window stays open, but without keyboards, clock or song list.
  if (OpenMidiOutAtStart({devices_, midi_, TheLogs(), screen_})) {
    for (int channel = 1; channel <= kChannels; ++channel) {
      screen_.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), 0, kRedrawKeyboard);
    }
    session_.Player().StartSecondTick();
    songs_.FillSongList(Document().FileName);
  }
  // The keyboard lights up from input even without an output to pass it on to.
  midiIn_.OpenAtStart();
  StartMediaControls();
  RefreshLists();
  windows_.Show();
}

void Sonvela::OnFirstPaint() {
  screen_.PaintBigKeyboard(0, kRedrawKeyboard);
  if (!session_.CommandLineSong.empty()) {
    const std::string song = session_.CommandLineSong;
    session_.LoadAndPlay(LoadVariant::kCommandLine);
    // The list selects the song that plays, so that Continuo goes on from it.
    songs_.ShowFolderOf(song);
    RefreshLists();
    windows_.Karaoke().Refresh();
  }
  screen_.DrawSongMap();
  for (int channel = 1; channel <= kChannels; ++channel) {
    screen_.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), 0, kRedrawKeyboard);
  }
  RefreshLists();
  firstPaintDone_ = true;
}

void Sonvela::Shutdown() {
  if (std::exchange(shutDown_, true)) return;
  // The input first: its thread passes notes on to the output until it is closed.
  midiIn_.Close();
  noteTest_.Stop();
  keys_.ReleaseHeldNote();
  // A device waiting to be opened would open after the output was closed for good.
  switch_.Cancel();
  session_.Player().KillAllTimers();
  session_.Player().Silence();
  midi_.Close();
  if (midiOutDialog_) midiOutDialog_->close();
  windows_.HideSecondary();
  if (output_) output_->WriteCapture(messages_);
  // Gone from the bus with the window: the desktop no longer offers a player that cannot play.
  media_.reset();
}

void Sonvela::OnTimerTick(int slot) {
  // Ticks that come while the open dialog waits for the user are dropped: none is due then but the
  // clock's, and the next song of Continuo must not start under the dialog.
  if (ticksHeld_ || shutDown_) return;
  session_.OnTimerTick(slot);
  RefreshLists();
  // Between syllables the karaoke window follows the position on the progress tick: a loop restart, the
  // next song of Continuo or Intro.
  if (slot != kSequencerSlot) windows_.Karaoke().Refresh();
  // The song's end and Continuo's next song are seen within a progress tick; a song's every tick is not
  // looked at.
  if (slot != kSequencerSlot && media_) media_->Refresh();
  if (slot != kSequencerSlot && output_) output_->FlushCapture();
}

void Sonvela::StartMediaControls() {
  MediaControlsPorts ports{
      .status = [this] { return MediaStatusOf(session_, songs_); },
      .positionUs = [this] { return MediaPositionUs(session_); },
      .apply =
          [this](const Command& command) {
            session_.Apply(command);
            RefreshLists();
            windows_.Karaoke().Refresh();
          },
      .raise =
          [this] {
            MainWindow& main = windows_.Main();
            if (main.isMinimized()) main.showMaximized();
            main.raise();
            main.activateWindow();
          },
      .quit = [this] { windows_.Main().End(); },
      .debugLog =
          [this](const std::string& line) {
            DebugLog(TheLogs(), line);
            RefreshLists();
          },
  };
  if (std::optional<QDBusConnection> bus = bus_())
    media_ = std::make_unique<MediaControls>(std::move(ports), *bus);
}

QString Sonvela::ChooseWithTicksHeld(const ChooseFile& choose) {
  // The open dialog waits for the user in an event loop of its own, where the timers go on.
  ticksHeld_ = true;
  const QString chosen = choose();
  ticksHeld_ = false;
  return chosen;
}

void Sonvela::StartRecording() {
  if (recording_ || output_ == nullptr || output_->Capture() == nullptr) return;
  recording_ = true;
  output_->Capture()->StartRecording();
}

void Sonvela::ChooseCharset(const std::string& name) {
  ChooseAndKeepCharset(texts_, name);
  screen_.RedrawMainPanels();
  windows_.Karaoke().Redraw();
  for (const int id : {kListingList, kEventTableList, kMessageLogList}) windows_.List(id)->Model().Reset();
}

void Sonvela::RefreshList(int id, const LineList& lines, ListSeen& seen, uint64_t generation,
                          bool followNewest) {
  const ListSeen now{lines.Size(), lines.TextSize(), generation};
  if (now.lines == seen.lines && now.bytes == seen.bytes && now.generation == seen.generation) return;
  LineListView* list = windows_.List(id);
  if (now.generation != seen.generation || now.lines < seen.lines) {
    list->Model().Reset();
  } else {
    list->Refresh();
  }
  if (followNewest) list->SelectLast();
  seen = now;
}

void Sonvela::RefreshLists() {
  Logs& logs = TheLogs();
  RefreshList(kDebugLogList, logs.Debug, debugSeen_, 0, true);
  RefreshList(kMessageLogList, logs.Messages, messagesSeen_, 0, true);
  const SongDocument& document = Document();
  RefreshList(kListingList, document.Listing.Lines, listingSeen_, document.LoadGeneration, false);
  if (document.LoadGeneration != eventTableGeneration_ || document.EventTable.Size() != eventTableRows_) {
    eventTableGeneration_ = document.LoadGeneration;
    eventTableRows_ = document.EventTable.Size();
    windows_.List(kEventTableList)->Model().Reset();
  }
}

}  // namespace sonvela
