#include "app/DisplayFocus.h"

#include "platform/Display.h"

namespace sf {

void DisplayFocus::SetMode(bool windowed) {
  display_.SetMode(windowed);
  // An exclusive mode change would take the focus away once, and that deactivation is what the
  // skip absorbs. Desktop full screen takes none, so our own switch uses the skip up here: the
  // first deactivation in full screen is the player's, and it minimises.
  if (!windowed) skipNextMinimize_ = false;
}

void DisplayFocus::FocusLost(bool windowed) {
  if (windowed) {
    savedWindowRect_ = display_.WindowRect();
    skipNextMinimize_ = true;
  } else if (skipNextMinimize_) {
    skipNextMinimize_ = false;
  } else {
    display_.Minimize();
  }
}

void DisplayFocus::RestorePlace() { display_.MoveWindow(savedWindowRect_.Left, savedWindowRect_.Top); }

void DisplayFocus::ShowCursor(bool show) {
  cursorCounter_ += show ? 1 : -1;
  display_.ShowCursor(cursorCounter_ >= 0);
}

}  // namespace sf
