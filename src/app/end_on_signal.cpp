#include "app/end_on_signal.h"

namespace sonvela {

void EndOnSignal::Watch(std::function<void()> end) {
  if (signals_.Descriptor() < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signals_.Descriptor(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, end = std::move(end)] {
    if (signals_.Arrived() != 0 && end) end();
  });
}

}  // namespace sonvela
