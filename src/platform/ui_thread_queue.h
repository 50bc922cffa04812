#pragma once
// Items handed from any thread to the UI thread (the thread that makes the queue), in order, a batch at a
// time: the platform's log lines, the MIDI input's keys and monitor lines. The items wait in a queue of our
// own under a mutex, and the sending thread only wakes the UI thread's Qt event loop through an eventfd:
// nothing allocated on the sending thread travels through Qt's event queue, and a burst costs one wake-up.
//
// Shared: a sender may hold it after its receiver has gone. The receiver Closes it on the UI thread first;
// what comes after is dropped.

#include <sys/eventfd.h>
#include <unistd.h>
#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace sonvela {

template <typename Item>
class UiThreadQueue : public std::enable_shared_from_this<UiThreadQueue<Item>> {
 public:
  using Deliver = std::function<void(Item& item)>;

  // On the UI thread: `deliver` runs there, once for each item, in order.
  static std::shared_ptr<UiThreadQueue> Make(Deliver deliver) {
    std::shared_ptr<UiThreadQueue> queue(new UiThreadQueue(std::move(deliver)));
    if (queue->wakeFd_ >= 0) {
      queue->wake_ = std::make_unique<QSocketNotifier>(queue->wakeFd_, QSocketNotifier::Read);
      QObject::connect(queue->wake_.get(), &QSocketNotifier::activated, queue->wake_.get(),
                       [weak = queue->weak_from_this()] {
                         if (const auto alive = weak.lock()) alive->DeliverNow();
                       });
    }
    return queue;
  }
  ~UiThreadQueue() {
    if (wakeFd_ >= 0) close(wakeFd_);
  }
  UiThreadQueue(const UiThreadQueue&) = delete;
  UiThreadQueue& operator=(const UiThreadQueue&) = delete;

  // From any thread: queue the item and return.
  void Post(Item item) {
    bool wasEmpty = false;
    {
      std::lock_guard lock(mutex_);
      // Out of descriptors nothing could wake the UI thread: the items are dropped.
      if (closed_ || wakeFd_ < 0) return;
      wasEmpty = queued_.empty();
      queued_.push_back(std::move(item));
    }
    // One wake-up per batch: the UI thread takes everything queued when it wakes.
    if (wasEmpty) {
      const uint64_t one = 1;
      [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
    }
  }

  // UI thread: delivers what has come so far.
  void DeliverNow() {
    // Reset the wake-up before taking the queue, so an item queued after the swap wakes us again.
    if (wakeFd_ >= 0) {
      uint64_t count = 0;
      [[maybe_unused]] const ssize_t read = ::read(wakeFd_, &count, sizeof count);
    }
    std::vector<Item> batch;
    batch.swap(spare_);
    {
      std::lock_guard lock(mutex_);
      if (closed_) return;
      queued_.swap(batch);
    }
    // A delivery that runs a nested event loop may come back here: the batch is this call's own.
    for (Item& item : batch) deliver_(item);
    batch.clear();
    spare_.swap(batch);  // its room serves the next batch
  }

  // UI thread: nothing is delivered from now on (the receiver is going).
  void Close() {
    {
      std::lock_guard lock(mutex_);
      closed_ = true;
      queued_.clear();
    }
    wake_.reset();
  }

 private:
  explicit UiThreadQueue(Deliver deliver)
      : deliver_(std::move(deliver)), wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

  Deliver deliver_;  // UI thread only
  const int wakeFd_;
  std::unique_ptr<QSocketNotifier> wake_;  // UI thread only
  std::mutex mutex_;
  std::vector<Item> queued_;  // guarded by mutex_
  bool closed_ = false;       // guarded by mutex_
  std::vector<Item> spare_;   // UI thread: an empty queue with room, swapped in for the next batch
};

}  // namespace sonvela
