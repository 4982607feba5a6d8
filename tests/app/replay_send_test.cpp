// A game played through the main window on the fake platform to a new high score: the result is
// submitted, the game's replay follows in a POST with the result's token, and the score service's
// check of that replay gives the same score.
#include <string>

#include "FormFixture.h"
#include "game/Game.h"
#include "game/GameTables.h"
#include "replay/ReplayVerify.h"

namespace sf::testing {
namespace {

class ReplaySend : public FormFixture {
 protected:
  void StartGame() {
    Start();
    SkipIntro();
    for (auto& entry : form->highScores.Entries) entry.Score = 0;  // any score enters the table
    form->menus->MainMenu.Select(0);
    Key(vkReturn);
    ASSERT_EQ(form->ScreenState, scrGame);
  }

  // Steers towards the first enemy and fires, with the keys or the mouse.
  void Steer(int frame) {
    std::fill(std::begin(window.Keys), std::end(window.Keys), uint8_t{0});
    const TGame& game = *form->CurrentGame;
    int target = 400;
    for (const auto& e : game.Engine.Slots) {
      if (e && e->Kind != enmSupplyPlane && e->Y > 0) {
        target = e->X + kEnemyKinds[e->Kind].Size.Width / 2;
        break;
      }
    }
    const int centre = game.Ship.X + 13;
    const int direction = centre < target - 4 ? 1 : centre > target + 4 ? -1 : 0;
    if ((frame / 400) % 2 == 1) {
      window.Mouse.X = 3 * direction;
      window.Mouse.Buttons[0] = 0x80;
    } else {
      window.Mouse.Buttons[0] = 0;
      if (direction > 0) window.Keys[kScanRight] = 0x80;
      if (direction < 0) window.Keys[kScanLeft] = 0x80;
      window.Keys[kScanLeftCtrl] = 0x80;
    }
  }

  // Plays until the game has a score, with a pause, a lost focus and weapon changes on the way,
  // then leaves it and enters the name.
  void PlayToHighScore() {
    StartGame();
    int frame = 0;
    for (; frame < 64 * 120 && (frame < 1200 || form->CurrentGame->Score == 0); ++frame) {
      Steer(frame);
      if (frame == 300) {
        Key('P');
        Frame(20);
        ASSERT_EQ(form->ScreenState, scrPause);
        Key('P');
      }
      if (frame == 700) {
        form->ApplicationEvents1Deactivate();
        Frame(10);
        form->ApplicationEvents1Activate();
        ASSERT_EQ(form->ScreenState, scrPause);
        Key('P');
      }
      if (frame % 250 == 100 && form->CurrentGame->Phase == phasePlaying) Key(vkSpace);
      Frame();
    }
    ASSERT_GT(form->CurrentGame->Score, 0) << "no enemy was hit in " << frame << " frames";
    std::fill(std::begin(window.Keys), std::end(window.Keys), uint8_t{0});
    while (form->CurrentGame->Phase != phasePlaying) Frame();
    Key(vkEscape);
    ASSERT_EQ(form->ScreenState, scrQuitGameQuestion);
    Key('Y');
    for (int i = 0; i < 300 && form->ScreenState == scrGame; ++i) Frame();
    ASSERT_EQ(form->ScreenState, scrEnterName);
    for (char c : std::string("ROSA")) Key(static_cast<uint16_t>(c));
    Key(vkReturn);
    ASSERT_EQ(form->ScreenState, scrSendQuestion);
  }
};

TEST_F(ReplaySend, AGamePlayedToAHighScoreSendsAReplayThatVerifiesToItsScore) {
  files.ScoreService = "http://scores.test/";
  PlayToHighScore();
  http.Reply("a|b|c|d|T0k-en_9|f");
  http.Reply("ok");
  http.ReplyToPost("");
  Key('Y');
  EXPECT_EQ(form->ScreenState, scrHighScores);
  ASSERT_EQ(http.Requests.size(), 2u);
  ASSERT_EQ(http.Posts.size(), 1u);
  EXPECT_EQ(http.Posts[0].Url, "http://scores.test/api/replays?p=T0k-en_9");
  EXPECT_EQ(http.Posts[0].ContentType, "application/octet-stream");

  const replay::Verdict v = replay::PlayBack(http.Posts[0].Body, replay::Limits{});
  ASSERT_TRUE(v.ok) << v.error;
  EXPECT_EQ(v.score, form->CurrentGame->Score);
  EXPECT_EQ(v.claimedScore, form->CurrentGame->Score);
  EXPECT_EQ(v.level, form->CurrentGame->Level);
  RecordProperty("replayBytes", static_cast<int>(http.Posts[0].Body.size()));
  RecordProperty("steps", static_cast<int>(v.steps));
  RecordProperty("score", static_cast<int>(v.score));
}

TEST_F(ReplaySend, TheReplayFollowsOnlyASubmittedResultAndItsFailureChangesNothing) {
  StartGame();
  Frame(200);
  form->highScores.Entries.back().Score = -1;  // the empty game still enters the table
  form->CurrentGame->Leave();
  for (int i = 0; i < 300 && form->ScreenState == scrGame; ++i) Frame();
  ASSERT_EQ(form->ScreenState, scrEnterName);
  Key('A');
  Key(vkReturn);
  ASSERT_EQ(form->ScreenState, scrSendQuestion);

  http.Fail();  // no service: no replay
  Key('Y');
  EXPECT_EQ(form->ScreenState, scrConnectFailed);
  EXPECT_TRUE(http.Posts.empty());
  http.Reply("a|b|c|d|tok|f");
  http.Fail();  // the submission fails: no replay either
  Key('Y');
  EXPECT_EQ(form->ScreenState, scrConnectFailed);
  EXPECT_TRUE(http.Posts.empty());
  http.Reply("a|b|c|d|tok|f");
  http.Reply("ok");  // the POST finds no reply: it fails, and the page is the same
  Key('Y');
  EXPECT_EQ(form->ScreenState, scrHighScores);
  ASSERT_EQ(http.Posts.size(), 1u);
  EXPECT_FALSE(http.Posts[0].Body.empty());
  http.Reply("a|b|c|d||f");  // no token: nothing to send the replay to
  http.Reply("ok");
  form->ScreenState = scrSendQuestion;
  Key('Y');
  EXPECT_EQ(form->ScreenState, scrHighScores);
  EXPECT_EQ(http.Posts.size(), 1u);
}

}  // namespace
}  // namespace sf::testing
