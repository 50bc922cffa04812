#include "platform/built_in_synth.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "platform/jack_server.h"
#include "platform/system_wall_clock.h"

namespace sonvela {

namespace {

// Where SONVELA_AUDIO_DRIVER=file plays without SONVELA_AUDIO_FILE, as FluidSynth's file driver did.
constexpr const char* kDefaultAudioFile = "fluidsynth.wav";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string Joined(const std::vector<std::string>& lines, const std::string& separator) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : separator) + line;
  return text;
}

}  // namespace

SynthOptions SynthOptions::FromEnvironment() {
  SynthOptions options;
  options.soundFont = Environment("SONVELA_SOUNDFONT");
  const std::string driver = Environment("SONVELA_AUDIO_DRIVER");
  options.audioDrivers = driver.empty() ? std::vector<std::string>{"pulseaudio", "alsa", "jack"}
                                        : std::vector<std::string>{driver};
  options.audioFile = Environment("SONVELA_AUDIO_FILE");
  return options;
}

BuiltInSynth::BuiltInSynth(const SynthOptions& options, LogSink log)
    : engine_(std::move(log)), driver_(nullptr, &delete_fluid_audio_driver) {
  if (!options.soundFont.empty() && ChooseSoundFont(options.soundFont) != options.soundFont) {
    engine_.Log("Built-in synth: SoundFont " + options.soundFont + " not found, using the default one");
  }
  const std::string soundFont = ChooseSoundFont(options.soundFont);
  std::promise<bool> loaded;
  loaded_ = loaded.get_future().share();
  loader_ = std::thread([this, soundFont, loaded = std::move(loaded)]() mutable {
    if (soundFont.empty()) {
      engine_.Log(std::string("Built-in synth: no SoundFont found").append(kNoSoundEnding));
      loaded.set_value(false);
      return;
    }
    const auto start = std::chrono::steady_clock::now();
    const bool ok = engine_.LoadSoundFont(soundFont);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    engine_.Log(ok ? "Built-in synth: SoundFont " + soundFont + " loaded in " +
                         std::to_string(std::lrint(took.count())) + " ms"
                   : "Built-in synth: SoundFont " + soundFont + " could not be loaded" +
                         std::string(kNoSoundEnding));
    loaded.set_value(ok);
  });
  OpenAudio(options);
}

BuiltInSynth::~BuiltInSynth() {
  if (loader_.joinable()) loader_.join();
  // The outputs go before the synth they pull audio from (and the file output finishes its WAV file).
  driver_.reset();
  fileOutput_.reset();
}

int BuiltInSynth::RenderAudio(void* data, int len, int /*nfx*/, float* /*fx*/[], int nout, float* out[]) {
  if (nout < 2) return FLUID_FAILED;
  auto* self = static_cast<BuiltInSynth*>(data);
  int result = FLUID_OK;
  self->timed_.Render(SteadyNowMs(), len, [&](int offset, int count) {
    // Reverb and chorus are mixed into the dry pair (whose buffers come zeroed), so that the limiter sees
    // all that is heard; separate effect buffers are only offered for JACK's multi-port mode, not used here.
    std::array<float*, 2> dry = {out[0] + offset, out[1] + offset};
    std::array<float*, 4> mix = {dry[0], dry[1], dry[0], dry[1]};
    if (fluid_synth_process(self->engine_.Synth(), count, static_cast<int>(mix.size()), mix.data(), 2,
                            dry.data()) != FLUID_OK) {
      result = FLUID_FAILED;
    }
  });
  self->limiter_.Process(out[0], out[1], len);
  return result;
}

void BuiltInSynth::SendAt(uint32_t message, double dueMs) {
  if (!driver_ && !fileOutput_) {
    engine_.Send(message);
    return;
  }
  timed_.SendAt(message, dueMs);
  ReportLateMessages(dueMs);
}

void BuiltInSynth::ReleaseAllNotes() {
  timed_.PlayPendingNow();
  engine_.ReleaseAllNotes();
}

void BuiltInSynth::ReportLateMessages(double nowMs) {
  constexpr double kReportPeriodMs = 1000;
  const int64_t late = timed_.LateMessages();
  std::lock_guard lock(reportMutex_);
  if (late == reportedLate_ || nowMs - lastReportMs_ < kReportPeriodMs) return;
  reportedLate_ = late;
  lastReportMs_ = nowMs;
  engine_.Log(
      "Built-in synth: " + std::to_string(late) + " messages of the song so far came later than the " +
      std::to_string(std::lrint(kOutputLatencyMs)) + " ms output latency allows, and were played at once");
}

bool BuiltInSynth::OpenAudioFile(const std::string& path) {
  fileOutput_ = std::make_unique<PacedWavOutput>(engine_.Synth(), timed_,
                                                 [this](const std::string& line) { engine_.Log(line); });
  if (fileOutput_->Start(path)) return true;
  fileOutput_.reset();
  return false;
}

void BuiltInSynth::OpenAudio(const SynthOptions& options) {
  fluid_settings_t* settings = engine_.Settings();
  if (!settings || !engine_.Synth()) return;
  const std::vector<std::string> drivers =
      options.audioFile.empty() ? options.audioDrivers : std::vector<std::string>{"file"};
  fluid_settings_setstr(settings, "audio.jack.id", "Sonvela");
  fluid_settings_setint(settings, "audio.jack.autoconnect", 1);

  std::vector<std::string> failures;
  const std::string audioFile = options.audioFile.empty() ? kDefaultAudioFile : options.audioFile;
  for (const std::string& driver : drivers) {
    // FluidSynth's file driver takes no callback, so it would bypass the limiter.
    if (driver == "file") {
      if (OpenAudioFile(audioFile)) {
        driverName_ = driver;
        break;
      }
      failures.push_back(driver + ": cannot write " + audioFile);
      continue;
    }
    // FluidSynth's JACK driver would wait for ever on a libjack that does not answer.
    if (driver == "jack" && !JackServerRuns()) {
      const std::string why = JackNotAnswering();
      failures.push_back(driver + ": " + (why.empty() ? "no JACK server" : why));
      continue;
    }
    engine_.StartCapture();
    if (fluid_settings_setstr(settings, "audio.driver", driver.c_str()) == FLUID_OK) {
      driver_.reset(new_fluid_audio_driver2(settings, &BuiltInSynth::RenderAudio, this));
    }
    const std::vector<std::string> reasons = engine_.StopCapture();
    if (driver_) {
      driverName_ = driver;
      break;
    }
    failures.push_back(driver + ": " + (reasons.empty() ? "not available" : Joined(reasons, " / ")));
  }
  if (driver_ || fileOutput_) {
    const std::string target = fileOutput_ ? " into " + audioFile : "";
    engine_.Log("Built-in synth: audio output " + driverName_ + target);
  } else {
    // One line, however many drivers were tried: the program goes on without sound.
    engine_.Log("Built-in synth: no audio output could be opened (" + Joined(failures, "; ") + ")" +
                std::string(kNoSoundEnding));
  }
}

}  // namespace sonvela
