// "Note test": the sixteen timed steps, stepped by hand and once on a real timer while the window answers.

#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/note_test.h"
#include "app/step_timer.h"
#include "key_screen.h"
#include "platform/system_wall_clock.h"
#include "player/control_ids.h"
#include "player/player_bench.h"

namespace sonvela {
namespace {

// Steps only when the test says so.
class ManualStepTimer : public StepTimer {
 public:
  void Start(int intervalMs, std::function<void()> step) override {
    interval = intervalMs;
    step_ = std::move(step);
    ++starts;
  }
  void Stop() override { step_ = nullptr; }
  bool Running() const { return static_cast<bool>(step_); }
  void Fire() {
    ASSERT_TRUE(Running());
    const std::function<void()> step = step_;
    step();
  }
  int interval = 0;
  int starts = 0;

 private:
  std::function<void()> step_;
};

// Per channel: organ, the note, and at the next step its end.
std::vector<uint32_t> ChannelWords(int channel) {
  return {Word(0xC0 + channel, 19, 127), Word(0x90 + channel, 48, 127), Word(0x80 + channel, 48, 0)};
}

TEST(NoteTestTest, ChannelByChannelOnEachStepAndASecondPressIsIgnored) {
  RecordingMidiOut midi;
  RecordingScreen screen;
  ManualStepTimer timer;
  NoteTest test(midi, screen, timer);
  QSignalSpy finished(&test, &NoteTest::Finished);

  test.Start();
  test.Start();  // while it runs: ignored
  EXPECT_EQ(timer.starts, 1);
  EXPECT_EQ(timer.interval, 200);
  std::vector<uint32_t> expectedWords;
  std::vector<std::string> expectedKeys;
  for (int channel = 0; channel < 16; ++channel) {
    const std::string keyboard = std::to_string(kChannelKeyboardBase + channel);
    const std::vector<uint32_t> words = ChannelWords(channel);
    expectedWords.insert(expectedWords.end(), {words[0], words[1]});
    expectedKeys.push_back(keyboard + " 49 rgb(175,165,225)");
    // Between steps the note sounds and its key is lit.
    EXPECT_EQ(SentWords(midi), expectedWords) << channel;
    EXPECT_EQ(KeyTexts(screen), expectedKeys) << channel;
    EXPECT_TRUE(test.Running());
    timer.Fire();
    expectedWords.push_back(words[2]);
    expectedKeys.push_back(keyboard + " 49 redraw");
  }
  EXPECT_EQ(SentWords(midi), expectedWords);
  EXPECT_EQ(KeyTexts(screen), expectedKeys);
  EXPECT_FALSE(test.Running());
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(finished.count(), 1);

  // Done, it starts again; stopped halfway, the sounding note ends and nothing more comes.
  midi.Sent.clear();
  test.Start();
  timer.Fire();
  test.Stop();
  EXPECT_FALSE(timer.Running());
  std::vector<uint32_t> twoChannels = ChannelWords(0);
  for (uint32_t word : ChannelWords(1)) twoChannels.push_back(word);
  EXPECT_EQ(SentWords(midi), twoChannels);
  EXPECT_EQ(KeyTexts(screen).back(), "2201 49 redraw");
  EXPECT_EQ(finished.count(), 1);
}

TEST(NoteTestTest, RunsOnARealTimerWhileTheWindowAnswers) {
  SystemWallClock clock;
  RecordingMidiOut midi(&clock);
  RecordingScreen screen;
  QtStepTimer timer;
  NoteTest test(midi, screen, timer);
  QSignalSpy finished(&test, &NoteTest::Finished);

  // Events the window gets while the test runs are handled as they come, and a press then is ignored.
  std::vector<size_t> sentWhenHandled;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (!test.Running()) return;
    sentWhenHandled.push_back(midi.Sent.size());
    test.Start();
  });
  test.Start();
  answer.start(50);
  ASSERT_TRUE(finished.wait(60000));
  answer.stop();

  std::vector<uint32_t> expected;
  for (int channel = 0; channel < 16; ++channel) {
    for (uint32_t word : ChannelWords(channel)) expected.push_back(word);
  }
  ASSERT_EQ(SentWords(midi), expected);
  // Each note sounds at least its 200 ms.
  for (size_t channel = 0; channel < 16; ++channel) {
    const size_t on = 3 * channel + 1;
    EXPECT_GE(midi.Sent[on + 1].timeMs - midi.Sent[on].timeMs, 199.0) << channel;
  }
  EXPECT_GE(midi.Sent.back().timeMs, 16 * 199.0);
  ASSERT_FALSE(sentWhenHandled.empty());
  EXPECT_GT(sentWhenHandled.back(), sentWhenHandled.front());
  EXPECT_LT(sentWhenHandled.front(), expected.size());
}

}  // namespace
}  // namespace sonvela
