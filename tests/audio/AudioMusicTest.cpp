#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/Audio.h"
#include "platform/fake/FakeMusic.h"
#include "platform/fake/FakeSound.h"

namespace sf {
namespace {

using Calls = std::vector<std::string>;
constexpr const char* kMenuTrack = "1.xm";
constexpr const char* kGameTrack = "2.xm";
constexpr const char* kNoTrack = nullptr;  // a screen without a track of its own

class AudioMusic : public ::testing::Test {
 protected:
  FakeSound sound;
  FakeMusic music;
  Audio audio{sound, music};

  // Lets the sounding song run through the given orders, one music check each, on a screen whose
  // track is screenTrack.
  void RunOrders(std::initializer_list<int32_t> orders, const char* screenTrack, bool musicOn = true) {
    for (int32_t order : orders) {
      music.Order = order;
      audio.MusicTick(screenTrack, musicOn);
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
  RunOrders({1, 0}, kGameTrack);
  audio.StopMusic();
  EXPECT_EQ(music.Calls.size(), 4u);
}

TEST_F(AudioMusic, TickReloadsTheScreensTrackWhenTheSongComesRound) {
  audio.StartMusic("2.xm");
  RunOrders({0, 1, 2}, kGameTrack);
  EXPECT_EQ(audio.LastSongOrder(), 2);
  EXPECT_EQ(music.Calls.size(), 2u);
  RunOrders({0}, kMenuTrack);  // the game ended meanwhile: the menu track follows
  EXPECT_EQ(music.Calls, (Calls{"load sound/2.xm -> 1", "play 1", "free 1", "load sound/1.xm -> 2", "play 2"}));
  EXPECT_EQ(audio.LastSongOrder(), 0);
  RunOrders({0, 0}, kMenuTrack);  // the new song starts at 0: no second switch
  EXPECT_EQ(music.Calls.size(), 5u);
}

TEST_F(AudioMusic, TheWrapStartsTheScreensTrackOrKeepsTheSong) {
  for (const char* track : {kMenuTrack, kGameTrack, kNoTrack}) {
    const std::string name = track ? track : "none";
    FakeMusic m;
    Audio a(sound, m);
    a.StartMusic("1.xm");
    m.Order = 4;
    a.MusicTick(track, true);
    m.Order = 0;
    a.MusicTick(track, true);
    if (track != nullptr) {
      ASSERT_EQ(m.Calls.size(), 5u) << name;
      EXPECT_EQ(m.Calls[3], std::string("load sound/") + track + " -> 2") << name;
      EXPECT_EQ(a.CurrentSong(), 2u);
    } else {
      EXPECT_EQ(m.Calls.size(), 2u) << name;
      EXPECT_EQ(a.CurrentSong(), 1u);
    }
    EXPECT_EQ(a.LastSongOrder(), 0) << name;
  }
}

TEST_F(AudioMusic, WrapOnAScreenWithoutTrackIsNotSwitchedLater) {
  audio.StartMusic("2.xm");
  RunOrders({1, 2, 0}, kNoTrack);
  RunOrders({0, 0}, kGameTrack);  // back in the game, but the wrap has passed
  EXPECT_EQ(music.Calls.size(), 2u);
  RunOrders({1, 0}, kGameTrack);  // the next wrap switches
  EXPECT_EQ(music.Calls.size(), 5u);
}

TEST_F(AudioMusic, StartingATrackForgetsTheOldSongsOrder) {
  audio.StartMusic("1.xm");
  RunOrders({5}, kMenuTrack);
  audio.StartMusic("2.xm");  // new game: the new song answers 0 at first
  EXPECT_EQ(audio.LastSongOrder(), 0);
  RunOrders({0}, kGameTrack);
  EXPECT_EQ(music.Calls.size(), 5u);
  RunOrders({3}, kGameTrack);
  audio.StopMusic();
  EXPECT_EQ(audio.LastSongOrder(), 0);
}

TEST_F(AudioMusic, TickActsOnlyWithMusicOnAndASong) {
  RunOrders({1, 0}, kMenuTrack);
  EXPECT_TRUE(music.Calls.empty());
  audio.StartMusic("1.xm");
  RunOrders({1, 2, 0}, kMenuTrack, false);
  EXPECT_EQ(music.Calls.size(), 2u);
  // A reload that fails leaves no song, and the check then rests.
  music.MissingPaths = {"sound/1.xm"};
  RunOrders({2, 0}, kMenuTrack);
  EXPECT_EQ(audio.CurrentSong(), 0u);
  EXPECT_EQ(music.Calls.back(), "load sound/1.xm -> 0");
  RunOrders({1, 0}, kMenuTrack);
  EXPECT_EQ(music.Calls.size(), 4u);
}

}  // namespace
}  // namespace sf
