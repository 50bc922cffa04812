#include "platform/wav_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "temp_folder.h"
#include "wav_samples.h"

namespace sonvela {
namespace {

TEST(WavWriterTest, ConvertsWithOneUnitOfDitherAndClipsBeyondFullScale) {
  test::TempFolder folder;
  const std::string path = (folder.path / "written.wav").string();
  WavWriter writer;
  ASSERT_TRUE(writer.Open(path));
  const std::vector<float> half(1000, 0.5f);
  const std::vector<float> over(1000, -1.5f);
  ASSERT_TRUE(writer.Write(half.data(), over.data(), 1000));
  EXPECT_EQ(writer.Frames(), 1000);
  ASSERT_TRUE(writer.Close());

  const test::WavSamples wav = test::ReadWav(path);
  ASSERT_TRUE(wav.valid);
  ASSERT_EQ(wav.Frames(), 1000u);
  bool dithered = false;
  for (size_t frame = 0; frame < wav.Frames(); ++frame) {
    EXPECT_NEAR(wav.samples[2 * frame], 16383, 1);
    dithered = dithered || wav.samples[2 * frame] != wav.samples[0];
    EXPECT_EQ(wav.samples[2 * frame + 1], -32768);
  }
  EXPECT_TRUE(dithered);
}

}  // namespace
}  // namespace sonvela
