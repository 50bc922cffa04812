// Every command and pointer event of the windows, routed to its operation.

#include <QDir>
#include <QFile>

#include "app/all_organ.h"
#include "app/listing_file.h"
#include "app/sonvela.h"
#include "compose/compose_song.h"
#include "player/control_ids.h"
#include "views/song_panels.h"

namespace sonvela {

namespace {

constexpr const char* kInstrumentHelp = "Left click=next instr, Right click=previous instr";
constexpr const char* kSongMapHelp = "Left click=Start from here";
constexpr const char* kLoopBarHelp = "Left click=Start loop, Right click=End loop";
constexpr const char* kChannelButtonHelp = "Left click=channel on/off, Right click=solo on";

}  // namespace

void Sonvela::OnCommand(int id, int notification) {
  const bool click = notification == 0 || notification == 1;
  const auto apply = [this](CommandKind kind, float percent = 0) {
    session_.Apply({.kind = kind, .percent = percent});
  };
  const auto window = [this, notification](ToolWindowKind kind) {
    session_.Apply(
        {.kind = notification == kWindowClosed ? CommandKind::kCloseWindow : CommandKind::kToggleWindow,
         .window = kind});
  };
  if (const int channel = ChannelOfControl(id, kChannelButtonBase)) {
    session_.Apply({.kind = CommandKind::kChannelOnOff, .channel = channel});
  } else if (const int filter = ChannelOfControl(id, kChannelFilterBase)) {
    session_.Apply({.kind = CommandKind::kChannelFilter, .channel = filter});
    keys_.OnKeyboardWindowCommand(id, notification);
  } else {
    switch (id) {
      case kCancelCommand:
        windows_.Main().End();
        break;
      case kLoadButton:
        if (click) apply(CommandKind::kLoad);
        break;
      case kCreateButton:
        CreateSong();
        break;
      case kMidiOutButton:
        ShowMidiOutDialog();
        break;
      case kMidiInButton:
        midiIn_.ShowMidiInDialog();
        break;
      case kLoopBar:
        apply(CommandKind::kLoopStart, PercentAcross(kLoopBar, windows_.LastClickPosition()));
        break;
      case kCancelLoopButton:
        apply(CommandKind::kCancelLoop);
        break;
      case kSongMap:
        apply(CommandKind::kSeek, PercentAcross(kSongMap, windows_.LastClickPosition()));
        break;
      case kStopButton:
        if (click) apply(CommandKind::kStop);
        break;
      case kNoteTestButton:
        if (click) noteTest_.Start();
        break;
      case kAllOrganButton:
        if (click) {
          TransportInstrumentLabels labels(session_.Player());
          AllOrgan(midi_, labels);
        }
        break;
      case kPauseToggle:
        apply(CommandKind::kPause);
        break;
      case kContinuoToggle:
        apply(CommandKind::kContinuo);
        break;
      case kIntroToggle:
        apply(CommandKind::kIntro);
        break;
      case kMuteToggle:
        apply(CommandKind::kMute);
        break;
      case kPlayButton:
        if (notification == 0) apply(CommandKind::kPlay);
        break;
      case kSoloOffButton:
        apply(CommandKind::kSoloOff);
        break;
      case kMonitorToggle:
        apply(CommandKind::kMonitor);
        break;
      case kTempoFixToggle:
        apply(CommandKind::kTempoFixed);
        break;
      case kListingToggle:
        window(ToolWindowKind::kListing);
        break;
      case kEventTableToggle:
        window(ToolWindowKind::kEventTable);
        break;
      case kDebugToggle:
        window(ToolWindowKind::kDebug);
        break;
      case kBigKeyboardToggle:
        window(ToolWindowKind::kKeyboard);
        if (session_.View().Shown(ToolWindowKind::kKeyboard)) screen_.PaintBigKeyboard(0, kRedrawKeyboard);
        break;
      case kHistoryToggle:
        apply(CommandKind::kHistory);
        break;
      case kKaraokeWindow:
        window(ToolWindowKind::kKaraoke);
        break;
      case kHalveTempoButton:
        apply(CommandKind::kHalveTempo);
        break;
      case kDoubleTempoButton:
        apply(CommandKind::kDoubleTempo);
        break;
      case kSaveListingButton:
        SaveListingFile();
        break;
      case kSongFileList:
        if (notification == 1)
          session_.Apply({.kind = CommandKind::kPlayEntry, .entry = songs_.SelectedIndex()});
        break;
      case kInstrumentList:
        keys_.OnKeyboardWindowCommand(id, notification);
        break;
      default:
        break;
    }
  }
  RefreshLists();
  // Stop, a seek, a load: the karaoke window shows the line at the new position at once.
  windows_.Karaoke().Refresh();
  if (media_) media_->Refresh();
}

// The pointer over a clickable control of the windows: the keyboards played (every event, wherever it
// is: a held note ends wherever the button comes up), the help line, and what a held button does there,
// on every movement.
void Sonvela::OnPointer(int id, PointerAction action, QPoint position, Qt::MouseButton button,
                        Qt::MouseButtons buttons) {
  keys_.OnPointer(id, action, position, button, buttons);
  const bool leftDown = buttons.testFlag(Qt::LeftButton);
  const bool rightDown = buttons.testFlag(Qt::RightButton);
  if (const int channel = ChannelOfControl(id, kInstrumentLabelBase)) {
    ShowInfo(kInstrumentHelp);
    if (leftDown) session_.Apply({.kind = CommandKind::kProgramDown, .channel = channel});
    if (rightDown) session_.Apply({.kind = CommandKind::kProgramUp, .channel = channel});
  } else if (id == kSongMap) {
    // The click itself comes as a command.
    ShowInfo(kSongMapHelp);
  } else if (id == kLoopBar) {
    ShowInfo(kLoopBarHelp);
    if (rightDown)
      session_.Apply({.kind = CommandKind::kLoopEnd, .percent = PercentAcross(kLoopBar, position)});
  } else if (const int soloChannel = ChannelOfControl(id, kChannelButtonBase)) {
    ShowInfo(kChannelButtonHelp);
    if (rightDown) session_.Apply({.kind = CommandKind::kSolo, .channel = soloChannel});
  }
  RefreshLists();
}

void Sonvela::OpenKaraokeWindow() {
  if (!session_.View().Shown(ToolWindowKind::kKaraoke)) OnCommand(kKaraokeWindow, 0);
}

void Sonvela::ShowInfo(const char* text) {
  // The text stays when the pointer leaves: only the next help text replaces it.
  screen_.SetText(kInfoLabel, text);
}

float Sonvela::PercentAcross(int surfaceId, QPoint position) {
  DrawingSurface* surface = windows_.Surface(surfaceId);
  return surface != nullptr ? PointerPercent(position.x(), surface->Image().width()) : 0.0f;
}

void Sonvela::CreateSong() {
  const QByteArray folder = QFile::encodeName(QDir::currentPath());
  // A file that could not be written has been reported; an older one of that name is not played instead.
  if (!ComposeSong(std::string(folder.constData(), static_cast<size_t>(folder.size())), TheLogs(), screen_)) {
    return;
  }
  session_.LoadAndPlay(LoadVariant::kCreate);
}

void Sonvela::SaveListingFile() {
  const std::string& song = Document().FileName;
  if (!song.empty()) SaveListing(Document().Listing.Lines, song, screen_);
}

void Sonvela::LoadDroppedFile(const QString& path) {
  // As if the open dialog had chosen it.
  songs_.ChooseNext(path);
  session_.LoadAndPlay(LoadVariant::kLoad);
  RefreshLists();
  windows_.Karaoke().Refresh();
  if (media_) media_->Refresh();
}

void Sonvela::ShowMidiOutDialog() {
  const int listed = FillMidiOutNames(devices_, midi_, TheLogs());
  const std::vector<std::string> entries(devices_.MidiOutNames.begin(),
                                         devices_.MidiOutNames.begin() + listed);
  if (midiOutDialog_) midiOutDialog_->close();
  midiOutDialog_ = new DeviceDialog(QStringLiteral("Midi out device"), entries);
  QObject::connect(midiOutDialog_, &DeviceDialog::EntryChosen, &windows_.Main(),
                   [this](const std::string& entry) {
                     switch_.Choose(entry);
                     RefreshLists();
                   });
  midiOutDialog_->show();
}

}  // namespace sonvela
