#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "BuildFont.h"
#include "core/ScreenState.h"
#include "gfx/ImageSets.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "ui/MenuHost.h"

namespace sf::testing {

// Menu image k of the fake set: a small solid block whose colour identifies it.
inline uint32_t MenuImageColour(int k) { return 0x100000u + static_cast<uint32_t>(k) * 0x010101u; }
inline constexpr int32_t kFakeImageWidth = 10;
inline constexpr int32_t kFakeImageHeight = 8;

inline TextRenderer& SharedText() {
  static TextRenderer text(BuildFontPath());
  return text;
}

// The main window as the menus see it: a pointer, a screen state, counted sounds and commands.
class FakeMenuHost : public MenuHost {
 public:
  FakeMenuHost() {
    for (int k = 0; k < kMenuImageCount; ++k)
      images.MenuImages[static_cast<size_t>(k)] =
          std::make_unique<Surface>(kFakeImageWidth, kFakeImageHeight, MenuImageColour(k));
  }

  int32_t PointerX() const override { return x; }
  int32_t PointerY() const override { return y; }
  bool PointerSteering() const override { return steering; }
  // The intents, kept as the screens the main window would show for them.
  void ShowMainMenu() override { screen = scrMainMenu; }
  void BeginKeyCapture() override { screen = scrKeyCapture; }
  void EndKeyCapture() override { screen = scrOptions; }
  void PlayMenuSound() override { ++sounds; }
  void ExecuteCommand() override {
    ++commands;
    if (onCommand) onCommand();
  }
  uint32_t TickCount() override { return tick; }
  TextRenderer& Text() override { return SharedText(); }
  const ImageSets& Images() const override { return images; }

  // The pointer moves: the menus follow it from now on.
  void MoveTo(int32_t px, int32_t py) {
    x = px;
    y = py;
    steering = true;
  }
  // A key press stops the pointer steering until it moves again.
  void KeyPressed() { steering = false; }

  int32_t x = 0;
  int32_t y = 0;
  bool steering = false;
  ScreenState screen = scrMainMenu;
  int sounds = 0;
  int commands = 0;
  uint32_t tick = 0;
  std::function<void()> onCommand;
  ImageSets images;
};

// A black 800 x 600 frame.
inline Surface Frame() { return Surface(800, 600, 0); }

}  // namespace sf::testing
