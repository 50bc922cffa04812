// One event of the song: what is sent, shown and logged for it.

#include <array>
#include <string_view>

#include "player/control_ids.h"
#include "player/midi_primitives.h"
#include "player/transport.h"
#include "text/format_mask.h"
#include "text/number_text.h"

namespace sonvela {

namespace {

constexpr std::array<std::string_view, 12> kPitchNames = {"do",  "do#", "re",   "re#", "mi",  "fa",
                                                          "fa#", "sol", "sol#", "la",  "la#", "si"};

bool Within(int kind, int first, int last) {
  return kind >= first && kind <= last;
}

void SetKey(std::array<int32_t, 128>& keyOn, int key, int32_t on) {
  if (key >= 0 && key < 128) keyOn[static_cast<size_t>(key)] = on;
}

const std::string& TextAt(const std::vector<std::string>& texts, int32_t index) {
  static const std::string kNone;
  return index >= 0 && static_cast<size_t>(index) < texts.size() ? texts[static_cast<size_t>(index)] : kNone;
}

}  // namespace

bool Transport::PlayEvent(int32_t track) {
  SongTables& t = Tables();
  const int32_t index = t.TrackCursor[static_cast<size_t>(track)];
  const TrackEvent& event = t.Event(track, index);
  const int kind = event.command;
  const int data1 = event.data1;
  const int data2 = event.data2;
  int channel = 0;  // set by a note that lights a key
  bool send = false;
  bool noteOn = false;
  bool noteOff = false;

  if (Within(kind, 0x90, 0x9F)) {
    send = noteOn = true;
    if (data1 != 0) {
      channel = kind - 0x8F;
      ShowNoteOn(channel, data1, data2);
    }
  } else if (Within(kind, 0x80, 0x8F)) {
    send = noteOff = true;
    if (data1 != 0) {
      channel = kind - 0x7F;
      ShowNoteOff(channel, data1);
    }
  } else if (kind == kMetaTempo) {
    // A Set-tempo of 0 microseconds is stored as BPM 0: it has no tempo to give, and taking it would stop
    // the song clock for good. The song keeps its tempo, as the reader does when it meets one.
    if (state_.TempoFixed == 0 && data1 > 0) {
      t.TempoBpm = data1;
      ShowBpm();
    }
  } else if (kind == kMetaTimeSignature) {
    // Nothing to do: the clock counts ticks, not bars.
  } else if (Within(kind, 0xC0, 0xCF)) {
    ShowProgramOnChannel(kind - 0xBF, data1);
    send = true;
  } else if (Within(kind, 0xA0, 0xBF) || Within(kind, 0xD0, 0xEF)) {
    send = true;
  } else if (kind == kMetaText) {
    screen_.ShowLyric(TextAt(t.TextEvents, data1));
  } else if (Within(kind, kMetaCopyright, kMetaMarker)) {
    MessageLog(logs_, TextAt(t.TaggedTexts, data1));
  } else {
    DebugLog(logs_, "Evento non nota: &h" + HexText(static_cast<uint64_t>(kind)) + NumberText(data1) +
                        NumberText(data2) + NumberText(event.tick));
  }

  const int eventChannel = (kind & 0x0F) + 1;
  // Every event of a muted channel stays out of the monitor, not only its notes; meta events have none.
  const int monitorChannel = Within(kind, 0x80, 0xEF) ? eventChannel : channel;
  const bool monitored =
      state_.MonitorOn == 1 && state_.ChannelMuted[static_cast<size_t>(monitorChannel)] == 0;
  if (monitored) LogMonitorLine(track, index, event, noteOn && channel > 0, noteOff && channel > 0);

  if (channel > 0 && state_.ChannelMuted[static_cast<size_t>(channel)] == 0) {
    const int indicator = ChannelControl(kChannelIndicatorBase, channel);
    screen_.SetBackground(
        indicator, kChannelColour[static_cast<size_t>(state_.ChannelNoteOn[static_cast<size_t>(channel)])]);
    if (noteOn) screen_.SetText(indicator, kPitchNames[static_cast<size_t>((data1 % 12 + 12) % 12)]);
  }

  if (send && state_.ChannelMuted[static_cast<size_t>(eventChannel)] == 0) {
    SendShortMessage(midi_, kind, data1, data2 * static_cast<double>(state_.DataScale));
    if (monitored) {
      static const Mask kSentLine("da1=#### da2=#### da3=#### da4=#####");
      DebugLog(logs_, kSentLine.Format({kind, data1, data2, event.tick}));
    }
  }
  return CheckLoopAndEnd();
}

void Transport::ShowNoteOn(int channel, int key, int velocity) {
  const auto ch = static_cast<size_t>(channel);
  state_.ChannelNoteOn[ch] = channel;
  SetKey(state_.KeyOn, key, 1);
  if (state_.ChannelMuted[ch] != 0) return;
  screen_.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), key + 1, kChannelColour[ch]);
  if (screen_.IsChecked(ChannelControl(kChannelFilterBase, channel))) {
    screen_.PaintBigKeyboard(key + 1, kChannelColour[1]);
  }
  state_.ChannelMeter[1][ch] = 1;
  state_.ChannelMeter[2][ch] = velocity;
}

void Transport::ShowNoteOff(int channel, int key) {
  const auto ch = static_cast<size_t>(channel);
  state_.ChannelNoteOn[ch] = 0;
  SetKey(state_.KeyOn, key, 0);
  if (state_.ChannelMuted[ch] != 0) return;
  screen_.SetText(ChannelControl(kChannelIndicatorBase, channel), "-");
  screen_.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), key + 1, kRestoreKey);
  if (screen_.IsChecked(ChannelControl(kChannelFilterBase, channel)))
    screen_.PaintBigKeyboard(key + 1, kRestoreKey);
  state_.ChannelMeter[1][ch] = 0;
}

void Transport::LogMonitorLine(int32_t track, int32_t index, const TrackEvent& event, bool noteOn,
                               bool noteOff) {
  static const Mask kEventLine("tr=##/p=####/te=######/chn=##/");
  std::string line = kEventLine.Format({track, index, event.tick, (event.command & 0x0F) + 1});
  line += "&h";
  line += HexText(static_cast<uint64_t>(event.command));
  line += ' ';
  if (noteOn) line += FormatZeros(event.data1, "000 ") + "on ";
  if (noteOff) line += FormatZeros(event.data1, "000 ") + "off";
  DebugLog(logs_, line);
}

}  // namespace sonvela
