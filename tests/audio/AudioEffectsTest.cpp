#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "audio/Audio.h"
#include "platform/fake/FakeMusic.h"
#include "platform/fake/FakeSound.h"

namespace sf {
namespace {

class AudioEffects : public ::testing::Test {
 protected:
  FakeSound sound;
  FakeMusic music;
  Audio audio{sound, music};

  const FakeSound::Play& LastPlay() { return sound.Plays.back(); }
  std::vector<int> PlayedVoices() {
    std::vector<int> voices;
    for (const auto& p : sound.Plays) voices.push_back(p.Voice);
    return voices;
  }
};

TEST_F(AudioEffects, LoadsTheTenEmbeddedWavesInOrder) {
  const char* names[] = {"CheckMenu", "Win", "Loose", "Shot", "Snarad", "Bomba", "Expl", "Vert", "Hit", "Bonus"};
  ASSERT_EQ(sound.WaveSizes.size(), 10u);
  for (int i = 0; i < kSoundCount; ++i) {
    const WaveItem& item = audio.Waves().Item(i);
    EXPECT_EQ(item.Name, names[i]);
    EXPECT_EQ(item.Wave, i) << names[i];
  }
  // 8-bit mono PCM at its own rate, as every effect of the program is.
  for (const EmbeddedWave& w : kEmbeddedWaves) {
    ASSERT_GE(w.Size, 44u) << w.Name;
    EXPECT_EQ(w.Data[22], 1) << w.Name << " channels";
    EXPECT_EQ(w.Data[34], 8) << w.Name << " bits";
  }
}

TEST_F(AudioEffects, PanFollowsXAndVolumeFollowsY) {
  struct Case {
    int32_t x, y, pan, volume;
  };
  const Case cases[] = {
      {400, 800, 0, 0},         // "Win": centre, full volume
      {0, 0, -4000, -800},      // top left corner
      {800, 600, 4000, -200},   // bottom right corner
      {400, 100, 0, -700},      // "Loose"
      {118, 300, -2820, -500},  // left edge of the playfield
      // Off screen the values are held to the device's ranges.
      {-700, 900, -10000, 0},
      {1500, -9500, 10000, -10000},
      {INT32_MAX, INT32_MAX, 10000, 0},
      {INT32_MIN, INT32_MIN, -10000, -10000},
  };
  for (const Case& c : cases) {
    audio.PlaySoundAt(c.x, c.y, sndExpl);
    EXPECT_EQ(LastPlay().Pan, c.pan) << c.x << "," << c.y;
    EXPECT_EQ(LastPlay().Volume, c.volume) << c.x << "," << c.y;
    EXPECT_EQ(audio.Waves().Item(sndExpl).Pan, c.pan);
    EXPECT_EQ(audio.Waves().Item(sndExpl).Volume, c.volume);
  }
}

TEST_F(AudioEffects, LimitedSoundsRestartTheOldestCopy) {
  audio.PlaySoundAt(100, 500, sndShot);
  audio.PlaySoundAt(110, 500, sndShot);
  audio.PlaySoundAt(120, 500, sndShot);
  const std::vector<int> copies = audio.Waves().Item(sndShot).Copies;
  ASSERT_EQ(copies.size(), 2u);
  const int first = sound.Plays[0].Voice, second = sound.Plays[1].Voice;
  EXPECT_NE(first, second);
  EXPECT_EQ(PlayedVoices(), (std::vector<int>{first, second, first}));
  // The restarted copy is now the newest, so the fourth shot restarts the other one.
  EXPECT_EQ(copies, (std::vector<int>{second, first}));
  audio.PlaySoundAt(130, 500, sndShot);
  EXPECT_EQ(LastPlay().Voice, second);
  EXPECT_EQ(LastPlay().Pan, -2700);
  EXPECT_EQ(sound.VoiceWave.size(), 2u);
  // "Win" may sound once: the second restarts the first.
  audio.PlaySoundAt(400, 800, sndWin);
  audio.PlaySoundAt(400, 800, sndWin);
  EXPECT_EQ(audio.Waves().Item(sndWin).Copies.size(), 1u);
  EXPECT_EQ(sound.Plays[4].Voice, sound.Plays[5].Voice);
}

TEST_F(AudioEffects, FinishedCopiesAreReusedFirstInListOrder) {
  for (int i = 0; i < 3; ++i) audio.PlaySoundAt(400, 300, sndShot);  // copies: [second, first]
  const std::vector<int> copies = audio.Waves().Item(sndShot).Copies;
  sound.FinishAll();
  audio.PlaySoundAt(400, 300, sndShot);
  EXPECT_EQ(LastPlay().Voice, copies[0]);
  // Only the newest copy is idle: it is taken although an older one exists.
  sound.Finish(copies[1]);
  audio.PlaySoundAt(400, 300, sndShot);
  EXPECT_EQ(LastPlay().Voice, copies[1]);
  EXPECT_EQ(audio.Waves().Item(sndShot).Copies, copies);  // an idle copy keeps its place
  EXPECT_EQ(sound.VoiceWave.size(), 2u);
}

TEST_F(AudioEffects, UnlimitedSoundsGrowUpToTheBoundThenRestartTheOldest) {
  for (int i = 0; i < kMaxUnlimitedCopies + 3; ++i) audio.PlaySoundAt(400, 300, sndExpl);
  const WaveItem& expl = audio.Waves().Item(sndExpl);
  EXPECT_EQ(expl.Copies.size(), static_cast<size_t>(kMaxUnlimitedCopies));
  EXPECT_EQ(sound.VoiceWave.size(), static_cast<size_t>(kMaxUnlimitedCopies));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(sound.Plays[static_cast<size_t>(kMaxUnlimitedCopies + i)].Voice,
              sound.Plays[static_cast<size_t>(i)].Voice);
  for (const auto& p : sound.Plays) EXPECT_EQ(p.Wave, expl.Wave);
}

TEST_F(AudioEffects, SoundOffOrAnUnknownIndexPlaysNothing) {
  audio.PlaySoundAt(0, 0, sndCheckMenu);
  audio.SetSoundOn(false);
  EXPECT_FALSE(audio.SoundOn());
  audio.PlaySoundAt(800, 600, sndCheckMenu);
  audio.PlaySoundAt(800, 600, sndShot);
  EXPECT_EQ(sound.Plays.size(), 1u);
  EXPECT_EQ(audio.Waves().Item(sndCheckMenu).Pan, -4000);
  EXPECT_EQ(audio.Waves().Item(sndCheckMenu).Volume, -800);
  EXPECT_EQ(audio.Waves().Item(sndShot).Pan, 0);
  EXPECT_TRUE(audio.Waves().Item(sndShot).Copies.empty());
  audio.SetSoundOn(true);
  audio.PlaySoundAt(800, 600, sndCheckMenu);
  EXPECT_EQ(sound.Plays.size(), 2u);
  for (int index : {-1, 10, 255, INT_MIN}) audio.PlaySoundAt(400, 300, index);
  EXPECT_EQ(sound.Plays.size(), 2u);
}

TEST(AudioWithoutDevice, EverythingIsSilentAndNothingFails) {
  FakeSound sound;
  sound.Device = false;
  FakeMusic music;
  Audio audio(sound, music);
  for (int i = 0; i < kSoundCount; ++i) audio.PlaySoundAt(400, 300, i);
  EXPECT_TRUE(sound.Plays.empty());
  EXPECT_TRUE(sound.VoiceWave.empty());
}

TEST(AudioWithBrokenWave, OnlyThatSoundIsSilent) {
  std::vector<EmbeddedWave> waves(kEmbeddedWaves, kEmbeddedWaves + kSoundCount);
  static const unsigned char kNotAWave[] = "RIFF\x04\x00\x00\x00WAVX";
  waves[sndShot] = {"Shot", kNotAWave, sizeof kNotAWave - 1};
  waves.pop_back();  // a short table: "Bonus" is missing
  FakeSound sound;
  FakeMusic music;
  // The host gets its turn after every wave tried, the broken one too.
  int turns = 0;
  Audio audio(sound, music, "sound/", waves, [&] { ++turns; });
  EXPECT_EQ(turns, kSoundCount - 1);
  EXPECT_EQ(audio.Waves().Item(sndShot).Wave, -1);
  EXPECT_EQ(audio.Waves().Item(sndBonus).Wave, -1);
  audio.PlaySoundAt(400, 300, sndShot);
  audio.PlaySoundAt(400, 300, sndBonus);
  EXPECT_TRUE(sound.Plays.empty());
  audio.PlaySoundAt(400, 300, sndSnarad);
  EXPECT_EQ(sound.Plays.size(), 1u);
}

}  // namespace
}  // namespace sf
