#pragma once
#include <SDL.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/PadMapper.h"

namespace sf {

// The whole number of output pixels per picture pixel at which the 800 x 600 picture is shown on
// an output of width x height: the largest that fits, drawn with nearest pixels; 0 where none
// fits or the largest leaves more than a fifth of the room unused, and the picture is fitted with
// its aspect kept and filtered instead.
int SharpScale(int outputWidth, int outputHeight);

// The program's one window on SDL2: an 800 x 600 client area, or desktop full screen with the
// picture letterboxed (SharpScale decides how it is scaled); presents frames through one streaming
// texture and turns SDL's events into the program's key, mouse and window events.
class SdlWindow : public Display, public Input {
 public:
  // Initialises SDL's video and events; throws std::runtime_error when there is no display.
  SdlWindow();
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // Display
  void SetMode(bool windowed) override;
  void Present(const Surface& frame) override;
  void Minimize() override;
  void ShowNormal() override;
  Rect WindowRect() override;
  void MoveWindow(int32_t left, int32_t top) override;
  int32_t DesktopWidth() override;
  int32_t DesktopHeight() override;
  void ShowCursor(bool show) override;
  void SetCursorPos(int32_t x, int32_t y) override;
  void CaptureMouse(bool capture) override;
  void ShowError(const std::string& title, const std::string& message) override;
  // The window's title bar (the replay viewer shows its position and speed there).
  void SetTitle(const std::string& title);

  // Input
  bool PollEvent(InputEvent& event) override;
  void WaitEvent(uint32_t timeoutMs) override;
  bool GetKeyboardState(uint8_t state[256]) override;
  void AcquireKeyboard() override;
  void UnacquireKeyboard() override;
  bool GetMouseState(MouseState& state) override;

  int ConnectedPads() const { return pads_.ConnectedCount(); }

  // Diagnostics for measuring the program: writes the time of the first presented frame and,
  // once a second, the number of frames presented so far (milliseconds since the window object
  // was made, which is the first thing the program does).
  void EnableFrameLog(std::FILE* log) { frameLog_ = log; }
  // Diagnostics: the window's whole output as last presented, 0x00RRGGBB row after row, with its
  // size; empty when it cannot be read.
  std::vector<uint32_t> ReadOutput(int& width, int& height);

 private:
  void CreateRenderer();
  void DestroyRenderer();
  // Follows the output's size with the picture's scale: whole pixels where SharpScale allows.
  void UpdateScale();
  void UpdateRelativeMode();
  // Translates one SDL event; false when it means nothing to the program.
  bool Translate(const SDL_Event& e, InputEvent& out);
  // Game pads: opened when plugged in, closed when pulled out; their input arrives as keys.
  void HandlePadEvent(const SDL_Event& e);
  bool TakePadKey(InputEvent& out);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool windowed_ = true;
  bool minimized_ = false;
  bool focused_ = false;
  bool cursorVisible_ = true;
  bool captureWanted_ = false;
  bool relative_ = false;
  bool keyboardAcquired_ = true;
  bool rendererLost_ = false;
  int outputWidth_ = 0;  // the output size the scale was chosen for
  int outputHeight_ = 0;
  int32_t relX_ = 0;
  int32_t relY_ = 0;
  int32_t relZ_ = 0;
  int32_t desktopWidth_ = 800;
  int32_t desktopHeight_ = 600;
  std::array<uint8_t, SDL_NUM_SCANCODES> scanCodes_{};
  std::FILE* frameLog_ = nullptr;
  uint64_t logStart_ = 0;
  uint64_t presents_ = 0;
  uint64_t nextLogMs_ = 0;
  bool pendingValid_ = false;
  SDL_Event pending_{};
  // A press made by a touch waits for the next presented frame: a finger lands and presses at
  // once, and the menus take the item under the pointer only when they draw.
  bool touchPressHeld_ = false;
  InputEvent touchPress_{};
  uint64_t touchPressAfter_ = 0;
  // Notches of the last wheel event not yet delivered as events of their own.
  int32_t wheelNotchesLeft_ = 0;
  InputEvent::Type wheelKind_ = InputEvent::WheelUp;
  PadMapper pads_;
  std::map<SDL_JoystickID, SDL_GameController*> controllers_;
  std::array<uint16_t, 16> padKeys_{};
  int padKeyCount_ = 0;
  int padKeyNext_ = 0;
};

}  // namespace sf
