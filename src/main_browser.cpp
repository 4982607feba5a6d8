// Salt Fang in the browser: the same program on the browser's platform layer. The page calls one
// pass of the program's loop at a time; the settings file lives in the browser's storage. A page
// opened with ?watch=ID plays a world result's replay instead (watch_browser.h).
#include <emscripten.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "app/ConfigKeeper.h"
#include "app/Form.h"
#include "app/Platform.h"
#include "core/ScreenState.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlSound.h"
#include "platform/sdl/SdlSoundDevice.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/web/BrowserLoop.h"
#include "platform/web/BrowserStorage.h"
#include "platform/web/FetchHttp.h"
#include "platform/web/PageInput.h"
#include "platform/web/PageView.h"
#include "platform/web/WatchPage.h"
#include "platform/web/WebShell.h"
#include "ui/Menus.h"
#include "watch_browser.h"

namespace {

// The game's files are packed into the page's virtual file system here; the settings file is kept
// in the persistent folder.
constexpr const char* kGameFolder = "/game";
constexpr const char* kSavedFolder = "/saved";

// What the page shows around the picture: its touch buttons during a game, its input element
// over the name field while that takes letters (the name entry, or the options page's name row
// switched to typing).
sf::PageView ViewOf(sf::TForm1& form) {
  sf::PageView view;
  view.Playing = form.Screen() == sf::scrGame;
  view.Paused = form.Screen() == sf::scrPause;
  sf::Menus& menus = form.Widgets();
  const sf::TDDEdit& options = menus.OptionsMenu.NameEdit;
  const sf::TDDEdit* field = nullptr;
  if (form.Screen() == sf::scrEnterName) field = &menus.NameEntry;
  if (form.Screen() == sf::scrOptions && options.Focused && options.Editing) field = &options;
  if (field) {
    view.Naming = true;
    view.Name = field->Text;
    view.NameRect = field->Rect;
  }
  return view;
}

// Everything the running game needs, alive for as long as the page is.
struct BrowserGame {
  sf::SdlWindow window;
  sf::PageInput input{window};
  sf::SdlClock clock;
  sf::WebShell shell;
  sf::SdlSoundDevice soundDevice;  // starts silent; the page resumes it on the first key or click
  sf::SdlSound sound{soundDevice};
  sf::SdlMusic music{soundDevice};
  sf::FetchHttp http;
  sf::Platform platform{window, input, clock, shell, sound, music, http};
  sf::TForm1 form;
  std::optional<sf::ConfigKeeper> keeper;  // from the end of start-up on
  sf::BrowserLoop loop;
  sf::PageViewReporter page;

  explicit BrowserGame(sf::TForm1::Files files)
      : form(platform, std::move(files)),
        loop(
            clock, [this] { return Pass(); }, [this] { Closed(); }) {}

  // Start-up in slices, each its own task of the browser's, so that the page stays responsive
  // while the game loads (a phone runs each several times slower).
  void Start() {
    emscripten_sleep(0);
    form.FormCreate();
    emscripten_sleep(0);
    keeper.emplace(form);
    loop.Start();
  }

  // A tab closes without the exit question, so a change is saved in the pass that made it.
  bool Pass() {
    if (!form.Pump()) return false;
    keeper->SaveIfChanged();
    page.Report(ViewOf(form));
    return true;
  }

  void Closed() {
    form.AfterClose();
    // The formatter does not know JavaScript.
    // clang-format off
    EM_ASM({ if (Module['onGameClosed']) Module['onGameClosed'](); });
    // clang-format on
  }
};

}  // namespace

int main() {
  if (chdir(kGameFolder) != 0) {
    std::fprintf(stderr, "Salt Fang: the game's files are missing\n");
    return 1;
  }
  if (const int64_t watch = sf::WatchIdOfPage(); watch != 0) {
    WatchInBrowser(watch);
    return 0;
  }
  if (!sf::MountPersistentFolder(kSavedFolder)) {
    std::fprintf(stderr, "Salt Fang: no browser storage; settings last for this visit only\n");
  }
  sf::TForm1::Files files;
  files.Config = std::string(kSavedFolder) + "/Config.cfg";
  files.Font = "font.ttf";
  // The score service is the one that served the page: its addresses stay relative to the page.
  files.ScoreService = "";
  // Owned by the page from here on: the browser calls the loop until the tab closes.
  auto* game = new BrowserGame(std::move(files));
  game->Start();
  return 0;
}
