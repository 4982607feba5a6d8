#pragma once
#include <cstdint>

namespace sf {

class TextRenderer;
struct ImageSets;

// What the widgets and menus need from the main window. The window keeps the pointer, the screen
// state and the command dispatcher; the menus only read and nudge them through this.
class MenuHost {
 public:
  virtual ~MenuHost() = default;

  // Last pointer position in client pixels, as recorded by the mouse-move handler; the menus
  // never ask the system for it at draw time.
  virtual int32_t PointerX() const = 0;
  virtual int32_t PointerY() const = 0;
  // True after a mouse move, false after a key press: button collections follow the pointer
  // only while it is set.
  virtual bool PointerSteering() const = 0;

  // Intents the window turns into screens: the pointer has moved onto the main menu from a page
  // beside it; the minimise-key button waits for a key; the key has been taken.
  virtual void ShowMainMenu() = 0;
  virtual void BeginKeyCapture() = 0;
  virtual void EndKeyCapture() = 0;

  // Sound 0 ("CheckMenu") at the pointer position; silent when sound is off.
  virtual void PlayMenuSound() = 0;
  // The command dispatcher; the options menu's Activate runs it.
  virtual void ExecuteCommand() = 0;

  // Millisecond tick (wrapping), read by the name field for its caret blink.
  virtual uint32_t TickCount() = 0;

  // Drawing resources. Images are looked up on every draw, so a reload of the image sets is
  // picked up at once.
  virtual TextRenderer& Text() = 0;
  virtual const ImageSets& Images() const = 0;
};

}  // namespace sf
