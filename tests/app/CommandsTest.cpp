#include "FormFixture.h"
#include "app/ScreenRules.h"
#include "game/Game.h"
#include "game/GameTables.h"
#include "options/HighScores.h"
#include "ui/MenuItems.h"

namespace sf::testing {
namespace {

using Commands = FormFixture;

TEST_F(Commands, TheFirstStartCreatesTheDefaultSettingsFileAndStartsTheMenuMusic) {
  Start();
  EXPECT_EQ(ConfigBytes().size(), 145u);
  EXPECT_TRUE(form->Config().settings.Windowed);
  EXPECT_TRUE(window.Windowed);
  EXPECT_EQ(form->Config().settings.MinimizeKey, 123);
  ASSERT_FALSE(music.Calls.empty());
  EXPECT_NE(music.Calls.front().find("1.xm"), std::string::npos);
  EXPECT_NE(music.Playing, 0u);
}

TEST_F(Commands, MainMenuItemsOpenTheirPagesWithTheMenuSound) {
  Start();
  SkipIntro();
  const size_t plays = sound.Plays.size();
  Key(vkDown);  // Options
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrOptions);
  EXPECT_GT(sound.Plays.size(), plays);
  Key(vkEscape);
  EXPECT_EQ(form->Screen(), scrMainMenu);
  Key(vkDown);
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrHighScores);
  Key(vkEscape);
  Key(vkDown);
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrHelpOverview);
  Key(vkEscape);
  Key(vkDown);
  Key(vkReturn);
  EXPECT_EQ(shell.FilesRequested, std::vector<std::string>{"moregames.url"});
  Key(vkDown);
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrExitQuestion);
  Key('N');
  EXPECT_EQ(form->Screen(), scrMainMenu);
}

TEST_F(Commands, HelpPagesTurnButTheOuterButtonsDoNothingAndStaySilent) {
  Start();
  SkipIntro();
  form->GoTo(scrHelpOverview);
  form->Widgets().HelpButtons.Select(0);
  size_t plays = sound.Plays.size();
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrHelpOverview);
  EXPECT_EQ(sound.Plays.size(), plays);
  form->Widgets().HelpButtons.Select(1);
  for (ScreenState expected : {scrHelpNavigation, scrHelpEnemies, scrAbout}) {
    Key(vkReturn);
    EXPECT_EQ(form->Screen(), expected);
  }
  plays = sound.Plays.size();
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrAbout);
  EXPECT_EQ(sound.Plays.size(), plays);
}

TEST_F(Commands, SoundOffSilencesTheMenuAndMusicOffStopsTheSong) {
  Start();
  SkipIntro();
  form->GoTo(scrOptions);
  form->Widgets().OptionsMenu.Cursor = 5;  // sound off
  form->Widgets().OptionsMenu.Clicked = true;
  form->ExecuteCommand();
  EXPECT_FALSE(form->Config().settings.SoundOn);
  const size_t plays = sound.Plays.size();
  Key(vkUp);
  Key(vkDown);
  EXPECT_EQ(sound.Plays.size(), plays);
  form->Widgets().OptionsMenu.Cursor = 2;
  Key(vkRight);  // music row: Right chooses off
  EXPECT_FALSE(form->Config().settings.MusicOn);
  EXPECT_EQ(music.Playing, 0u);
}

TEST_F(Commands, AChosenMinimiseKeyIsStoredAndSaved) {
  Start();
  SkipIntro();
  form->GoTo(scrOptions);
  form->Widgets().OptionsMenu.Cursor = 7;
  Key(vkReturn);
  ASSERT_EQ(form->Screen(), scrKeyCapture);
  Key('0');  // "Bad": capture goes on
  EXPECT_EQ(form->Screen(), scrKeyCapture);
  Key('Z');
  EXPECT_EQ(form->Screen(), scrOptions);
  EXPECT_EQ(form->Config().settings.MinimizeKey, 'Z');
  EXPECT_EQ(form->Widgets().OptionsMenu.KeyButton.Caption, "Z");
  ASSERT_TRUE(form->SaveConfig());
  EXPECT_EQ(static_cast<uint8_t>(ConfigBytes()[3]), 'Z');
}

// Plays a game that the player leaves at once and waits for its hand-over.
void LeaveGame(FormFixture& f, TForm1& form, FakeClock& clock) {
  form.Widgets().MainMenu.Select(0);
  form.FormKeyDown(vkReturn, false);
  ASSERT_EQ(form.Screen(), scrGame);
  for (int i = 0; i < 300 && form.Game()->Phase != phasePlaying; ++i) {
    clock.Advance(16);
    form.FrameStep();
  }
  form.FormKeyDown(vkEscape, false);
  ASSERT_EQ(form.Screen(), scrQuitGameQuestion);
  form.FormKeyDown(vkReturn, false);  // Yes
  EXPECT_EQ(form.Screen(), scrGame);
  for (int i = 0; i < 400 && form.Screen() == scrGame; ++i) {
    clock.Advance(16);
    form.FrameStep();
  }
  (void)f;
}

