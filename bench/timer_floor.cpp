// What the machine allows a thread that keeps time: a thread at the senders' real-time priority wakes every
// 10 ms for SECONDS and prints "p99 max" of its wake-up lateness in ms. Beside a measure of sends under
// load, it tells the program's own lateness from the machine's (a virtual machine whose host holds it back
// stalls every thread alike).
// Use: timer_floor SECONDS

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/real_time_priority.h"

int main(int argc, char* argv[]) {
  const int seconds = argc == 2 ? std::atoi(argv[1]) : 0;
  if (seconds <= 0) {
    std::fprintf(stderr, "Use: timer_floor SECONDS\n");
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  if (const std::string refused = sonvela::RaiseThreadPriority(); !refused.empty()) {
    std::fprintf(stderr, "timer_floor: normal priority (%s)\n", refused.c_str());
  }
  std::vector<double> late;
  Clock::time_point due = Clock::now();
  for (int tick = 0; tick < seconds * 100; ++tick) {
    due += std::chrono::milliseconds(10);
    std::this_thread::sleep_until(due);
    late.push_back(std::chrono::duration<double, std::milli>(Clock::now() - due).count());
  }
  std::sort(late.begin(), late.end());
  std::printf("%.3f %.3f\n", late[static_cast<size_t>(0.99 * static_cast<double>(late.size() - 1))],
              late.back());
  return 0;
}
