#include "platform/timed_port_output.h"

#include <chrono>
#include <thread>
#include <utility>

#include "platform/system_wall_clock.h"
#include "platform/timed_synth.h"

namespace sonvela {

TimedPortOutput::TimedPortOutput(MidiOut& output, LogSink log)
    : ForwardingMidiOut(output),
      sender_(
          kOutputLatencyMs, [this] { SendDue(); }, std::move(log)) {}

std::unique_ptr<TimedPortOutput> TimedCapture(CaptureMidiOut& capture, LogSink log) {
  auto output = std::make_unique<TimedPortOutput>(capture, std::move(log));
  capture.SetBeforeRecording([&sender = *output] { sender.SendPendingNow(); });
  return output;
}

void TimedPortOutput::SendPendingNow() {
  std::lock_guard lock(sending_);
  while (const auto message = sender_.TakeDue(0, true)) output_.Send(message->word);
}

void TimedPortOutput::SendDue() {
  std::lock_guard lock(sending_);
  const double now = SteadyNowMs();
  while (const auto message = sender_.TakeDue(now)) output_.Send(message->word);
}

void TimedPortOutput::Drain() {
  // Nothing is due later than the latency after its send; a second more is a bound, not an expectation.
  const double giveUpMs = SteadyNowMs() + kOutputLatencyMs + 1000;
  while (SteadyNowMs() < giveUpMs) {
    {
      std::lock_guard lock(sending_);
      if (sender_.Pending() == 0) return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  SendPendingNow();
}

}  // namespace sonvela
