#pragma once
#include "platform/Clock.h"

namespace sf {

// Manual time for tests: the tick moves only when the test advances it; the performance counter
// also moves on every read, as a real one does. Sleep advances the tick by the time slept.
class FakeClock : public Clock {
 public:
  explicit FakeClock(uint32_t startTick = 1000) : tick_(startTick) {}
  uint32_t TickCount() override { return tick_; }
  uint64_t PerformanceCounter() override { return counter_ += 7; }
  uint64_t PerformanceFrequency() override { return 1000000; }
  void Sleep(uint32_t ms) override {
    tick_ += ms;
    slept_ += ms;
  }
  uint32_t MsUntilNextTick() override { return 1; }

  void Advance(uint32_t ms) { tick_ += ms; }
  void Set(uint32_t tick) { tick_ = tick; }
  uint32_t Slept() const { return slept_; }

 private:
  uint32_t tick_;
  uint64_t counter_ = 0;
  uint32_t slept_ = 0;
};

}  // namespace sf
