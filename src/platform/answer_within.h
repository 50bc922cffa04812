#pragma once
// A library call that may never return, made without waiting for ever: it runs on a thread of its own,
// and the caller gives up after a time limit. A call that answers after that is not lost: its answer goes
// to `late`, on the call's thread, to release what it holds.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace sonvela {

template <typename T>
std::optional<T> AnswerWithin(std::function<T()> call, std::chrono::milliseconds limit,
                              std::function<void(T)> late) {
  struct Exchange {
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<T> answer;
    bool givenUp = false;
  };
  auto exchange = std::make_shared<Exchange>();
  // Detached: a call that never returns must not hold up the caller nor the program's end.
  std::thread([exchange, call = std::move(call), late = std::move(late)] {
    T answer = call();
    {
      std::lock_guard lock(exchange->mutex);
      if (!exchange->givenUp) {
        exchange->answer = std::move(answer);
        exchange->answered.notify_one();
        return;
      }
    }
    if (late) late(std::move(answer));
  }).detach();
  std::unique_lock lock(exchange->mutex);
  if (!exchange->answered.wait_for(lock, limit, [&] { return exchange->answer.has_value(); })) {
    exchange->givenUp = true;
    return std::nullopt;
  }
  return std::move(exchange->answer);
}

}  // namespace sonvela
