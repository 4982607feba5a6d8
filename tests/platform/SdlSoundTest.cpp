#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlSound.h"
#include "platform/sdl/SdlSoundDevice.h"

namespace sf {
namespace {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A mono 8-bit PCM wave of the given length.
std::vector<uint8_t> MakeWave(uint32_t rate, uint32_t samples) {
  std::vector<uint8_t> out;
  auto put = [&](const char* s) { out.insert(out.end(), s, s + 4); };
  auto put32 = [&](uint32_t v) {
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
  };
  auto put16 = [&](uint32_t v) {
    for (int b = 0; b < 2; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
  };
  put("RIFF");
  put32(36 + samples);
  put("WAVE");
  put("fmt ");
  put32(16);
  put16(1);
  put16(1);
  put32(rate);
  put32(rate);
  put16(1);
  put16(8);
  put("data");
  put32(samples);
  for (uint32_t i = 0; i < samples; ++i) out.push_back(static_cast<uint8_t>(i % 64 < 32 ? 96 : 160));
  return out;
}

void ExpectSilentButHarmless(SdlSound& sound) {
  EXPECT_FALSE(sound.Available());
  const std::vector<uint8_t> wave = MakeWave(8000, 800);
  EXPECT_EQ(sound.LoadWave(wave.data(), wave.size()), -1);
  EXPECT_EQ(sound.CreateVoice(0), -1);
  sound.PlayVoice(0, -4000, -800);
  sound.StopVoice(0);
  EXPECT_FALSE(sound.VoicePlaying(0));
}

TEST(AudioSdlSound, ClosedDeviceIsSilent) {
  SdlSoundDevice device(false);
  EXPECT_FALSE(device.Open());
  SdlSound sound(device);
  ExpectSilentButHarmless(sound);
}

TEST(AudioSdlSound, MissingAudioDriverDegradesToSilence) {
  ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
  SdlSoundDevice device;
  EXPECT_FALSE(device.Open());
  SdlSound sound(device);
  ExpectSilentButHarmless(sound);
}

TEST(AudioSdlSound, DummyDevicePlaysVoicesBesideTheMusicHook) {
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  SdlSoundDevice device;
  ASSERT_TRUE(device.Open());
  EXPECT_EQ(device.Rate(), 44100);
  EXPECT_EQ(device.Channels(), 2);
  SdlSound sound(device);
  EXPECT_TRUE(sound.Available());
  // The music renders on the device's thread meanwhile, and is unhooked before the device closes.
  SdlMusic music(device);
  const SongHandle song = music.SongLoadFromFile(std::string(SALTFANG_GAME_DIR) + "/sound/1.xm");
  ASSERT_NE(song, 0u);
  music.SongPlay(song);

  const std::vector<uint8_t> wave = MakeWave(8000, 8000 * 60);  // a minute: it cannot end during the test
  const int w = sound.LoadWave(wave.data(), wave.size());
  ASSERT_EQ(w, 0);
  const std::vector<uint8_t> truncated(wave.begin(), wave.begin() + 30);
  EXPECT_EQ(sound.LoadWave(truncated.data(), truncated.size()), -1);
  EXPECT_EQ(sound.LoadWave(nullptr, 0), -1);
  EXPECT_EQ(sound.CreateVoice(5), -1);

  const int a = sound.CreateVoice(w), b = sound.CreateVoice(w);
  ASSERT_EQ(a, 0);
  ASSERT_EQ(b, 1);
  EXPECT_FALSE(sound.VoicePlaying(a));
  sound.PlayVoice(a, -4000, -800);
  sound.PlayVoice(b, 10000, 0);
  EXPECT_TRUE(sound.VoicePlaying(a));
  EXPECT_TRUE(sound.VoicePlaying(b));
  sound.PlayVoice(a, 0, 0);  // a restart keeps it playing
  EXPECT_TRUE(sound.VoicePlaying(a));
  sound.StopVoice(a);
  EXPECT_FALSE(sound.VoicePlaying(a));
  EXPECT_TRUE(sound.VoicePlaying(b));
  EXPECT_FALSE(sound.VoicePlaying(7));
}

}  // namespace
}  // namespace sf
