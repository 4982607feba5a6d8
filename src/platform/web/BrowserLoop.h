#pragma once
#include <functional>

namespace sf {

class Clock;

// The browser owns the event loop: the program runs one pass of its loop per call from the page
// and returns, and the next pass is due when the clock's tick next moves. No pass spins or
// blocks, and the pace is the tick's, whatever the display's refresh rate.
class BrowserLoop {
 public:
  // pass: one pass of the program's loop, false once the program has closed; then onClosed runs
  // and no pass follows.
  BrowserLoop(Clock& clock, std::function<bool()> pass, std::function<void()> onClosed);
  BrowserLoop(const BrowserLoop&) = delete;
  BrowserLoop& operator=(const BrowserLoop&) = delete;

  // Hands the loop to the browser and returns at once; the loop object must outlive the page.
  void Start();

 private:
  static void Pass(void* self);

  Clock& clock_;
  std::function<bool()> pass_;
  std::function<void()> onClosed_;
};

}  // namespace sf
