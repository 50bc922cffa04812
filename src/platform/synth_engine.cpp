#include "platform/synth_engine.h"

#include <array>
#include <filesystem>
#include <utility>

namespace sonvela {

namespace {

constexpr std::array<const char*, 2> kDefaultSoundFonts = {"/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                                           "/usr/share/sounds/sf2/TimGM6mb.sf2"};
constexpr std::array<int, 4> kRoutedLogLevels = {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO};
constexpr int kSustainPedal = 64;
constexpr int kSostenutoPedal = 66;
constexpr int kChannelCount = 16;

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string ChooseSoundFont(const std::string& requested) {
  if (IsFile(requested)) return requested;
  for (const char* path : kDefaultSoundFonts) {
    if (IsFile(path)) return path;
  }
  return {};
}

SynthEngine::SynthEngine(LogSink log)
    : log_(std::move(log)), settings_(nullptr, &delete_fluid_settings), synth_(nullptr, &delete_fluid_synth) {
  // Routed before anything is created, so that even settings errors reach the debug log.
  for (int level : kRoutedLogLevels) fluid_set_log_function(level, &SynthEngine::OnFluidLog, this);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);

  settings_.reset(new_fluid_settings());
  fluid_settings_setnum(settings_.get(), "synth.sample-rate", kSynthSampleRate);
  fluid_settings_setnum(settings_.get(), "synth.gain", kSynthGain);
  synth_.reset(new_fluid_synth(settings_.get()));
  if (!synth_) Log("Built-in synth: FluidSynth could not be created");
}

SynthEngine::~SynthEngine() {
  synth_.reset();
  settings_.reset();
  for (int level : kRoutedLogLevels) fluid_set_log_function(level, nullptr, nullptr);
}

bool SynthEngine::LoadSoundFont(const std::string& path) {
  if (!synth_ || path.empty()) return false;
  return fluid_synth_sfload(synth_.get(), path.c_str(), 1) != FLUID_FAILED;
}

void SynthEngine::Send(uint32_t message) {
  fluid_synth_t* synth = synth_.get();
  if (!synth) return;
  const int status = message & 0xFF;
  const int channel = status & 0x0F;
  const int data1 = (message >> 8) & 0x7F;
  const int data2 = (message >> 16) & 0x7F;
  switch (status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth, channel, data1);
      break;
    case 0x90:
      // Velocity 0 is the usual running-status note-off.
      if (data2 == 0) {
        fluid_synth_noteoff(synth, channel, data1);
      } else {
        fluid_synth_noteon(synth, channel, data1, data2);
      }
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth, channel, data1, data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, channel, data1, data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, channel, data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, channel, data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
      break;
    default:
      // System reset is the only system message a synth acts on; running status and the rest are ignored.
      if (status == 0xFF) fluid_synth_system_reset(synth);
      break;
  }
}

void SynthEngine::ReleaseAllNotes() {
  if (!synth_) return;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    fluid_synth_cc(synth_.get(), channel, kSustainPedal, 0);
    fluid_synth_cc(synth_.get(), channel, kSostenutoPedal, 0);
  }
  fluid_synth_all_notes_off(synth_.get(), -1);
}

void SynthEngine::Log(const std::string& line) {
  {
    std::lock_guard lock(captureMutex_);
    if (capturing_ && captureThread_ == std::this_thread::get_id()) {
      captured_.push_back(line);
      return;
    }
  }
  if (log_) log_(line);
}

void SynthEngine::StartCapture() {
  std::lock_guard lock(captureMutex_);
  capturing_ = true;
  captureThread_ = std::this_thread::get_id();
  captured_.clear();
}

std::vector<std::string> SynthEngine::StopCapture() {
  std::lock_guard lock(captureMutex_);
  capturing_ = false;
  return std::exchange(captured_, {});
}

void SynthEngine::OnFluidLog(int level, const char* message, void* data) {
  const char* prefix = level <= FLUID_ERR ? "FluidSynth error: " : "FluidSynth: ";
  static_cast<SynthEngine*>(data)->Log(std::string(prefix) + (message ? message : ""));
}

}  // namespace sonvela