TEST_F(Commands, ALowScoreReturnsToTheMainMenu) {
  Start();
  SkipIntro();
  LeaveGame(*this, *form, clock);
  EXPECT_EQ(form->Screen(), scrMainMenu);
  EXPECT_EQ(form->Focus().CursorCounter(), 0) << "the cursor is shown again";
}

TEST_F(Commands, OnlyAStrictlyHigherScoreReachesTheNameEntryWithOkChosen) {
  for (const int32_t score : {500, 501}) {
    Start();
    SkipIntro();
    for (auto& entry : form->Config().highScores.Entries) entry.Score = 500;
    form->Widgets().OkCancelDialog.SetChoice(false);  // an earlier dialog left Cancel chosen
    form->Widgets().MainMenu.Select(0);
    Key(vkReturn);
    ASSERT_EQ(form->Screen(), scrGame);
    form->Game()->Score = score;
    form->Game()->Phase = phaseGameOver;
    for (int i = 0; i < 400 && form->Screen() == scrGame; ++i) Frame();
    if (score == 500) {
      EXPECT_EQ(form->Screen(), scrMainMenu);
      EXPECT_EQ(form->Widgets().MainMenu.Index, 0);
    } else {
      EXPECT_EQ(form->Screen(), scrEnterName);
      EXPECT_EQ(form->Widgets().MainMenu.Index, static_cast<int32_t>(MainMenuItem::HighScores));
      EXPECT_TRUE(form->Widgets().OkCancelDialog.Choice);
      EXPECT_EQ(form->SnapshotSurface().Pixels, window.LastFrame.Pixels) << "the last game picture stays behind";
    }
    form.reset();
  }
}

// Which track comes round on which screen: the menu track beside the main menu, the game track in
// the game, and the song left alone on the later pages and every dialog of the game.
TEST(ScreenMusic, EveryScreenHasTheTrackItWasTimedWith) {
  for (ScreenState s :
       {scrIntro, scrMainMenu, scrOptions, scrHighScores, scrHelpOverview, scrExitQuestion, scrClearQuestion}) {
    EXPECT_STREQ(MusicTrackFor(s), "1.xm") << static_cast<uint32_t>(s);
  }
  EXPECT_STREQ(MusicTrackFor(scrGame), "2.xm");
  for (ScreenState s : {scrKeyCapture, scrPause, scrEnterName, scrSendQuestion, scrQuitGameQuestion, scrConnectFailed,
                        scrPleaseWait, scrHelpNavigation, scrHelpEnemies, scrAbout}) {
    EXPECT_EQ(MusicTrackFor(s), nullptr) << static_cast<uint32_t>(s);
  }
}

TEST_F(Commands, AHighScoreIsEnteredSavedAndSentOnline) {
  Start();
  SkipIntro();
  LeaveGame(*this, *form, clock);
  ASSERT_EQ(form->Screen(), scrMainMenu);
  // The same hand-over with a score above the table's last entry goes to the name entry.
  form->Game()->Score = 5000;
  form->GoTo(scrEnterName);
  for (char c : std::string("ANN")) Key(static_cast<uint16_t>(c));
  Frame();        // the field shows and keeps the name capitalised
  Key(vkReturn);  // Ok
  EXPECT_EQ(form->Screen(), scrSendQuestion);
  EXPECT_EQ(form->Config().highScores[0].Score, 5000);
  EXPECT_EQ(form->Config().highScores[0].Name, "Ann");
  EXPECT_NE(ConfigBytes().find(static_cast<char>(~'A')), std::string::npos) << "the table was saved";

  http.Fail();  // the version query fails
  Key('Y');
  EXPECT_EQ(form->Screen(), scrConnectFailed);
  EXPECT_EQ(http.Requests.size(), 1u);
  const int presents = window.Presents;
  http.Reply("1|2|3|4|5|6");
  http.Reply("OK");
  Key(vkReturn);
  EXPECT_GE(window.Presents, presents + 1) << "\"Please wait...\" is presented before the exchange";
  EXPECT_EQ(form->Screen(), scrHighScores);
  EXPECT_EQ(http.Requests.size(), 3u);
}

