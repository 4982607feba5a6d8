#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/PadMapper.h"

namespace sf {

// The window for tests: keeps the last presented frame, takes scripted events, key states and
// mouse motion, and records what the program did with the window and the cursor.
class FakeWindow : public Display, public Input {
 public:
  // Display
  void SetMode(bool windowed) override {
    Windowed = windowed;
    ++ModeSets;
  }
  void Present(const Surface& frame) override {
    if (KeepFrames) LastFrame = frame;
    ++Presents;
  }
  void Minimize() override { ++Minimizes; }
  void ShowNormal() override { ++ShowNormals; }
  Rect WindowRect() override { return Window; }
  void MoveWindow(int32_t left, int32_t top) override {
    Window = Rect{left, top, left + Window.Width(), top + Window.Height()};
  }
  int32_t DesktopWidth() override { return 1920; }
  int32_t DesktopHeight() override { return 1080; }
  void ShowCursor(bool show) override { CursorVisible = show; }
  void SetCursorPos(int32_t x, int32_t y) override {
    CursorX = x;
    CursorY = y;
    ++CursorWarps;
  }
  void CaptureMouse(bool capture) override { MouseCaptured = capture; }
  void ShowError(const std::string& title, const std::string& message) override {
    Errors.push_back(title + ": " + message);
  }

  // Input
  bool PollEvent(InputEvent& event) override {
    if (Events.empty()) {
      uint16_t keys[16];
      const int n = Pads.TakeKeyEvents(PadNowMs, keys, 16);
      for (int i = 0; i < n; ++i) PushKey(keys[i]);
      if (Events.empty()) return false;
    }
    event = Events.front();
    Events.pop_front();
    return true;
  }
  void WaitEvent(uint32_t) override {}
  bool GetKeyboardState(uint8_t state[256]) override {
    if (!KeyboardAcquired) return false;
    for (int i = 0; i < 256; ++i) state[i] = Keys[static_cast<size_t>(i)];
    Pads.AddKeyStates(state);
    return true;
  }
  void AcquireKeyboard() override { KeyboardAcquired = true; }
  void UnacquireKeyboard() override { KeyboardAcquired = false; }
  bool GetMouseState(MouseState& state) override {
    state = Mouse;
    Mouse.X = Mouse.Y = Mouse.Z = 0;
    return true;
  }

  // Script helpers.
  void PushKey(uint16_t vk, bool alt = false) {
    InputEvent e;
    e.Kind = InputEvent::KeyDown;
    e.Key = vk;
    e.Alt = alt;
    Events.push_back(e);
  }
  void PushMouseMove(int32_t x, int32_t y) {
    InputEvent e;
    e.Kind = InputEvent::MouseMove;
    e.X = x;
    e.Y = y;
    Events.push_back(e);
  }
  void PushClick(int32_t x, int32_t y) {
    InputEvent e;
    e.Kind = InputEvent::MouseDown;
    e.Button = 1;
    e.X = x;
    e.Y = y;
    Events.push_back(e);
  }
  void Push(InputEvent::Type kind) {
    InputEvent e;
    e.Kind = kind;
    Events.push_back(e);
  }

  bool Windowed = true;
  int ModeSets = 0;
  int Presents = 0;
  bool KeepFrames = true;  // benchmarks turn the copy of every presented frame off
  int Minimizes = 0;
  int ShowNormals = 0;
  int CursorWarps = 0;
  bool CursorVisible = true;
  bool MouseCaptured = false;
  int32_t CursorX = 0;
  int32_t CursorY = 0;
  Rect Window{560, 240, 1368, 867};
  Surface LastFrame;
  std::vector<std::string> Errors;
  std::deque<InputEvent> Events;
  bool KeyboardAcquired = true;
  uint8_t Keys[256] = {};
  MouseState Mouse;
  // Game pads, as the real window maps them; PadNowMs is the time their repeats see.
  PadMapper Pads;
  uint32_t PadNowMs = 0;
};

}  // namespace sf
