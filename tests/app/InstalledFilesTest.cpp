// An installed game reads its data from the install folder and keeps Config.cfg in the player's
// folder: nothing of it may touch the working folder, where another program's Config.cfg may lie.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "options/ConfigFile.h"
#include "ui/MenuItems.h"

namespace sf::testing {
namespace {

namespace fs = std::filesystem;

// Works in an empty folder that stands for the home folder a menu starts the game in, and puts
// the working folder back afterwards.
class InstalledGame : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    root_ = fs::temp_directory_path() / ("saltfang_installed_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(home());
    fs::create_directories(player());
    previous_ = fs::current_path();
    fs::current_path(home());
  }
  void TearDown() override {
    FormFixture::TearDown();
    fs::current_path(previous_);
    fs::remove_all(root_);
  }
  fs::path home() const { return root_ / "home"; }
  fs::path player() const { return root_ / "player"; }
  static std::string DataFolder() { return std::string(SALTFANG_GAME_DIR) + "/"; }
  std::vector<std::string> HomeListing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(home())) names.push_back(entry.path().string());
    return names;
  }
  void CloseThroughTheExitQuestion() {
    window.Push(InputEvent::CloseRequest);
    form->Pump();
    ASSERT_EQ(form->Screen(), scrExitQuestion);
    Key(vkReturn);
    ASSERT_TRUE(form->IsClosed());
    form->AfterClose();
  }

 private:
  fs::path root_;
  fs::path previous_;
};

TEST_F(InstalledGame, ReadsTheInstallFolderAndWritesOnlyThePlayersFolder) {
  files = TForm1::Files::InFolders(DataFolder(), player().string() + "/");
  EXPECT_EQ(files.Pack, DataFolder() + "Data/Data.pp");
  Start();
  ASSERT_FALSE(music.Calls.empty());
  EXPECT_EQ(music.Calls[0].rfind("load " + DataFolder() + "sound/1.xm", 0), 0u) << music.Calls[0];
  EXPECT_TRUE(fs::exists(player() / "Config.cfg")) << "the first start writes the defaults there";

  SkipIntro();
  form->Widgets().MainMenu.SetIndex(static_cast<int32_t>(MainMenuItem::MoreGames));
  Key(vkReturn);
  form->Widgets().MainMenu.SetIndex(static_cast<int32_t>(MainMenuItem::Options));
  Key(vkReturn);
  ASSERT_EQ(form->Screen(), scrOptions);
  form->Widgets().OptionsMenu.Cursor = static_cast<int32_t>(OptionsItem::MusicOff);
  Key(vkRight);
  Key(vkEscape);
  CloseThroughTheExitQuestion();

  EXPECT_EQ(shell.FilesRequested, (std::vector<std::string>{DataFolder() + "moregames.url", DataFolder() + "wgame.exe",
                                                            DataFolder() + "Play.url"}));
  EXPECT_TRUE(HomeListing().empty()) << "the working folder stays untouched";
  Settings settings;
  HighScores table;
  ASSERT_TRUE(LoadConfig(player() / "Config.cfg", settings, table).Complete);
  EXPECT_FALSE(settings.MusicOn);
}

TEST_F(InstalledGame, WithoutAFolderOfItsOwnPlaysOnAndSaysSoOnce) {
  files = TForm1::Files::InFolders(DataFolder(), "");
  EXPECT_TRUE(files.Config.empty()) << "never the working folder's Config.cfg";
  ::testing::internal::CaptureStderr();
  Start();
  SkipIntro();
  EXPECT_FALSE(form->SaveConfig());
  EXPECT_FALSE(form->SaveConfig());
  const std::string told = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
  EXPECT_NE(told.find("will not be kept"), std::string::npos) << told;
  EXPECT_EQ(form->Screen(), scrMainMenu);
  EXPECT_TRUE(HomeListing().empty());
}

TEST_F(InstalledGame, AFolderThatCannotBeWrittenIsToldOnceAndTheGamePlaysOn) {
  // A folder that does not exist stands for one without write permission (tests may run as root).
  files = TForm1::Files::InFolders(DataFolder(), (player() / "missing").string() + "/");
  ::testing::internal::CaptureStderr();
  Start();
  SkipIntro();
  Key(vkReturn);  // a new game
  EXPECT_EQ(form->Screen(), scrGame);
  EXPECT_FALSE(form->SaveConfig());
  const std::string told = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
  EXPECT_NE(told.find("missing/Config.cfg"), std::string::npos) << told;
  EXPECT_TRUE(HomeListing().empty());
}

}  // namespace
}  // namespace sf::testing
