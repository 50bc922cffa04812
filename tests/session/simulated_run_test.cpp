// Simulated playing passes the stretches where nothing happens in one go: the messages and their times
// must be exactly those of stepping 10 ms at a time, and a song of huge pauses must end at once.

#include "session/simulated_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/capture_midi_out.h"
#include "session/play_session.h"
#include "support/fake_ports.h"
#include "support/midi_builder.h"
#include "support/temp_folder.h"

namespace sonvela {
namespace {

using namespace test;

class SimulatedRunTest : public ::testing::Test {
 protected:
  struct Result {
    std::vector<SentMessage> sent;
    int64_t rounds = 0;
  };

  // Plays the files in turn until the last has ended or `limitMs` of simulated time has passed.
  static Result Play(const std::vector<std::string>& paths, const std::vector<Command>& presses, bool skip,
                     int64_t limitMs = 600'000) {
    SimulatedTicks ticks({2024, 5, 6, 10, 0, 0});
    CaptureMidiOut capture([&ticks] { return ticks.MonotonicMs(); });
    RecordingScreen screen;
    VectorSongList files;
    files.entries = paths;
    files.goesRound = false;
    PlaySession session({capture, ticks, ticks, screen, files});
    session.Presses = presses;
    bool started = false;
    session.beforePlay = [&] {
      if (started) return;
      started = true;
      capture.StartRecording();
      ticks.Start(kSecondSlot, kSecondPeriodMs);
    };
    session.PlayNextInList();
    Result result;
    SimulatedRun run;
    run.done = [&] {
      ++result.rounds;
      const TransportState& state = session.State();
      const bool last = state.ContinuoOn == 0 || files.NextIndex() < 0;
      return ticks.ElapsedMs() >= limitMs || (state.PlayStatus == kStatusEnded && last);
    };
    if (skip) {
      run.quietSteps = [&] { return session.Player().QuietSequencerTicks(); };
      run.passQuiet = [&](int64_t steps) { session.Player().PassQuietTicks(steps); };
    }
    RunSimulated(ticks, session, run);
    result.sent = capture.Messages();
    return result;
  }

  static void ExpectSame(const Result& stepped, const Result& skipped) {
    ASSERT_EQ(stepped.sent.size(), skipped.sent.size());
    for (size_t i = 0; i < stepped.sent.size(); ++i) {
      EXPECT_EQ(CaptureLine(stepped.sent[i]), CaptureLine(skipped.sent[i])) << "message " << i;
    }
    // An intro is timed on every progress tick: nothing is passed over while it runs.
    EXPECT_LE(skipped.rounds, stepped.rounds);
  }

  TempFolder folder;
};

// Notes with long rests between them, loud notes whose level bars fall, a tempo change, a program
// change, a text and a second track that starts late.
std::string SparseSong() {
  return Header(1, 2, 96) +
         Track(Bytes({0, 0xC0, 5, 0, 0x90, 60, 127, 48, 0x80, 60, 0}) + Delta(3000) +
               Bytes({0xFF, 0x51, 3, 0x0F, 0x42, 0x40}) +  // 60 BPM
               Bytes({10, 0x90, 62, 40, 96, 0x90, 62, 0}) + Meta(5000, 0x01, "Hey") +
               Bytes({1, 0x90, 64, 1}) + Delta(2000) + Bytes({0x80, 64, 0}) + kEndOfTrack) +
         Track(Delta(7000) + Bytes({0x91, 40, 90}) + Delta(500) + Bytes({0x81, 40, 0}) + kEndOfTrack);
}

TEST_F(SimulatedRunTest, SkippingQuietStretchesSendsExactlyWhatSteppingDoes) {
  const std::string sparse = folder.Write("sparse.mid", SparseSong());
  const std::string other =
      folder.Write("other.mid", Header(1, 1, 96) + Track(Delta(200) + Bytes({0x92, 50, 100}) + Delta(4000) +
                                                         Bytes({0x82, 50, 0}) + kEndOfTrack));
  const std::vector<std::pair<std::vector<std::string>, std::vector<Command>>> cases = {
      {{sparse}, {}},
      {{sparse}, {{CommandKind::kHalveTempo}, {CommandKind::kChannelOnOff, 2}}},
      {{sparse, other}, {{CommandKind::kContinuo}}},
      {{sparse, other}, {{CommandKind::kContinuo}, {CommandKind::kIntro}}},
      {{sparse}, {{CommandKind::kMonitor}, {CommandKind::kMute}}},
  };
  for (const auto& [paths, presses] : cases) {
    SCOPED_TRACE(testing::Message() << paths.size() << " files, " << presses.size() << " presses");
    ExpectSame(Play(paths, presses, false), Play(paths, presses, true));
  }
  // A loop never ends: both stop at the same simulated time.
  const std::vector<Command> loop = {{CommandKind::kLoopStart, 0, 20}, {CommandKind::kLoopEnd, 0, 60}};
  ExpectSame(Play({sparse}, loop, false, 120'000), Play({sparse}, loop, true, 120'000));
}

TEST_F(SimulatedRunTest, QuietStretchesArePassedInOneGoAndHugePausesEndAtOnce) {
  // Deltas that add up to 2^31 ticks: 10 ms steps would take days of simulated rounds.
  std::string huge = Bytes({0, 0x90, 60, 100});
  for (int i = 0; i < 8; ++i) huge += Delta(0x0FFFFFFF) + Bytes({0xB0, 7, i});
  huge += Bytes({1, 0x80, 60, 0}) + kEndOfTrack;
  const std::string sparse = folder.Write("sparse.mid", SparseSong());
  EXPECT_LT(Play({sparse}, {}, true).rounds * 5, Play({sparse}, {}, false).rounds);
  const Result result = Play({folder.Write("huge.mid", Header(1, 1, 96) + Track(huge))}, {}, true, INT64_MAX);
  EXPECT_LT(result.rounds, 1000);
  ASSERT_FALSE(result.sent.empty());
  // The last note ends, then the song's end silences every channel.
  EXPECT_EQ(result.sent[result.sent.size() - 17].word, 0x3C80u);
}

}  // namespace
}  // namespace sonvela
