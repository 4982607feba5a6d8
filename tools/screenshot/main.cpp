// Renders every screen of Salt Fang with the real main window on the fake platform and writes one
// PNG per screen: saltfang-screenshots <output folder> [game folder]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PngWriter.h"
#include "app/Form.h"
#include "app/Platform.h"
#include "game/Effects.h"
#include "game/Game.h"
#include "game/GameTables.h"
#include "gfx/Blit.h"
#include "gfx/ImageSets.h"
#include "platform/Input.h"
#include "platform/fake/FakePlatform.h"
#include "ui/Menus.h"

namespace {

class ScreenshotRun {
 public:
  ScreenshotRun(const std::filesystem::path& out, const std::filesystem::path& game)
      : out_(out), form_(fake_.services, Files(out, game)) {}

  static sf::TForm1::Files Files(const std::filesystem::path& out, const std::filesystem::path& game) {
    sf::TForm1::Files f;
    f.Pack = (game / "Data" / "Data.pp").string();
    f.Config = (out / "Config.cfg").string();
    if (std::filesystem::exists(game / "font.ttf")) f.Font = (game / "font.ttf").string();
    return f;
  }

  void Run() {
    std::filesystem::remove(out_ / "Config.cfg");
    form_.FormCreate();
    ContactSheet();
    Frames(60);
    Shot("01_intro");
    Frames(130);
    Shot("02_main_menu");
    for (int i = 0; i < 6; ++i) {
      form_.Widgets().MainMenu.Select(i);
      Frames(1);
      Shot("03_main_menu_item_" + std::to_string(i));
    }
    form_.Widgets().MainMenu.Select(1);
    Show(sf::scrOptions);
    for (int c = 0; c < 8; ++c) {
      form_.Widgets().OptionsMenu.Cursor = c;
      Frames(1);
      Shot("04_options_cursor_" + std::to_string(c));
    }
    form_.Widgets().OptionsMenu.Cursor = 6;
    form_.Widgets().OptionsMenu.NameEdit.Editing = true;
    for (char ch : std::string("CAPTAIN")) form_.Widgets().OptionsMenu.NameEdit.KeyInput(ch);
    Frames(1);
    Shot("05_options_typing_name");
    form_.Widgets().OptionsMenu.NameEdit.Editing = false;
    form_.Widgets().StartKeyCapture();
    Frames(1);
    Shot("06_key_capture");
    form_.Widgets().TryCaptureKey(sf::vkF12);
    form_.Widgets().MainMenu.Select(2);
    Show(sf::scrHighScores);
    Shot("07_high_scores");
    form_.Widgets().HighScoreButtons.Select(1);
    Frames(1);
    Shot("08_high_scores_world_button");
    form_.Widgets().MainMenu.Select(3);
    const sf::ScreenState help[] = {sf::scrHelpOverview, sf::scrHelpNavigation, sf::scrHelpEnemies, sf::scrAbout};
    for (int i = 0; i < 4; ++i) {
      Show(help[i]);
      Shot("09_help_page_" + std::to_string(i + 1));
    }
    form_.Widgets().MainMenu.Select(5);
    Dialog(sf::scrExitQuestion, "10_exit_question");
    Show(sf::scrHighScores);
    Dialog(sf::scrClearQuestion, "11_clear_question");
    PlayGame();
  }

