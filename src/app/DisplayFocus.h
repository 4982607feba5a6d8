#pragma once
#include <cstdint>

#include "core/Rect.h"

namespace sf {

class Display;

// The window's display mode and focus: whether it is active, the minimise that follows a lost
// focus in full screen, the window's place kept across a minimise, and the system cursor's
// show/hide counter.
class DisplayFocus {
 public:
  explicit DisplayFocus(Display& display) : display_(display) {}

  bool Active() const { return active_; }
  void SetActive(bool active) { active_ = active; }

  // Windowed mode is a normal 800 x 600 window on the desktop as it is, full screen shows the
  // picture scaled on the whole desktop; neither changes the display mode.
  void SetMode(bool windowed);
  // The focus went elsewhere: a window remembers its place; full screen minimises, except for
  // the one loss of focus a mode change itself causes.
  void FocusLost(bool windowed);
  // A window restored from the task bar goes back to its place.
  void RestorePlace();

  // The system's show/hide counter: the cursor is visible while it is >= 0.
  void ShowCursor(bool show);
  int32_t CursorCounter() const { return cursorCounter_; }

 private:
  Display& display_;
  bool active_ = false;
  bool skipNextMinimize_ = true;
  Rect savedWindowRect_{};
  int32_t cursorCounter_ = 0;
};

}  // namespace sf
