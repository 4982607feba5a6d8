// Salt Fang: builds the real platform and the main window, runs the message loop.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "app/Form.h"
#include "app/Platform.h"
#include "platform/sdl/CurlHttp.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlShell.h"
#include "platform/sdl/SdlSound.h"
#include "platform/sdl/SdlSoundDevice.h"
#include "platform/sdl/SdlWindow.h"

int main() {
  std::unique_ptr<sf::SdlWindow> window;
  try {
    window = std::make_unique<sf::SdlWindow>();
    // Measurement aid for bench/run; the game itself reads no settings from the environment.
    if (std::getenv("SALTFANG_FRAME_LOG")) window->EnableFrameLog(stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Salt Fang: %s\n", e.what());
    return 1;
  }
  sf::SdlClock clock;
  sf::SdlShell shell;
  sf::SdlSoundDevice soundDevice;  // silent when there is no sound device
  sf::SdlSound sound(soundDevice);
  sf::SdlMusic music(soundDevice);
  sf::CurlHttp http;
  sf::Platform platform{*window, *window, clock, shell, sound, music, http};
  try {
    sf::TForm1 form(platform);
    form.FormCreate();
    form.Run();
    form.AfterClose();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Salt Fang: %s\n", e.what());
    window->ShowError("Salt Fang", e.what());
    return 1;
  }
  return 0;
}
