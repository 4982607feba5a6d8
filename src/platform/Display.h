#pragma once
#include <cstdint>
#include <string>

#include "core/Rect.h"
#include "gfx/Surface.h"

namespace sf {

// The window and the screen. The program composes every frame in an 800 x 600 Surface and hands
// it to Present; full screen shows the same picture letterboxed on the desktop.
class Display {
 public:
  virtual ~Display() = default;
  // Creates or re-creates the window in the given mode: an 800 x 600 client area centred on the
  // desktop, caption "Salt Fang", or desktop full screen.
  virtual void SetMode(bool windowed) = 0;
  virtual void Present(const Surface& frame) = 0;
  virtual void Minimize() = 0;
  virtual void ShowNormal() = 0;
  // The window's outer rectangle on the screen, and moving its top-left corner there.
  virtual Rect WindowRect() = 0;
  virtual void MoveWindow(int32_t left, int32_t top) = 0;
  virtual int32_t DesktopWidth() = 0;
  virtual int32_t DesktopHeight() = 0;
  // The system cursor: show or hide it, and put it at a point of the 800 x 600 picture.
  virtual void ShowCursor(bool show) = 0;
  virtual void SetCursorPos(int32_t x, int32_t y) = 0;
  // While captured (a game is being played) the pointer cannot leave the window and motion
  // arrives as raw relative counts; outside a game the pointer is always free.
  virtual void CaptureMouse(bool capture) = 0;
  // A modal message for fatal start-up errors.
  virtual void ShowError(const std::string& title, const std::string& message) = 0;
};

}  // namespace sf
