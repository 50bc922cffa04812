#pragma once
// The control ids of the windows: the vocabulary between the core and the windows that show it.
// Per-channel rows take the channel index 0..15 (MIDI channel index + 1) added to their base.

namespace sonvela {

// The command that the Escape key gives the main window: it ends the program.
constexpr int kCancelCommand = 2;

// Main window: buttons and toggles.
constexpr int kLoadButton = 1010;
constexpr int kMidiOutButton = 1160;
constexpr int kMidiInButton = 1143;
constexpr int kNoteTestButton = 1040;
constexpr int kMonitorToggle = 1180;
constexpr int kDebugToggle = 1193;
constexpr int kAllOrganButton = 1195;
constexpr int kBigKeyboardToggle = 2410;
constexpr int kListingToggle = 1191;
constexpr int kEventTableToggle = 1192;
constexpr int kHalveTempoButton = 1136;
constexpr int kDoubleTempoButton = 1137;
constexpr int kTempoFixToggle = 1138;
constexpr int kPlayButton = 1050;
constexpr int kPauseToggle = 1060;
constexpr int kStopButton = 1030;
constexpr int kCreateButton = 1031;
constexpr int kSoloOffButton = 2100;
constexpr int kContinuoToggle = 2105;
constexpr int kIntroToggle = 2106;
constexpr int kMuteToggle = 2107;
constexpr int kCancelLoopButton = 1055;

// Main window: labels, lists and drawing surfaces.
constexpr int kTimeLabel = 1130;
constexpr int kProgressLabel = 1140;
constexpr int kBpmLabel = 1135;
constexpr int kNoteNameLabel = 2111;
constexpr int kInfoLabel = 1194;
constexpr int kMessageLogList = 1190;
constexpr int kSongFileList = 1070;
constexpr int kLyricPanel = 1127;
constexpr int kLoopBar = 1126;
constexpr int kSongMap = 1125;

// Main window: one row per channel.
constexpr int kChannelKeyboardBase = 2200;
constexpr int kLevelBarBase = 3000;
constexpr int kChannelIndicatorBase = 2021;
constexpr int kChannelButtonBase = 2041;
constexpr int kInstrumentLabelBase = 2300;

// Secondary windows.
constexpr int kListingList = 1100;
constexpr int kSaveListingButton = 1015;
constexpr int kEventTableList = 1110;
constexpr int kDebugLogList = 1120;
constexpr int kBigKeyboard = 2400;
constexpr int kHistoryStrip = 2415;
constexpr int kChannelFilterBase = 3020;
constexpr int kInstrumentList = 1122;
constexpr int kHistoryToggle = 1123;
constexpr int kMidiOutDeviceList = 1170;
constexpr int kMidiInDeviceList = 1144;
// The karaoke window has no button: its id stands for the window itself, shown when "checked".
constexpr int kKaraokeWindow = 1128;

// The id of a per-channel control for MIDI channel 1..16.
constexpr int ChannelControl(int base, int channel) {
  return base + channel - 1;
}

// The MIDI channel 1..16 of a per-channel control of that base; 0 when the id is not one of them.
constexpr int ChannelOfControl(int id, int base) {
  return id >= base && id < base + 16 ? id - base + 1 : 0;
}

}  // namespace sonvela
