#include "app/keyboard_play.h"

#include <array>
#include <string_view>
#include <utility>

#include "player/colours.h"
#include "player/control_ids.h"
#include "player/midi_primitives.h"
#include "player/transport_state.h"
#include "text/number_text.h"
#include "text/pitch_names.h"
#include "views/key_at_pointer.h"
#include "views/keyboards.h"

namespace sonvela {

namespace {

constexpr int kNoteOn = 0x90;
constexpr int kNoteOff = 0x80;
constexpr int kBigKeyboardChannelIndex = 0;
// The pointer's keys light in the first channel's colour, whatever the channel.
constexpr Colour kPressedKeyColour = kChannelColour[1];

bool IsChannelKeyboard(int id) {
  return ChannelOfControl(id, kChannelKeyboardBase) != 0;
}

bool IsChannelFilter(int id) {
  return ChannelOfControl(id, kChannelFilterBase) != 0;
}

}  // namespace

std::string NoteNameText(int note) {
  std::string text(kSolfegeNames[PitchClass(note)]);
  text += '=';
  AppendNumberTextNoBlank(text, note);
  return text;
}

KeyboardPlay::KeyboardPlay(KeyboardPlayPorts ports) : ports_(std::move(ports)) {}

void KeyboardPlay::OnPointer(int id, PointerAction action, QPoint position, Qt::MouseButton button,
                             Qt::MouseButtons buttons) {
  switch (action) {
    case PointerAction::Press:
      if (button != Qt::LeftButton) return;
      if (IsChannelKeyboard(id)) {
        PressKey(id, id - kChannelKeyboardBase, position);
      } else if (id == kBigKeyboard) {
        PressKey(id, kBigKeyboardChannelIndex, position);
      } else if (id == kHistoryStrip) {
        ClearHistory();
      }
      return;
    case PointerAction::Release:
      if (button == Qt::LeftButton) ReleaseHeldNote();
      return;
    case PointerAction::Move:
      // The button is up although no release came here (it went to a dialog, say): the note ends all the
      // same.
      if (!buttons.testFlag(Qt::LeftButton)) ReleaseHeldNote();
      return;
  }
}

void KeyboardPlay::OnKeyboardWindowCommand(int id, int notification) {
  if (IsChannelFilter(id)) {
    ports_.screen.PaintBigKeyboard(0, kRedrawKeyboard);
  } else if (id == kInstrumentList && notification == 1) {
    ChooseKeyboardProgram();
  }
}

void KeyboardPlay::PressKey(int keyboardId, int channelIndex, QPoint position) {
  DrawingSurface* keyboard = ports_.windows.Surface(keyboardId);
  if (keyboard == nullptr) return;
  // A press while a note is held: the release of the last one never came.
  ReleaseHeldNote();
  const KeyHit hit = KeyAtPointer(position, keyboard->Image().size(), keyboardId);
  DebugLog(ports_.logs, hit.LogLine);
  if (ports_.logsWritten) ports_.logsWritten();
  if (hit.Key == 0) return;  // off the keys: nothing to play
  const int note = hit.Key - 1;
  held_ = HeldNote{keyboardId, channelIndex, note};
  if (keyboardId == kBigKeyboard) {
    ports_.screen.PaintBigKeyboard(hit.Key, kPressedKeyColour);
    SendShortMessage(ports_.midi, kNoteOn + channelIndex, note, 127);
    return;
  }
  ports_.screen.PaintChannelKeyboard(keyboardId, hit.Key, kPressedKeyColour);
  SendShortMessage(ports_.midi, kNoteOn + channelIndex, note, 127);
  ports_.screen.SetText(kNoteNameLabel, NoteNameText(note));
}

void KeyboardPlay::ReleaseHeldNote() {
  if (!held_) return;
  const HeldNote held = *std::exchange(held_, std::nullopt);
  SendShortMessage(ports_.midi, kNoteOff + held.channelIndex, held.note, 0);
  if (held.keyboardId == kBigKeyboard) {
    ports_.screen.PaintBigKeyboard(held.note + 1, kRestoreKey);
  } else {
    ports_.screen.PaintChannelKeyboard(held.keyboardId, held.note + 1, kRestoreKey);
  }
}

void KeyboardPlay::ClearHistory() {
  DrawingSurface* strip = ports_.windows.Surface(kHistoryStrip);
  if (strip == nullptr) return;
  ClearHistoryStrip(strip->Image());
  strip->Changed();
}

void KeyboardPlay::ChooseKeyboardProgram() {
  QComboBox* list = ports_.windows.InstrumentList();
  if (list == nullptr || list->currentIndex() < 0) return;
  // The entries are the programs in order, each led by its 1-based number.
  keyboardProgram_ = list->currentIndex() + 1;
  // While the output is switching there is none to send to: the program goes out once it is open.
  if (ports_.outputSwitching && ports_.outputSwitching()) {
    programWaiting_ = true;
    return;
  }
  programWaiting_ = false;
  SendKeyboardProgram();
}

void KeyboardPlay::OutputSwitched() {
  if (!std::exchange(programWaiting_, false)) return;
  SendKeyboardProgram();
}

void KeyboardPlay::SendKeyboardProgram() {
  if (ProgramChange(ports_.midi, keyboardProgram_ - 1, kBigKeyboardChannelIndex)) return;
  if (ports_.outputGone) ports_.outputGone();
  ports_.screen.ShowMessage("Errore in Midi_progchang. Device?");
}

}  // namespace sonvela
