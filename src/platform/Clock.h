#pragma once
#include <cstdint>

namespace sf {

// Time for the whole program. TickCount stands in for GetTickCount: milliseconds since start,
// 32-bit and wrapping, moving in steps of the 64 Hz system tick (15.625 ms), which sets the pace
// of the frame loop. The performance counter is fine-grained.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TickCount() = 0;
  virtual uint64_t PerformanceCounter() = 0;
  virtual uint64_t PerformanceFrequency() = 0;
  virtual void Sleep(uint32_t ms) = 0;
  // Milliseconds until TickCount next changes, at least 1: how long an idle loop may wait.
  virtual uint32_t MsUntilNextTick() = 0;
};

}  // namespace sf
