#pragma once
#include "platform/Platform.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeHttp.h"
#include "platform/fake/FakeMusic.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeSound.h"
#include "platform/fake/FakeWindow.h"

namespace sf {

// Every fake service in one place, wired into a Platform: the window (display and input), a
// manual clock, recorded shell, sound and music calls, and scripted HTTP replies. Not movable,
// since `services` points into it.
struct FakePlatform {
  FakePlatform() = default;
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeWindow window;
  FakeClock clock;
  FakeShell shell;
  FakeSound sound;
  FakeMusic music;
  FakeHttp http;
  Platform services{window, window, clock, shell, sound, music, http};
};

}  // namespace sf
