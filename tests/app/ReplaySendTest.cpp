// A game played through the main window on the fake platform to a new high score: the result is
// submitted, the game's replay follows in a POST with the result's token, and the score service's
// check of that replay gives the same score.
#include <string>

#include "HighScoreGame.h"
#include "replay/ReplayIdentity.h"
#include "replay/ReplayVerify.h"

namespace sf::testing {
namespace {

using ReplaySend = HighScoreGame;

TEST_F(ReplaySend, AGamePlayedToAHighScoreSendsAReplayThatVerifiesToItsScore) {
  files.ScoreService = "http://scores.test/";
  PlayToHighScore();
  http.Reply("a|b|c|d|T0k-en_9|f");
  http.Reply("ok");
  http.ReplyToPost("");
  Key('Y');
  EXPECT_EQ(form->Screen(), scrHighScores);
  ASSERT_EQ(http.Requests.size(), 2u);
  ASSERT_EQ(http.Posts.size(), 1u);
  EXPECT_EQ(http.Posts[0].Url, "http://scores.test/api/replays?p=T0k-en_9");
  EXPECT_EQ(http.Posts[0].ContentType, "application/octet-stream");

  const replay::Verdict v = replay::PlayBack(http.Posts[0].Body, replay::Limits{});
  ASSERT_TRUE(v.ok) << v.error;
  EXPECT_EQ(v.score, form->Game()->Score);
  EXPECT_EQ(v.claimedScore, form->Game()->Score);
  EXPECT_EQ(v.level, form->Game()->Level);
  // The name typed after the game is part of its recording.
  EXPECT_TRUE(v.nameEntered);
  EXPECT_EQ(v.name, "ROSA");
  RecordProperty("replayBytes", static_cast<int>(http.Posts[0].Body.size()));
  RecordProperty("steps", static_cast<int>(v.steps));
  RecordProperty("score", static_cast<int>(v.score));
}

TEST_F(ReplaySend, TheReplayFollowsOnlyASubmittedResultAndItsFailureChangesNothing) {
  StartGame();
  Frame(200);
  form->Config().highScores.Entries.back().Score = -1;  // the empty game still enters the table
  form->Game()->Leave();
  for (int i = 0; i < 300 && form->Screen() == scrGame; ++i) Frame();
  ASSERT_EQ(form->Screen(), scrEnterName);
  Key('A');
  Key(vkReturn);
  ASSERT_EQ(form->Screen(), scrSendQuestion);

  http.Fail();  // no service: no replay
  Key('Y');
  EXPECT_EQ(form->Screen(), scrConnectFailed);
  EXPECT_TRUE(http.Posts.empty());
  http.Reply("a|b|c|d|tok|f");
  http.Fail();  // the submission fails: no replay either
  Key('Y');
  EXPECT_EQ(form->Screen(), scrConnectFailed);
  EXPECT_TRUE(http.Posts.empty());
  http.Reply("a|b|c|d|tok|f");
  http.Reply("ok");  // the POST finds no reply: it fails, and the page is the same
  Key('Y');
  EXPECT_EQ(form->Screen(), scrHighScores);
  ASSERT_EQ(http.Posts.size(), 1u);
  EXPECT_FALSE(http.Posts[0].Body.empty());
  http.Reply("a|b|c|d||f");  // no token: nothing to send the replay to
  http.Reply("ok");
  form->GoTo(scrSendQuestion);
  Key('Y');
  EXPECT_EQ(form->Screen(), scrHighScores);
  EXPECT_EQ(http.Posts.size(), 1u);
}

// The name entry opens with the last name typed; only what changes the field is recorded, so the
// replay names exactly what was sent.
TEST_F(ReplaySend, TheReplayNamesWhatTheFieldHeldWhenTheNameWasConfirmed) {
  StartGame();
  Frame(200);
  form->Config().highScores.Entries.back().Score = -1;
  form->Widgets().NameEntry.SetText("Ann");  // from an earlier game
  form->Game()->Leave();
  for (int i = 0; i < 300 && form->Screen() == scrGame; ++i) Frame();
  ASSERT_EQ(form->Screen(), scrEnterName);
  for (uint16_t key : {uint16_t{vkBack}, uint16_t{vkBack}, uint16_t{'X'}, uint16_t{'1'}}) Key(key);
  for (int i = 0; i < 12; ++i) Key('Q');  // the field takes ten letters
  Key(vkReturn);
  ASSERT_EQ(form->Screen(), scrSendQuestion);
  const std::string typed = form->Widgets().NameEntry.Text;
  EXPECT_EQ(typed.size(), 10u);
  http.Reply("a|b|c|d|tok|f");
  http.Reply("ok");
  http.ReplyToPost("");
  Key('Y');
  ASSERT_EQ(http.Posts.size(), 1u);
  const replay::Verdict v = replay::PlayBack(http.Posts[0].Body, replay::Limits{});
  ASSERT_TRUE(v.ok) << v.error;
  EXPECT_TRUE(v.nameEntered);
  EXPECT_TRUE(replay::SameName(v.name, typed)) << v.name << " / " << typed;
  EXPECT_EQ(v.name.substr(0, 2), "AX");
}

}  // namespace
}  // namespace sf::testing
