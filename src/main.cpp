// Salt Fang: builds the real platform and the main window, runs the message loop.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/Form.h"
#include "app/Platform.h"
#include "platform/sdl/CurlHttp.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlFolders.h"
#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlShell.h"
#include "platform/sdl/SdlSound.h"
#include "platform/sdl/SdlSoundDevice.h"
#include "platform/sdl/SdlWindow.h"

namespace {

#ifdef SALTFANG_INSTALLED
// An installed game never touches the working folder (a menu starts it in the home folder, where
// another program's Config.cfg may lie): its data lie at a fixed place relative to the executable,
// and Config.cfg is in the player's own folder.
sf::TForm1::Files GameFiles() {
  const std::string executable = sf::ExecutableFolder();
  if (executable.empty()) throw std::runtime_error("cannot find the folder the game is installed in");
  const std::string player = sf::PlayerFolder("saltfang");
  return sf::TForm1::Files::InFolders(executable + SALTFANG_DATA_FROM_EXE, player);
}
#else
// The game folder's program keeps everything in the working folder.
sf::TForm1::Files GameFiles() { return {}; }
#endif

}  // namespace

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
    sf::TForm1 form(platform, GameFiles());
    form.FormCreate();
    form.Run();
    form.AfterClose();
  } catch (const sf::PackError& e) {
    // Started without its data (a copy of the program alone, a damaged install): a player who
    // started it from a menu sees no terminal, so the message box says it too.
    std::fprintf(stderr, "Salt Fang: %s\n", e.what());
    window->ShowError("Salt Fang", std::string("Salt Fang cannot start: its data is missing or damaged.\n\n") +
                                       e.what() + "\n\nStart the game from its own folder, or install it again.");
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Salt Fang: %s\n", e.what());
    window->ShowError("Salt Fang", e.what());
    return 1;
  }
  return 0;
}
