// The first moments of a run: the saved settings rule from the very first sound.
#include "FormFixture.h"
#include "options/ConfigFile.h"

namespace sf::testing {
namespace {

using StartUp = FormFixture;

TEST_F(StartUp, SavedSoundOffKeepsTheStartSilentWhileSoundOnClicksAsTheMenusAreBuilt) {
  Start();  // first start: defaults, sound on
  EXPECT_EQ(sound.Plays.size(), 3u) << "each button collection selects its first item with a click";
  form.reset();

  Settings quiet;
  quiet.SoundOn = false;
  quiet.MusicOn = false;
  HighScores table;
  ResetHighScores(table);
  ASSERT_TRUE(SaveConfig(files.Config, quiet, table));
  sound.Plays.clear();
  music.Calls.clear();
  Start();
  EXPECT_TRUE(sound.Plays.empty()) << "no click at all with sound off";
  for (const std::string& call : music.Calls) EXPECT_EQ(call.find("load"), std::string::npos) << call;
  SkipIntro();
  Key(vkDown);
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrOptions);
  EXPECT_TRUE(sound.Plays.empty()) << "the menus stay silent too";
  form->Widgets().OptionsMenu.Cursor = 5;
  Key(vkLeft);  // sound on
  EXPECT_TRUE(form->Config().settings.SoundOn);
  EXPECT_FALSE(sound.Plays.empty()) << "switching sound on is heard at once";
}

}  // namespace
}  // namespace sf::testing
