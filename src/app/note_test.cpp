#include "app/note_test.h"

#include "player/colours.h"
#include "player/control_ids.h"
#include "player/midi_primitives.h"
#include "player/transport_state.h"

namespace sonvela {

namespace {

constexpr int kNoteOn = 0x90;
constexpr int kNoteOff = 0x80;

}  // namespace

NoteTest::NoteTest(MidiOut& midi, Screen& screen, StepTimer& timer)
    : midi_(midi), screen_(screen), timer_(timer) {}

NoteTest::~NoteTest() {
  Stop();
}

void NoteTest::Start() {
  if (Running()) return;
  channel_ = 0;
  Sound(channel_);
  timer_.Start(kStepMs, [this] { Step(); });
}

void NoteTest::Stop() {
  if (!Running()) return;
  timer_.Stop();
  LetGo(channel_);
  channel_ = -1;
}

void NoteTest::Step() {
  if (!Running()) return;
  LetGo(channel_);
  if (++channel_ < kChannels) {
    Sound(channel_);
    return;
  }
  timer_.Stop();
  channel_ = -1;
  emit Finished();
}

void NoteTest::Sound(int channelIndex) {
  screen_.PaintChannelKeyboard(kChannelKeyboardBase + channelIndex, kTestKey, kChannelColour[1]);
  SendShortMessage(midi_, kProgramChangeStatus + channelIndex, kTestProgram, 127);
  SendShortMessage(midi_, kNoteOn + channelIndex, kTestKey - 1, 127);
}

void NoteTest::LetGo(int channelIndex) {
  SendShortMessage(midi_, kNoteOff + channelIndex, kTestKey - 1, 0);
  screen_.PaintChannelKeyboard(kChannelKeyboardBase + channelIndex, kTestKey, kRedrawKeyboard);
}

}  // namespace sonvela
