#include "FormFixture.h"
#include "game/Game.h"
#include "game/GameTables.h"

namespace sf::testing {
namespace {

using Window = FormFixture;

TEST_F(Window, CloseRequestsAreRefusedOnProtectedScreensAndAskFirstElsewhere) {
  Start();
  for (ScreenState s : {scrIntro, scrGame, scrPause, scrEnterName, scrSendQuestion}) {
    form->GoTo(s);
    EXPECT_FALSE(form->FormCloseQuery()) << s;
    EXPECT_EQ(form->Screen(), s) << "nothing changes on a protected screen";
  }
  // Every other screen, each answered by its own unit.
  for (ScreenState s :
       {scrMainMenu, scrOptions, scrHighScores, scrHelpOverview, scrHelpNavigation, scrHelpEnemies, scrAbout,
        scrKeyCapture, scrExitQuestion, scrClearQuestion, scrConnectFailed, scrPleaseWait, scrQuitGameQuestion}) {
    form->GoTo(s);
    EXPECT_FALSE(form->FormCloseQuery()) << s;
    EXPECT_EQ(form->Screen(), scrExitQuestion);
  }
}

TEST_F(Window, TheCloseBoxOnTheQuestionToLeaveAGameAsksToExitTheProgram) {
  Start();
  SkipIntro();
  form->Widgets().MainMenu.Select(0);
  Key(vkReturn);
  ASSERT_EQ(form->Screen(), scrGame);
  for (int i = 0; i < 300 && form->Game()->Phase != phasePlaying; ++i) Frame();
  window.Push(InputEvent::CloseRequest);
  form->Pump();
  EXPECT_EQ(form->Screen(), scrGame) << "the game itself keeps the close box unanswered";
  Key(vkEscape);
  ASSERT_EQ(form->Screen(), scrQuitGameQuestion);
  window.Push(InputEvent::CloseRequest);
  EXPECT_TRUE(form->Pump());
  EXPECT_EQ(form->Screen(), scrExitQuestion);
  EXPECT_FALSE(form->IsClosed());
  Key(vkReturn);  // Yes
  EXPECT_TRUE(form->IsClosed());
}

TEST_F(Window, ACloseRequestDuringKeyCapturePutsTheKeyNameBack) {
  Start();
  SkipIntro();
  form->GoTo(scrOptions);
  form->Widgets().StartKeyCapture();
  ASSERT_EQ(form->Widgets().OptionsMenu.KeyButton.Caption, "...");
  window.Push(InputEvent::CloseRequest);
  form->Pump();
  EXPECT_EQ(form->Screen(), scrExitQuestion);
  EXPECT_EQ(form->Widgets().OptionsMenu.KeyButton.Caption, "F12");
}

TEST_F(Window, TheCloseBoxThenYesEndsTheLoopAndWritesTheSettings) {
  Start();
  SkipIntro();
  std::filesystem::remove(files.Config);
  window.Push(InputEvent::CloseRequest);
  EXPECT_TRUE(form->Pump());
  EXPECT_EQ(form->Screen(), scrExitQuestion);
  Key(vkReturn);  // Yes is the first choice
  EXPECT_TRUE(form->IsClosed());
  EXPECT_FALSE(form->Pump());
  EXPECT_EQ(ConfigBytes().size(), 145u);
  form->AfterClose();
  EXPECT_EQ(shell.FilesRequested, (std::vector<std::string>{"wgame.exe", "Play.url"}));
}

TEST_F(Window, TheSystemQuitSavesAndEndsWithoutAsking) {
  Start();
  SkipIntro();
  form->Widgets().OptionsMenu.NameEdit.SetText("Nemo");
  window.Push(InputEvent::Quit);
  EXPECT_FALSE(form->Pump());
  EXPECT_NE(ConfigBytes().find(static_cast<char>(~'N')), std::string::npos) << "the name was saved";
}

TEST_F(Window, DeactivationDuringAGameFreezesItInPauseWithScanLines) {
  Start();
  SkipIntro();
  form->Widgets().MainMenu.Select(0);
  Key(vkReturn);
  ASSERT_EQ(form->Screen(), scrGame);
  Frame(5);
  const Surface before = form->BackBuffer();
  window.Push(InputEvent::Deactivate);
  form->Pump();
  EXPECT_EQ(form->Screen(), scrPause);
  EXPECT_FALSE(window.KeyboardAcquired);
  EXPECT_EQ(form->SnapshotSurface().At(400, 1), before.At(400, 1)) << "odd rows keep the game picture";
  EXPECT_NE(form->SnapshotSurface().At(400, 0), before.At(400, 0)) << "even rows carry the scan line";
  EXPECT_EQ(window.Minimizes, 0) << "a windowed program is not minimised";
  Key('P');
  EXPECT_EQ(form->Screen(), scrGame);
}

TEST_F(Window, ThePointerIsCapturedOnlyWhileAGameIsPlayed) {
  Start();
  SkipIntro();
  EXPECT_FALSE(window.MouseCaptured);
  form->Widgets().MainMenu.Select(0);
  Key(vkReturn);
  Frame();
  EXPECT_TRUE(window.MouseCaptured);
  EXPECT_FALSE(window.CursorVisible);
  Key('P');
  Frame();
  EXPECT_FALSE(window.MouseCaptured) << "never trapped outside the game screen";
  Key('P');
  for (int i = 0; i < 300 && form->Game()->Phase != phasePlaying; ++i) Frame();
  Key(vkEscape);
  Frame();
  EXPECT_FALSE(window.MouseCaptured);
  EXPECT_TRUE(window.CursorVisible) << "the leave question shows the pointer";
  Key('N');
  Frame();
  EXPECT_TRUE(window.MouseCaptured);
  EXPECT_FALSE(window.CursorVisible);
}

TEST_F(Window, FullScreenDeactivationMinimisesFromTheFirstTime) {
  Start();
  SkipIntro();
  window.Push(InputEvent::Deactivate);  // windowed: nothing is minimised
  window.Push(InputEvent::Activate);
  window.Push(InputEvent::MaximizeRequest);
  form->Pump();
  EXPECT_EQ(window.Minimizes, 0);
  EXPECT_FALSE(window.Windowed);
  EXPECT_FALSE(form->Config().settings.Windowed);
  EXPECT_FALSE(form->Widgets().OptionsMenu.DisplayToggle.Checked);
  window.Push(InputEvent::Deactivate);
  form->Pump();
  EXPECT_EQ(window.Minimizes, 1) << "switching to full screen takes no focus away: the first Alt+Tab minimises";
  const int modeSets = window.ModeSets;
  window.Push(InputEvent::Restore);
  form->Pump();
  EXPECT_EQ(window.ModeSets, modeSets + 1) << "restoring rebuilds the full-screen display";
  EXPECT_TRUE(form->Focus().Active());
}

TEST_F(Window, EveryWayIntoFullScreenLeavesTheFirstDeactivationToMinimise) {
  Start();
  SkipIntro();
  auto deactivateThenComeBack = [this] {
    const int minimizes = window.Minimizes;
    window.Push(InputEvent::Deactivate);
    form->Pump();
    if (window.Minimizes > minimizes) window.Push(InputEvent::Restore);
    window.Push(InputEvent::Activate);
    form->Pump();
  };
  form->FormKeyDown(vkReturn, true);  // Alt+Enter
  ASSERT_FALSE(form->Config().settings.Windowed);
  deactivateThenComeBack();
  EXPECT_EQ(window.Minimizes, 1) << "after Alt+Enter";

  form->FormKeyDown(vkReturn, true);
  ASSERT_TRUE(form->Config().settings.Windowed);
  deactivateThenComeBack();  // windowed: remembers the window, minimises nothing
  EXPECT_EQ(window.Minimizes, 1);
  form->GoTo(scrOptions);
  form->Widgets().OptionsMenu.Cursor = 0;
  Key(vkRight);  // the options' display row: full screen
  ASSERT_FALSE(form->Config().settings.Windowed);
  deactivateThenComeBack();
  EXPECT_EQ(window.Minimizes, 2) << "after the options' display row";

  std::string bytes = ConfigBytes();
  form.reset();
  bytes[0] = 0;  // saved as full screen
  std::ofstream(files.Config, std::ios::binary | std::ios::trunc) << bytes;
  Start();
  ASSERT_FALSE(window.Windowed);
  window.Push(InputEvent::Deactivate);
  form->Pump();
  EXPECT_EQ(window.Minimizes, 3) << "after starting in full screen";
}

TEST_F(Window, AltEnterSwitchesModesAndReleasesTheKeyboardAroundIt) {
  Start();
  SkipIntro();
  const Menus* menus = &form->Widgets();
  form->FormKeyDown(vkReturn, true);
  EXPECT_FALSE(form->Config().settings.Windowed);
  EXPECT_EQ(clock.Slept(), 300u);
  EXPECT_TRUE(window.KeyboardAcquired);
  form->FormKeyDown('X', true);  // any other key with Alt: nothing but the pause
  EXPECT_FALSE(form->Config().settings.Windowed);
  form->FormKeyDown(vkReturn, true);
  EXPECT_TRUE(form->Config().settings.Windowed);
  // Reloading for each switch leaves one surface per image slot and the menus in place.
  EXPECT_NE(form->Images().MenuImages[0], nullptr);
  EXPECT_EQ(&form->Widgets(), menus) << "the menus were built again";
}

TEST_F(Window, TheMinimiseKeyWorksOnEveryScreenButNotWithAlt) {
  Start();
  SkipIntro();
  Key(vkF12);
  EXPECT_EQ(window.Minimizes, 1);
  form->FormKeyDown(vkF12, true);
  EXPECT_EQ(window.Minimizes, 1);
  form->GoTo(scrKeyCapture);
  Key(vkF12);
  EXPECT_EQ(window.Minimizes, 2) << "the current minimise key is not captured";
  EXPECT_EQ(form->Screen(), scrKeyCapture);
}

}  // namespace
}  // namespace sf::testing
