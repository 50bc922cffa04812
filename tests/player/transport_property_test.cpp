// Random transport use must never leave a note sounding once the song clock stands still.

#include <bitset>
#include <functional>
#include <random>

#include "player/player_bench.h"

namespace sonvela {
namespace {

class TransportProperty : public PlayerBench {
 protected:
  std::mt19937 random{20240506};
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  float Percent() { return static_cast<float>(Pick(0, 1000)) / 10; }

  void BuildRandomSong() {
    NewSong(song, Pick(24, 480), Pick(30, 240));
    for (int track = Pick(1, 4); track > 0; --track) {
      std::vector<TrackEvent> events;
      for (int note = Pick(0, 12); note > 0; --note) {
        const int channel = Pick(0, 15);
        const int key = Pick(1, 127);
        const int64_t start = Pick(0, 600);
        events.push_back({0x90 + channel, key, Pick(1, 127), start});
        // Some files leave a note without its note-off.
        if (Pick(0, 5) != 0) events.push_back({0x80 + channel, key, 0, start + Pick(0, 200)});
      }
      if (Pick(0, 3) == 0) events.push_back({kMetaTempo, Pick(0, 200), 0, Pick(0, 600)});
      if (Pick(0, 3) == 0) events.push_back({0xB0 + Pick(0, 15), 7, Pick(0, 127), Pick(0, 600)});
      std::stable_sort(events.begin(), events.end(),
                       [](const TrackEvent& a, const TrackEvent& b) { return a.tick < b.tick; });
      const int64_t last = events.empty() ? 0 : events.back().tick;
      AddTrack(song, events, last + (Pick(0, 2) == 0 ? Pick(1, 300) : 0));
    }
  }

  std::vector<std::function<void()>> steps;
  void SetUp() override {
    steps.assign(4, [this] { Tick(Pick(1, 60)); });  // ticking weighs four times as much as another step
    for (auto press :
         {&Transport::StartPlayback, &Transport::PausePlayback, &Transport::StopPlayback,
          &Transport::CancelLoop, &Transport::SoloOff, &Transport::ToggleMute, &Transport::HalveTempo,
          &Transport::DoubleTempo, &Transport::ToggleIntro, &Transport::ToggleContinuo})
      steps.push_back([this, press] { (transport.*press)(); });
    for (auto point : {&Transport::ContinueFromPercent, &Transport::SetLoopStart, &Transport::SetLoopEnd})
      steps.push_back([this, point] { (transport.*point)(Percent()); });
    for (auto click : {&Transport::ToggleChannel, &Transport::SoloChannel})
      steps.push_back([this, click] { (transport.*click)(Pick(1, 16)); });
    steps.push_back([this] { transport.StepInstrument(Pick(1, 16), Pick(0, 1) == 1, Pick(0, 1) == 1); });
    steps.push_back([this] {
      transport.StartSecondTick();
      timers.Tick(transport, kSecondSlot);
    });
  }

  // Follows the words sent as a synthesizer would; tells whether any key sounds.
  std::array<std::bitset<128>, 16> keys{};
  size_t followed = 0;
  bool AnySounding() {
    for (; followed < midi.Sent.size(); ++followed) {
      const SentMessage& message = midi.Sent[followed];
      auto& channel = keys[static_cast<size_t>(message.Status() & 0x0F)];
      const auto key = static_cast<size_t>(message.Data1());
      if ((message.Status() & 0xF0) == 0x90) channel.set(key, message.Data2() > 0);
      if ((message.Status() & 0xF0) == 0x80) channel.reset(key);
      if ((message.Status() & 0xF0) == 0xB0 && key == 123) channel.reset();
    }
    return std::any_of(keys.begin(), keys.end(), [](const auto& channel) { return channel.any(); });
  }
};

TEST_F(TransportProperty, NoNoteHangsOnceTheClockStandsStill) {
  for (int sequence = 0; sequence < 300; ++sequence) {
    BuildRandomSong();
    // Continuo loads the same song again, as a one-entry list would.
    const SongTables loaded = song;
    screen.onPlayNext = [&] {
      transport.ResetSong();
      song = loaded;
      transport.StartPlayback();
    };
    for (int step = 0; step < 40; ++step) {
      steps[static_cast<size_t>(Pick(0, static_cast<int>(steps.size()) - 1))]();
      ASSERT_FALSE(AnySounding() && !transport.Running()) << "sequence " << sequence << ", step " << step;
    }
    transport.StopPlayback();
    ASSERT_FALSE(AnySounding()) << "sequence " << sequence << " after Stop";
    transport.ResetSong();
  }
}

}  // namespace
}  // namespace sonvela
