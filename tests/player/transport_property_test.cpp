// Random transport use must never leave a note sounding once the song clock stands still.

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <random>

#include "player/player_bench.h"

namespace sonvela {
namespace {

// Follows the sent words as a synthesizer would: which keys sound on which channel.
class SoundingNotes {
 public:
  void Follow(const std::vector<SentMessage>& sent) {
    for (; next_ < sent.size(); ++next_) {
      const SentMessage& message = sent[next_];
      const int channel = message.Status() & 0x0F;
      const int kind = message.Status() & 0xF0;
      if (kind == 0x90 && message.Data2() > 0)
        keys_[static_cast<size_t>(channel)].set(static_cast<size_t>(message.Data1()));
      if (kind == 0x80 || (kind == 0x90 && message.Data2() == 0)) {
        keys_[static_cast<size_t>(channel)].reset(static_cast<size_t>(message.Data1()));
      }
      if (kind == 0xB0 && message.Data1() == 123) keys_[static_cast<size_t>(channel)].reset();
    }
  }
  bool AnySounding() const {
    return std::any_of(keys_.begin(), keys_.end(), [](const auto& keys) { return keys.any(); });
  }

 private:
  std::array<std::bitset<128>, 16> keys_{};
  size_t next_ = 0;
};

class TransportProperty : public PlayerBench {
 protected:
  void BuildRandomSong(std::mt19937& random) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    NewSong(song, pick(24, 480), pick(30, 240));
    const int tracks = pick(1, 4);
    for (int track = 0; track < tracks; ++track) {
      std::vector<TrackEvent> events;
      const int notes = pick(0, 12);
      for (int note = 0; note < notes; ++note) {
        const int channel = pick(0, 15);
        const int key = pick(1, 127);
        const int64_t start = pick(0, 600);
        events.push_back({0x90 + channel, key, pick(1, 127), start});
        // Some files leave a note without its note-off.
        if (pick(0, 5) != 0) events.push_back({0x80 + channel, key, 0, start + pick(0, 200)});
      }
      if (pick(0, 3) == 0) events.push_back({kMetaTempo, pick(0, 200), 0, pick(0, 600)});
      if (pick(0, 3) == 0) events.push_back({0xB0 + pick(0, 15), 7, pick(0, 127), pick(0, 600)});
      std::stable_sort(events.begin(), events.end(),
                       [](const TrackEvent& a, const TrackEvent& b) { return a.tick < b.tick; });
      const int64_t last = events.empty() ? 0 : events.back().tick;
      AddTrack(song, events, last + (pick(0, 2) == 0 ? pick(1, 300) : 0));
    }
  }

  void RandomStep(std::mt19937& random) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto percent = [&] { return static_cast<float>(pick(0, 1000)) / 10; };
    switch (pick(0, 19)) {
      case 0:
        transport.StartPlayback();
        break;
      case 1:
      case 2:
      case 3:
      case 4:
        Tick(pick(1, 60));
        break;
      case 5:
        transport.PausePlayback();
        break;
      case 6:
        transport.StopPlayback();
        break;
      case 7:
        transport.ContinueFromPercent(percent());
        break;
      case 8:
        transport.SetLoopStart(percent());
        break;
      case 9:
        transport.SetLoopEnd(percent());
        break;
      case 10:
        transport.CancelLoop();
        break;
      case 11:
        transport.ToggleChannel(pick(1, 16));
        break;
      case 12:
        transport.SoloChannel(pick(1, 16));
        break;
      case 13:
        transport.SoloOff();
        break;
      case 14:
        transport.ToggleMute();
        break;
      case 15:
        pick(0, 1) == 0 ? transport.HalveTempo() : transport.DoubleTempo();
        break;
      case 16:
        transport.ToggleIntro();
        break;
      case 17:
        transport.ToggleContinuo();
        break;
      case 18:
        transport.StartSecondTick();
        timers.Tick(transport, kSecondSlot);
        break;
      default:
        transport.StepInstrument(pick(1, 16), pick(0, 1) == 1, pick(0, 1) == 1);
        break;
    }
  }
};

TEST_F(TransportProperty, NoNoteHangsOnceTheClockStandsStill) {
  std::mt19937 random(20240506);
  for (int sequence = 0; sequence < 300; ++sequence) {
    BuildRandomSong(random);
    // Continuo loads the same song again, as a one-entry list would.
    const SongTables loaded = song;
    screen.onPlayNext = [&] {
      transport.ResetSong();
      song = loaded;
      transport.StartPlayback();
    };
    SoundingNotes sounding;
    for (int step = 0; step < 40; ++step) {
      RandomStep(random);
      sounding.Follow(midi.Sent);
      if (!transport.Running()) {
        ASSERT_FALSE(sounding.AnySounding()) << "sequence " << sequence << ", step " << step;
      }
    }
    transport.StopPlayback();
    sounding.Follow(midi.Sent);
    ASSERT_FALSE(sounding.AnySounding()) << "sequence " << sequence << " after Stop";
    transport.ResetSong();
    midi.Sent.clear();
  }
}

}  // namespace
}  // namespace sonvela
