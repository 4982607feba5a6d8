// The ten generated sound effects: valid canonical WAVE files at their rates and lengths, clean
// levels, and the shape each effect's role calls for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "Art.h"
#include "PitchEstimate.h"

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

struct Expected {
  uint32_t Rate;
  uint32_t Samples;
};
// The rates and lengths the sound list was built around (0.26 s, 1.76 s, ...).
constexpr Expected kExpected[10] = {{11025, 2903}, {11025, 19382}, {8000, 13907}, {8000, 892},  {11025, 5335},
                                    {11025, 5335}, {8000, 11180},  {8000, 8000},  {8000, 6223}, {11025, 2919}};

// The PCM samples of a wave, centred on zero.
std::vector<int> Pcm(const std::vector<uint8_t>& wav) {
  std::vector<int> s;
  for (size_t i = 44; i < wav.size(); ++i) s.push_back(wav[i] - 128);
  return s;
}

double Rms(const std::vector<int>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

// The pitch of the stretch [from, to), between 100 and 1000 Hz; nothing after it is read.
double PitchHz(const std::vector<int>& s, size_t from, size_t to, int rate) {
  return testing_audio::PitchHz(std::span<const int>(s.data(), to), from, to - from, rate, 100);
}

TEST(SoundWave, EveryEffectIsCanonicalEightBitMonoAtItsRateAndLength) {
  for (int id = 0; id < 10; ++id) {
    SCOPED_TRACE(assetgen::kSoundNames[id]);
    const std::vector<uint8_t> wav = assetgen::MakeSoundWave(id);
    ASSERT_EQ(wav.size(), 44u + kExpected[id].Samples);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(wav, 16), 16u);
    EXPECT_EQ(Le16(wav, 20), 1);  // PCM
    EXPECT_EQ(Le16(wav, 22), 1);  // mono
    EXPECT_EQ(Le32(wav, 24), kExpected[id].Rate);
    EXPECT_EQ(Le32(wav, 28), kExpected[id].Rate);  // bytes per second
    EXPECT_EQ(Le16(wav, 32), 1);
    EXPECT_EQ(Le16(wav, 34), 8);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(Le32(wav, 40), kExpected[id].Samples);
  }
}

TEST(SoundWave, LevelsAreCleanAudibleAndEndInSilence) {
  for (int id = 0; id < 10; ++id) {
    SCOPED_TRACE(assetgen::kSoundNames[id]);
    const std::vector<int> s = Pcm(assetgen::MakeSoundWave(id));
    int peak = 0;
    double sum = 0;
    for (int v : s) {
      EXPECT_GT(v, -128) << "clipped";
      EXPECT_LT(v, 127) << "clipped";
      peak = std::max(peak, std::abs(v));
      sum += v;
    }
    EXPECT_GE(peak, 48) << "too quiet to be heard over the music";
    EXPECT_LT(std::abs(sum / static_cast<double>(s.size())), 1.0) << "DC offset";
    const size_t tail = kExpected[id].Rate / 200;  // the last 5 ms
    for (size_t i = s.size() - tail; i < s.size(); ++i) EXPECT_LE(std::abs(s[i]), 2) << "ends on a step at " << i;
  }
}

TEST(SoundWave, EffectsHaveTheShapeOfTheirRoles) {
  const auto wave = [](int id) { return Pcm(assetgen::MakeSoundWave(id)); };
  const auto at = [](int id, double seconds) { return static_cast<size_t>(seconds * kExpected[id].Rate); };

  // The menu tick is short: its energy is gone well before the end.
  const std::vector<int> tick = wave(0);
  EXPECT_GT(Rms(tick, 0, at(0, 0.03)), 20 * Rms(tick, at(0, 0.1), tick.size()) + 1e-9);

  // The shot is a dry crack: nearly all of it in the first half.
  const std::vector<int> shot = wave(3);
  EXPECT_GT(Rms(shot, 0, shot.size() / 2), 5 * Rms(shot, shot.size() / 2, shot.size()));

  // The explosion keeps rumbling: its second half is quieter than the burst but clearly there.
  const std::vector<int> expl = wave(6);
  const double burst = Rms(expl, 0, at(6, 0.2)), tail = Rms(expl, at(6, 0.6), at(6, 1.0));
  EXPECT_LT(tail, burst);
  EXPECT_GT(tail, 2.0);

  // The fanfare rises an octave from its first note; the defeat phrase falls from G4 to E4 and below.
  const std::vector<int> win = wave(1);
  EXPECT_NEAR(PitchHz(win, at(1, 0.02), at(1, 0.11), 11025), 392, 12);
  EXPECT_NEAR(PitchHz(win, at(1, 0.42), at(1, 0.56), 11025), 784, 30);
  const std::vector<int> lose = wave(2);
  EXPECT_NEAR(PitchHz(lose, at(2, 0.05), at(2, 0.28), 8000), 392, 12);
  EXPECT_LT(PitchHz(lose, at(2, 1.15), at(2, 1.5), 8000), 340);

  // The rotor keeps going for its whole second.
  const std::vector<int> rotor = wave(7);
  EXPECT_GT(Rms(rotor, at(7, 0.7), at(7, 0.85)), 0.5 * Rms(rotor, at(7, 0.1), at(7, 0.25)));
}

TEST(SoundWave, SameBytesEveryTimeAndEachEffectDistinct) {
  std::vector<std::vector<uint8_t>> all;
  for (int id = 0; id < 10; ++id) {
    all.push_back(assetgen::MakeSoundWave(id));
    EXPECT_EQ(all.back(), assetgen::MakeSoundWave(id)) << assetgen::kSoundNames[id];
  }
  EXPECT_NE(all[4], all[5]) << "cannon and bomb share a size but must differ";
}

TEST(SoundWave, UnknownEffectIsAnError) {
  EXPECT_THROW(assetgen::MakeSoundWave(-1), std::out_of_range);
  EXPECT_THROW(assetgen::MakeSoundWave(10), std::out_of_range);
}

}  // namespace
