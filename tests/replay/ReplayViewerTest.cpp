// Watching a replay: the pace at every speed, pause and single steps, seeking both ways, the keys,
// and what is heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "ScriptedGame.h"
#include "audio/Audio.h"
#include "game/WorldDigest.h"
#include "gfx/ImageSets.h"
#include "gfx/Text.h"
#include "platform/fake/FakeMusic.h"
#include "platform/fake/FakeSound.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayVerify.h"
#include "replay/ReplayViewer.h"

namespace replay {
namespace {

// The fifteen-minute comparison game, decoded once.
const DecodedReplay& Comparison() {
  static const DecodedReplay decoded = [] {
    const ScriptedGame game = PlayScriptedGame(kComparisonSeed, kComparisonSteps, true);
    DecodedReplay d;
    std::string error;
    EXPECT_TRUE(DecodeReplay(game.File, Limits{}.maxFileBytes, d, error)) << error;
    return d;
  }();
  return decoded;
}

// A viewer on pictures of no size: what it plays is the same, drawing costs nothing.
class Viewer : public ::testing::Test {
 protected:
  Viewer() {
    for (auto& slot : images.GameImages) slot = std::make_unique<sf::Surface>();
    for (auto& slot : images.MenuImages) slot = std::make_unique<sf::Surface>();
    viewer = std::make_unique<ReplayViewer>(Comparison(), images, text, snapshot, target);
    viewer->Advance(wall, target);
  }
  // Frames of 16 ms of the owner's clock.
  void Frames(int n) {
    for (int i = 0; i < n; ++i) viewer->Advance(wall += 16, target);
  }
  // The world digest of a straight play to the same number of steps.
  static uint64_t DigestAfter(uint32_t steps) {
    sf::ImageSets none;
    for (auto& slot : none.GameImages) slot = std::make_unique<sf::Surface>();
    for (auto& slot : none.MenuImages) slot = std::make_unique<sf::Surface>();
    sf::TextRenderer silent;
    sf::Surface snap, nothing;
    ReplayPlayer player(Comparison(), none, silent, snap);
    while (player.StepsPlayed() < steps && player.Step(nothing)) {
    }
    return sf::WorldDigest(player.Game());
  }