TEST_F(Commands, TheNameEntryOpensOnOkAndADisappearedFileIsWrittenFromMemory) {
  Start();
  SkipIntro();
  form->Widgets().OkCancelDialog.SetChoice(0);  // an earlier dialog left Cancel chosen
  LeaveGame(*this, *form, clock);
  form->GoTo(scrMainMenu);
  form->Game()->Score = 777;
  form->Game()->Phase = phaseGameOver;
  form->Game()->PhaseStart = clock.TickCount() - 5000;
  InsertHighScore(form->Config().highScores, "Old", 650);
  form->GoTo(scrGame);
  Frame();  // the game hands over
  ASSERT_EQ(form->Screen(), scrEnterName);
  EXPECT_TRUE(form->Widgets().OkCancelDialog.Choice);
  std::filesystem::remove(files.Config);
  Key(vkReturn);
  EXPECT_EQ(form->Screen(), scrSendQuestion);
  // The file was gone: the table in memory, the new result and the earlier one included, is written.
  const std::string bytes = ConfigBytes();
  ASSERT_FALSE(bytes.empty());
  EXPECT_NE(bytes.find(std::string("\x09\x03\x00\x00", 4)), std::string::npos) << "score 777";
  EXPECT_NE(bytes.find(static_cast<char>(~'O')), std::string::npos);
}

TEST_F(Commands, ClearingTheTableKeepsTheFileUntilTheNextSave) {
  Start();
  SkipIntro();
  InsertHighScore(form->Config().highScores, "Zed", 99999);
  ASSERT_TRUE(form->SaveConfig());
  const std::string saved = ConfigBytes();
  form->GoTo(scrHighScores);
  form->Widgets().HighScoreButtons.Select(0);
  Key(vkReturn);
  ASSERT_EQ(form->Screen(), scrClearQuestion);
  Key(vkReturn);  // Ok
  EXPECT_EQ(form->Screen(), scrHighScores);
  EXPECT_NE(form->Config().highScores[0].Name, "Zed");
  EXPECT_EQ(ConfigBytes(), saved);
}

TEST_F(Commands, TheWorldScoresButtonOpensTheServicePage) {
  Start();
  SkipIntro();
  form->GoTo(scrHighScores);
  form->Widgets().HighScoreButtons.Select(1);
  Key(vkReturn);
  ASSERT_EQ(shell.LinksOpened.size(), 1u);
  EXPECT_NE(shell.LinksOpened[0].find("/cgi/version.pl?prg=Saltfang&show&type=0"), std::string::npos);
}

TEST_F(Commands, WeaponChangeAndPauseKeysInAGame) {
  Start();
  SkipIntro();
  form->Widgets().MainMenu.Select(0);
  Key(vkReturn);
  for (int i = 0; i < 300 && form->Game()->Phase != phasePlaying; ++i) Frame();
  ASSERT_EQ(form->Game()->Phase, phasePlaying);
  form->Game()->Ammo[3] = 5;
  Key(vkSpace);
  EXPECT_EQ(form->Game()->Weapon, 3);
  form->FormMouseWheel();
  EXPECT_EQ(form->Game()->Weapon, 0);
  Key('P');
  EXPECT_EQ(form->Screen(), scrPause);
  Key(vkEscape);
  EXPECT_EQ(form->Screen(), scrGame);
}

}  // namespace
}  // namespace sf::testing

namespace sf::testing {
namespace {

using Restart = FormFixture;

TEST_F(Restart, AFileStartingWithTwoStartsInFullScreen) {
  Start();
  std::string bytes = ConfigBytes();
  form.reset();
  bytes[0] = 2;
  std::ofstream(files.Config, std::ios::binary | std::ios::trunc) << bytes;
  Start();
  EXPECT_FALSE(form->Config().settings.Windowed);
  EXPECT_FALSE(window.Windowed);
  EXPECT_FALSE(form->Widgets().OptionsMenu.DisplayToggle.Checked);
}

TEST_F(Restart, ACapturedKeyAndAClearedTableSurviveARestart) {
  Start();
  SkipIntro();
  InsertHighScore(form->Config().highScores, "Zed", 5000);
  form->GoTo(scrOptions);
  form->Widgets().OptionsMenu.Cursor = 7;
  Key(vkReturn);
  Key('Q');
  ASSERT_EQ(form->Config().settings.MinimizeKey, 81);
  form->GoTo(scrHighScores);
  form->Widgets().HighScoreButtons.Select(0);
  Key(vkReturn);
  Key(vkReturn);  // Ok: the table is reset in memory only
  form->GoTo(scrMainMenu);
  Key(vkEscape);
  Key(vkReturn);  // quit with Yes: the file is written
  ASSERT_TRUE(form->IsClosed());
  const std::string bytes = ConfigBytes();
  EXPECT_EQ(static_cast<uint8_t>(bytes[3]), 81);
  EXPECT_EQ(bytes.size(), 145u) << "the default table";
  form.reset();
  Start();
  EXPECT_EQ(form->Config().settings.MinimizeKey, 81);
  EXPECT_EQ(form->Widgets().OptionsMenu.KeyButton.Caption, "Q");
  EXPECT_EQ(form->Config().highScores[0].Name, "Anonymous");
}

}  // namespace
}  // namespace sf::testing
