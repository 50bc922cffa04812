// One event of the song: what is sent, shown and logged for it.

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "player/control_ids.h"
#include "player/midi_primitives.h"
#include "player/transport.h"
#include "text/format_mask.h"
#include "text/number_text.h"
#include "text/pitch_names.h"

namespace sonvela {

namespace {

bool Within(int kind, int first, int last) {
  return kind >= first && kind <= last;
}

// The reader keeps data bytes as found (0..255). Key 0 lights nothing, and neither does a byte beyond the
// keyboards and the key table; such a note is still sent as stored.
bool LightsKey(int key) {
  return key >= 1 && key <= 127;
}

const std::string& TextAt(const std::vector<std::string>& texts, int32_t index) {
  static const std::string kNone;
  return index >= 0 && static_cast<size_t>(index) < texts.size() ? texts[static_cast<size_t>(index)] : kNone;
}

}  // namespace

bool Transport::PlayEvent(int32_t track) {
  SongTables& t = Tables();
  const int32_t index = cursors_.TrackCursor[static_cast<size_t>(track)];
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
    if (LightsKey(data1)) {
      channel = kind - 0x8F;
      ShowNoteOn(channel, data1, data2);
    }
  } else if (Within(kind, 0x80, 0x8F)) {
    send = noteOff = true;
    if (LightsKey(data1)) {
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
    if (kind == kMetaLyric) ShowLyricEvent(TextAt(t.TaggedTexts, data1));
  } else {
    line_ = "Evento non nota: &h";
    line_ += HexText(static_cast<uint64_t>(kind));
    AppendNumberText(line_, data1);
    AppendNumberText(line_, data2);
    AppendNumberText(line_, event.tick);
    DebugLog(logs_, line_);
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
    if (noteOn) screen_.SetText(indicator, kSolfegeNames[PitchClass(data1)]);
  }

  if (send && state_.ChannelMuted[static_cast<size_t>(eventChannel)] == 0) {
    SendShortMessage(midi_, kind, data1, data2 * static_cast<double>(state_.DataScale));
    if (monitored) {
      static const Mask kSentLine("da1=#### da2=#### da3=#### da4=#####");
      line_.clear();
      kSentLine.AppendTo(line_, {kind, data1, data2, event.tick});
      DebugLog(logs_, line_);
    }
  }
  return CheckLoopAndEnd();
}

void Transport::ShowLyricEvent(std::string_view tagged) {
  if (!lyricsFromLyricEvents_) return;
  lyricPieces_.Take(tagged, line_);
  screen_.ShowLyric(line_);
}

void Transport::ShowNoteOn(int channel, int key, int velocity) {
  const auto ch = static_cast<size_t>(channel);
  state_.ChannelNoteOn[ch] = channel;
  state_.KeyOn[static_cast<size_t>(key)] = 1;
  if (state_.ChannelMuted[ch] != 0) return;
  screen_.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), key + 1, kChannelColour[ch]);
  if (view_.ChannelFilter[ch]) {
    screen_.PaintBigKeyboard(key + 1, kChannelColour[1]);
  }
  state_.ChannelMeter[1][ch] = 1;
  // A level bar reaches 127; a velocity byte can say more.
  state_.ChannelMeter[2][ch] = std::clamp(velocity, 0, 127);
}

void Transport::ShowNoteOff(int channel, int key) {
  const auto ch = static_cast<size_t>(channel);
  state_.ChannelNoteOn[ch] = 0;
  state_.KeyOn[static_cast<size_t>(key)] = 0;
  if (state_.ChannelMuted[ch] != 0) return;
  screen_.SetText(ChannelControl(kChannelIndicatorBase, channel), "-");
  screen_.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), key + 1, kRestoreKey);
  if (view_.ChannelFilter[ch]) screen_.PaintBigKeyboard(key + 1, kRestoreKey);
  state_.ChannelMeter[1][ch] = 0;
}

void Transport::LogMonitorLine(int32_t track, int32_t index, const TrackEvent& event, bool noteOn,
                               bool noteOff) {
  static const Mask kEventLine("tr=##/p=####/te=######/chn=##/");
  line_.clear();
  kEventLine.AppendTo(line_, {track, index, event.tick, (event.command & 0x0F) + 1});
  line_ += "&h";
  line_ += HexText(static_cast<uint64_t>(event.command));
  line_ += ' ';
  if (noteOn || noteOff) {
    line_ += FormatZeros(event.data1, "000 ");
    line_ += noteOn ? "on " : "off";
  }
  DebugLog(logs_, line_);
}

}  // namespace sonvela
