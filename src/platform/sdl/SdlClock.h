#pragma once
#include "platform/Clock.h"

namespace sf {

// The real clock: milliseconds since start, rounded down to the last 64 Hz system tick.
class SdlClock : public Clock {
 public:
  SdlClock();
  uint32_t TickCount() override;
  uint64_t PerformanceCounter() override;
  uint64_t PerformanceFrequency() override;
  void Sleep(uint32_t ms) override;
  uint32_t MsUntilNextTick() override;

 private:
  uint64_t start_;
  uint64_t frequency_;
};

}  // namespace sf
