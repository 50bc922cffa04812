#pragma once
// Pausing the UI thread: the device switch waits after a close so the driver can let go of the device.
// The platform sleeps; tests record the request instead of waiting.

namespace sonvela {

class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void SleepMs(int milliseconds) = 0;
};

}  // namespace sonvela
