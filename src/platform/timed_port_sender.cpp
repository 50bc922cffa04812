#include "platform/timed_port_sender.h"

#include <utility>

#include "platform/real_time_priority.h"

namespace sonvela {

TimedPortSender::TimedPortSender(double latencyMs, std::function<void()> sendDue, LogSink log)
    : latencyMs_(latencyMs), sendDue_(std::move(sendDue)), log_(std::move(log)) {
  thread_ = std::thread([this] { Run(); });
}

TimedPortSender::~TimedPortSender() {
  stop_ = true;
  queue_.Wake();
  thread_.join();
}

void TimedPortSender::Run() {
  if (const std::string refused = RaiseThreadPriority(); !refused.empty() && log_) {
    log_("MIDI ports: the song's sends run at normal priority (" + refused + ")");
  }
  while (queue_.WaitUntilDue(latencyMs_, stop_)) sendDue_();
}

}  // namespace sonvela
