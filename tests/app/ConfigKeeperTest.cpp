#include <gtest/gtest.h>

#include <filesystem>

#include "FormFixture.h"
#include "app/ConfigKeeper.h"
#include "options/ConfigFile.h"

namespace sf::testing {
namespace {

class KeptConfig : public FormFixture {
 protected:
  void StartKept() {
    Start();
    SkipIntro();
    keeper = std::make_unique<ConfigKeeper>(*form);
  }
  // What the file holds now, decoded.
  void Load(Settings& settings, HighScores& table) const { ASSERT_TRUE(DecodeConfig(ConfigBytes(), settings, table)); }
  std::unique_ptr<ConfigKeeper> keeper;
};

TEST_F(KeptConfig, NothingIsWrittenWhileNothingChanges) {
  StartKept();
  std::filesystem::remove(files.Config);
  form->GoTo(scrOptions);
  Key(vkDown);  // moving the cursor changes nothing kept
  Frame(3);
  EXPECT_FALSE(keeper->SaveIfChanged());
  EXPECT_FALSE(std::filesystem::exists(files.Config));
}

TEST_F(KeptConfig, AnOptionIsSavedInThePassThatChangedItAndOnlyOnce) {
  StartKept();
  form->GoTo(scrOptions);
  form->Widgets().OptionsMenu.Cursor = 2;
  Key(vkRight);  // music off
  ASSERT_FALSE(form->Config().settings.MusicOn);
  EXPECT_TRUE(keeper->SaveIfChanged());
  Settings saved;
  HighScores table;
  Load(saved, table);
  EXPECT_FALSE(saved.MusicOn);
  EXPECT_TRUE(saved.SoundOn);
  EXPECT_FALSE(keeper->SaveIfChanged());
  form->Widgets().OptionsMenu.Cursor = 2;
  Key(vkLeft);  // and on again: a change back is a change too
  EXPECT_TRUE(keeper->SaveIfChanged());
  Load(saved, table);
  EXPECT_TRUE(saved.MusicOn);
}

TEST_F(KeptConfig, TheNameTypedOnTheOptionsPageAndTheMinimiseKeyAreKept) {
  StartKept();
  form->GoTo(scrOptions);
  auto& edit = form->Widgets().OptionsMenu.NameEdit;
  edit.Focused = true;
  edit.Editing = true;
  Key('A');
  Key('L');
  ASSERT_EQ(edit.Text, "AL");
  EXPECT_TRUE(keeper->SaveIfChanged());
  Settings saved;
  HighScores table;
  Load(saved, table);
  EXPECT_EQ(saved.PlayerName, "AL");
  form->Config().settings.MinimizeKey = 'Q';
  EXPECT_TRUE(keeper->SaveIfChanged());
  Load(saved, table);
  EXPECT_EQ(saved.MinimizeKey, 'Q');
  EXPECT_EQ(saved.PlayerName, "AL");
}

TEST_F(KeptConfig, ClearingTheTableIsSavedAtOnce) {
  StartKept();
  InsertHighScore(form->Config().highScores, "Zed", 99999);
  ASSERT_TRUE(keeper->SaveIfChanged());
  form->GoTo(scrHighScores);
  form->Widgets().HighScoreButtons.Select(0);
  Key(vkReturn);
  Key(vkReturn);  // Ok
  ASSERT_EQ(form->Screen(), scrHighScores);
  EXPECT_TRUE(keeper->SaveIfChanged());
  Settings saved;
  HighScores table;
  Load(saved, table);
  EXPECT_NE(table[0].Name, "Zed");
  EXPECT_EQ(table[0].Score, HighScores{}[0].Score);
}

TEST_F(KeptConfig, AFailedSaveIsTriedAgainAfterTheNextPass) {
  // The settings file's folder is missing from the start: the first start cannot write it either.
  const std::filesystem::path folder = std::filesystem::path(files.Config).parent_path() / "gone";
  files.Config = (folder / "Config.cfg").string();
  StartKept();
  ASSERT_FALSE(std::filesystem::exists(files.Config));
  form->Config().settings.SoundOn = false;
  EXPECT_FALSE(keeper->SaveIfChanged());  // the folder is missing
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(keeper->SaveIfChanged());
  Settings saved;
  HighScores table;
  Load(saved, table);
  EXPECT_FALSE(saved.SoundOn);
}

}  // namespace
}  // namespace sf::testing
