#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/Audio.h"
#include "core/ScreenState.h"
#include "platform/fake/FakeMusic.h"
#include "platform/fake/FakeSound.h"

namespace sf {
namespace {

using Calls = std::vector<std::string>;

class AudioMusic : public ::testing::Test {
 protected:
  FakeSound sound;
  FakeMusic music;
  Audio audio{sound, music};

  // Lets the sounding song run through the given orders, one music check each.
  void RunOrders(std::initializer_list<int32_t> orders, uint32_t screen, bool musicOn = true) {
    for (int32_t order : orders) {
      music.Order = order;
      audio.MusicTick(screen, musicOn);
    }
  }
};

TEST_F(AudioMusic, StartMusicLoadsFromTheSoundFolderAndRestartsEachTime) {
  audio.StartMusic("1.xm");
  EXPECT_EQ(music.Calls, (Calls{"load sound/1.xm -> 1", "play 1"}));
  EXPECT_EQ(audio.CurrentSong(), 1u);
  music.Order = 3;
  audio.StartMusic("1.xm");  // music switched on while the same track plays
  EXPECT_EQ(music.Calls, (Calls{"load sound/1.xm -> 1", "play 1", "free 1", "load sound/1.xm -> 2", "play 2"}));
  EXPECT_EQ(audio.CurrentSong(), 2u);
  EXPECT_EQ(music.SongGetOrder(2), 0);
}

TEST_F(AudioMusic, StopMusicTwiceIsHarmless) {
  audio.StopMusic();
  EXPECT_TRUE(music.Calls.empty());
  audio.StartMusic("2.xm");
  audio.StopMusic();
  audio.StopMusic();
  EXPECT_EQ(music.Calls, (Calls{"load sound/2.xm -> 1", "play 1", "free 1"}));
  EXPECT_EQ(audio.CurrentSong(), 0u);
}

TEST_F(AudioMusic, TrackThatCannotBeLoadedLeavesNoSong) {
  music.MissingPaths = {"sound/2.xm"};
  audio.StartMusic("1.xm");
  audio.StartMusic("2.xm");
  // The previous song was freed before the load, and nothing plays.
  EXPECT_EQ(music.Calls, (Calls{"load sound/1.xm -> 1", "play 1", "free 1", "load sound/2.xm -> 0"}));
  EXPECT_EQ(audio.CurrentSong(), 0u);
  RunOrders({1, 0}, scrGame);
  audio.StopMusic();
  EXPECT_EQ(music.Calls.size(), 4u);
}

TEST_F(AudioMusic, TickReloadsTheScreensTrackWhenTheSongComesRound) {
  audio.StartMusic("2.xm");
  RunOrders({0, 1, 2}, scrGame);
  EXPECT_EQ(audio.LastSongOrder(), 2);
  EXPECT_EQ(music.Calls.size(), 2u);
  RunOrders({0}, scrMainMenu);  // the game ended meanwhile: the menu track follows
  EXPECT_EQ(music.Calls, (Calls{"load sound/2.xm -> 1", "play 1", "free 1", "load sound/1.xm -> 2", "play 2"}));
  EXPECT_EQ(audio.LastSongOrder(), 0);
  RunOrders({0, 0}, scrMainMenu);  // the new song starts at 0: no second switch
  EXPECT_EQ(music.Calls.size(), 5u);
}

TEST_F(AudioMusic, TrackFollowsTheScreenState) {
  struct Case {
    uint32_t screen;
    const char* track;  // nullptr: no switch
  };
  const Case cases[] = {
      {scrIntro, "1.xm"},      {scrMainMenu, "1.xm"},     {scrOptions, "1.xm"},  {scrHighScores, "1.xm"},
      {scrHelpOverview, "1.xm"}, {6, "1.xm"},             {scrExitQuestion, "1.xm"}, {scrClearQuestion, "1.xm"},
      {9, "1.xm"},             {10, "1.xm"},              {scrGame, "2.xm"},     {11, "2.xm"},
      {12, nullptr},           {scrKeyCapture, nullptr},  {scrPause, nullptr},   {scrEnterName, nullptr},
      {scrSendQuestion, nullptr}, {scrQuitGameQuestion, nullptr}, {scrConnectFailed, nullptr},
      {scrPleaseWait, nullptr}, {scrHelpNavigation, nullptr}, {scrHelpEnemies, nullptr}, {scrAbout, nullptr},
  };
  for (const Case& c : cases) {
    FakeMusic m;
    Audio a(sound, m);
    a.StartMusic("1.xm");
    m.Order = 4;
    a.MusicTick(c.screen, true);
    m.Order = 0;
    a.MusicTick(c.screen, true);
    if (c.track != nullptr) {
      ASSERT_EQ(m.Calls.size(), 5u) << c.screen;
      EXPECT_EQ(m.Calls[3], std::string("load sound/") + c.track + " -> 2") << c.screen;
      EXPECT_EQ(a.CurrentSong(), 2u);
    } else {
      EXPECT_EQ(m.Calls.size(), 2u) << c.screen;
      EXPECT_EQ(a.CurrentSong(), 1u);
    }
    EXPECT_EQ(a.LastSongOrder(), 0) << c.screen;
  }
}

TEST_F(AudioMusic, WrapOnAScreenWithoutTrackIsNotSwitchedLater) {
  audio.StartMusic("2.xm");
  RunOrders({1, 2, 0}, scrPause);
  RunOrders({0, 0}, scrGame);  // back in the game, but the wrap has passed
  EXPECT_EQ(music.Calls.size(), 2u);
  RunOrders({1, 0}, scrGame);  // the next wrap switches
  EXPECT_EQ(music.Calls.size(), 5u);
}

TEST_F(AudioMusic, StartingATrackForgetsTheOldSongsOrder) {
  audio.StartMusic("1.xm");
  RunOrders({5}, scrMainMenu);
  audio.StartMusic("2.xm");  // new game: the new song answers 0 at first
  EXPECT_EQ(audio.LastSongOrder(), 0);
  RunOrders({0}, scrGame);
  EXPECT_EQ(music.Calls.size(), 5u);
  RunOrders({3}, scrGame);
  audio.StopMusic();
  EXPECT_EQ(audio.LastSongOrder(), 0);
}

TEST_F(AudioMusic, TickActsOnlyWithMusicOnAndASong) {
  RunOrders({1, 0}, scrMainMenu);
  EXPECT_TRUE(music.Calls.empty());
  audio.StartMusic("1.xm");
  RunOrders({1, 2, 0}, scrMainMenu, false);
  EXPECT_EQ(music.Calls.size(), 2u);
  // A reload that fails leaves no song, and the check then rests.
  music.MissingPaths = {"sound/1.xm"};
  RunOrders({2, 0}, scrMainMenu);
  EXPECT_EQ(audio.CurrentSong(), 0u);
  EXPECT_EQ(music.Calls.back(), "load sound/1.xm -> 0");
  RunOrders({1, 0}, scrMainMenu);
  EXPECT_EQ(music.Calls.size(), 4u);
}

}  // namespace
}  // namespace sf