 private:
  // Every image of the pack in pack order, keyed ones over grey so their cut-outs show.
  void ContactSheet() {
    constexpr int32_t kSheetWidth = 1700;
    constexpr int32_t kGap = 6;
    struct Placed {
      const sf::Surface* Image;
      bool Keyed;
      int32_t X, Y;
    };
    std::vector<Placed> placed;
    int32_t x = kGap, y = kGap, rowHeight = 0;
    for (int entry = 0; entry < sf::kPackEntryCount; ++entry) {
      const sf::Surface& image = entry < 42 ? form_.Images().Game(entry) : form_.Images().Menu(entry - 42);
      if (x + image.Width + kGap > kSheetWidth) {
        x = kGap;
        y += rowHeight + kGap;
        rowHeight = 0;
      }
      placed.push_back({&image, true, x, y});
      x += image.Width + kGap;
      rowHeight = std::max(rowHeight, image.Height);
    }
    sf::Surface sheet(kSheetWidth, y + rowHeight + kGap, 0x808890);
    for (const Placed& p : placed) sf::BltFast(sheet, p.X, p.Y, *p.Image, p.Keyed);
    const std::string path = (out_ / "00_contact_sheet.png").string();
    if (!WritePng(sheet, path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  }

  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      clock_.Advance(16);
      form_.FrameStep();
    }
  }
  void Show(sf::ScreenState state) {
    form_.GoTo(state);
    Frames(1);
  }
  void Shot(const std::string& name) {
    const std::string path = (out_ / (name + ".png")).string();
    if (!WritePng(window_.LastFrame, path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  }
  void Dialog(sf::ScreenState state, const std::string& name) {
    form_.SaveSnapshot();
    auto& dialog = state == sf::scrClearQuestion || state == sf::scrEnterName ? form_.Widgets().OkCancelDialog
                                                                              : form_.Widgets().YesNoDialog;
    for (int choice = 1; choice >= 0; --choice) {
      dialog.SetChoice(choice);
      Show(state);
      Shot(name + (choice ? "_left" : "_right"));
    }
    dialog.SetChoice(1);
  }

  // A scripted player: fires all the time, sweeps from side to side and turns the guns.
  void Play(int steps) {
    for (int i = 0; i < steps && form_.Screen() == sf::scrGame; ++i, ++step_) {
      const bool left = (step_ / 90) % 2 == 0;
      window_.Keys[sf::kScanLeft] = left ? 0x80 : 0;
      window_.Keys[sf::kScanRight] = left ? 0 : 0x80;
      window_.Keys[sf::kScanUp] = (step_ / 40) % 3 == 0 ? 0x80 : 0;
      if (step_ % 300 == 299) form_.Game()->SelectNextWeapon();
      Frames(1);
    }
  }

  void PlayGame() {
    form_.GoTo(sf::scrMainMenu);
    form_.Widgets().MainMenu.Select(0);
    form_.Widgets().MainMenu.Clicked = true;
    form_.ExecuteCommand();
    window_.Keys[sf::kScanLeftCtrl] = 0x80;
    Play(60);
    Shot("20_game_level_intro");
    Play(700);
    Shot("21_game_level_1");
    // An "Ice" bonus dropped onto the ship freezes every enemy.
    sf::TGame& game = *form_.Game();
    for (auto& slot : game.Bonuses) {
      if (slot) continue;
      slot.emplace(game, static_cast<int16_t>(game.Ship.X + 2), static_cast<int16_t>(game.Ship.Y - 30));
      slot->Kind = sf::bonIce;
      break;
    }
    Play(120);
    Shot("22_game_after_ice");
    game.Level = 6;  // a later level: aircraft come often
    for (int i = 0; i < 4; ++i) {
      game.Health = sf::kMaxHealth;
      Play(500);
      Shot("23_game_level_6_" + std::to_string(i));
    }
    form_.FormKeyDown('P', false);
    Frames(1);
    Shot("24_pause");
    form_.FormKeyDown('P', false);
    Frames(1);
    form_.FormKeyDown(sf::vkEscape, false);
    Frames(1);
    Shot("25_quit_game_question");
    form_.FormKeyDown('N', false);
    // The last life lost: the explosions, then the game-over picture.
    game.Lives = 1;
    game.Health = 0;
    for (int i = 0; i < 64 * 20 && form_.Screen() == sf::scrGame && game.Phase != sf::phaseGameOver; ++i) Play(1);
    Play(30);
    Shot("26_game_over");
    for (int i = 0; i < 400 && form_.Screen() == sf::scrGame; ++i) Frames(1);
    Shot("27_after_the_game");
    form_.SaveSnapshot();
    Dialog(sf::scrEnterName, "28_enter_name");
    Dialog(sf::scrSendQuestion, "29_send_question");
    Dialog(sf::scrConnectFailed, "30_connect_failed");
    Show(sf::scrPleaseWait);
    Shot("31_please_wait");
  }

  std::filesystem::path out_;
  sf::FakePlatform fake_;
  sf::FakeWindow& window_ = fake_.window;
  sf::FakeClock& clock_ = fake_.clock;
  int step_ = 0;
  sf::TForm1 form_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: saltfang-screenshots <output folder> [game folder]\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  const std::filesystem::path game = argc > 2 ? argv[2] : SALTFANG_GAME_DIR;
  std::filesystem::create_directories(out);
  try {
    ScreenshotRun run(out, game);
    run.Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "saltfang-screenshots: %s\n", e.what());
    return 1;
  }
  std::printf("screens written to %s\n", out.string().c_str());
  return 0;
}