  sf::ImageSets images;
  sf::TextRenderer text;
  sf::Surface snapshot, target;
  uint32_t wall = 5000;
  std::unique_ptr<ReplayViewer> viewer;
};

TEST_F(Viewer, PlaysAtTheRecordedPaceAndAtEverySpeed) {
  EXPECT_GE(viewer->TotalMs(), 10u * 60u * 1000u);
  EXPECT_EQ(viewer->Steps(), 1u);
  EXPECT_EQ(viewer->Status().rfind("0:00 / 1", 0), 0u) << viewer->Status();
  Frames(64);  // about a second
  EXPECT_NEAR(viewer->ElapsedMs(), 64 * 16, 40);
  for (int i = 0; i < 4; ++i) viewer->Faster();  // 16x, the fastest
  viewer->Faster();
  EXPECT_EQ(viewer->Speed(), 16.0);
  const uint32_t before = viewer->ElapsedMs();
  Frames(64);
  EXPECT_NEAR(viewer->ElapsedMs() - before, 16 * 64 * 16, 16 * 40);
  for (int i = 0; i < 10; ++i) viewer->Slower();
  EXPECT_EQ(viewer->Speed(), 0.25);
  EXPECT_NE(viewer->Status().find("| 1/4x"), std::string::npos) << viewer->Status();
  const uint32_t slow = viewer->ElapsedMs();
  Frames(64);
  EXPECT_NEAR(viewer->ElapsedMs() - slow, 64 * 16 / 4, 40);
}

TEST_F(Viewer, PauseHoldsTheStepsAndSingleStepsMoveOneAtATime) {
  Frames(30);
  viewer->TogglePause();
  const uint32_t steps = viewer->Steps();
  Frames(200);
  EXPECT_EQ(viewer->Steps(), steps);
  EXPECT_NE(viewer->Status().find("paused"), std::string::npos);
  viewer->StepOnce(target);
  viewer->StepOnce(target);
  EXPECT_EQ(viewer->Steps(), steps + 2);
  viewer->TogglePause();
  Frames(10);
  EXPECT_GT(viewer->Steps(), steps + 2);
}

TEST_F(Viewer, SeekingEitherWayArrivesAtTheSameWorldAsPlayingThrough) {
  const auto started = std::chrono::steady_clock::now();
  viewer->SeekTo(viewer->TotalMs() / 2, target);
  const double seekMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  std::printf("seek to the middle of %s: %.1f ms\n", ViewClock(viewer->TotalMs()).c_str(), seekMs);
  EXPECT_LE(viewer->ElapsedMs(), viewer->TotalMs() / 2 + 16);
  EXPECT_GE(viewer->ElapsedMs() + 1000, viewer->TotalMs() / 2);
  EXPECT_EQ(sf::WorldDigest(viewer->Game()), DigestAfter(viewer->Steps()));
  const uint32_t middle = viewer->ElapsedMs();
  viewer->SeekBy(-static_cast<int32_t>(ReplayViewer::kSeekMs), target);
  EXPECT_NEAR(viewer->ElapsedMs(), middle - ReplayViewer::kSeekMs, 1000);
  EXPECT_EQ(sf::WorldDigest(viewer->Game()), DigestAfter(viewer->Steps()));
  // Beyond either end: held to the recording.
  viewer->SeekBy(-3600 * 1000, target);
  EXPECT_EQ(viewer->Steps(), 1u);
  viewer->SeekTo(viewer->TotalMs() + 5000, target);
  Frames(200);
  EXPECT_TRUE(viewer->Ended());
  EXPECT_TRUE(viewer->Error().empty()) << viewer->Error();
  EXPECT_EQ(viewer->Game().Score, Comparison().Header.FinalScore);
  EXPECT_EQ(viewer->Steps(), viewer->TotalSteps());
}

TEST_F(Viewer, KeysPauseSeekChangeSpeedStepRestartAndLeave) {
  Frames(10);
  EXPECT_TRUE(viewer->Key(sf::vkRight, target));
  EXPECT_GE(viewer->ElapsedMs(), 10000u);
  EXPECT_TRUE(viewer->Key(sf::vkLeft, target));
  EXPECT_LT(viewer->ElapsedMs(), 1000u);
  viewer->Key(sf::vkUp, target);
  EXPECT_EQ(viewer->Speed(), 2.0);
  viewer->Key(sf::vkDown, target);
  viewer->Key(sf::vkDown, target);
  EXPECT_EQ(viewer->Speed(), 0.5);
  viewer->Key(sf::vkSpace, target);
  EXPECT_TRUE(viewer->Paused());
  const uint32_t steps = viewer->Steps();
  viewer->Key('S', target);
  EXPECT_EQ(viewer->Steps(), steps + 1);
  viewer->Key('P', target);
  EXPECT_FALSE(viewer->Paused());
  Frames(100);
  viewer->Key('R', target);
  EXPECT_EQ(viewer->Steps(), 1u);
  EXPECT_FALSE(viewer->Key(sf::vkEscape, target));
}

TEST_F(Viewer, EffectsAreHeardAtNormalSpeedButNotWhenSkippedAndTheMusicFollowsThePause) {
  sf::FakeSound sound;
  sf::FakeMusic music;
  sf::Audio audio(sound, music, "sound/");
  viewer->SetSound(&audio);
  ASSERT_FALSE(music.Calls.empty());
  EXPECT_EQ(music.Calls.back().rfind("play", 0), 0u) << music.Calls.back();
  EXPECT_NE(music.Calls.front().find("sound/2.xm"), std::string::npos) << music.Calls.front();
  Frames(64 * 20);
  const size_t heard = sound.Plays.size();
  EXPECT_GT(heard, 0u) << "twenty seconds of shooting";
  viewer->SeekBy(60000, target);
  for (int i = 0; i < 5; ++i) viewer->Faster();  // 16x
  Frames(64 * 5);
  EXPECT_EQ(sound.Plays.size(), heard) << "neither a seek nor 16x plays the effects it skips";
  viewer->TogglePause();
  EXPECT_EQ(audio.CurrentSong(), 0);
  viewer->TogglePause();
  EXPECT_NE(audio.CurrentSong(), 0);
  viewer->SetSound(nullptr);
  EXPECT_EQ(audio.CurrentSong(), 0);
}

}  // namespace
}  // namespace replay
