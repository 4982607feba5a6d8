#include "platform/fake/FakeSound.h"

#include <cstring>

namespace sf {

namespace {

uint32_t Read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Walks the chunks: a PCM "fmt " chunk and a "data" chunk that fits inside the file.
bool IsPcmWave(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool pcm = false;
  size_t at = 12;
  while (size - at >= 8) {
    const uint32_t length = Read32(data + at + 4);
    if (length > size - at - 8) return false;
    if (std::memcmp(data + at, "fmt ", 4) == 0) {
      if (length < 16) return false;
      const uint8_t* fmt = data + at + 8;
      const uint16_t channels = Read16(fmt + 2), bits = Read16(fmt + 14);
      pcm = Read16(fmt) == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && Read32(fmt + 4) > 0;
    } else if (std::memcmp(data + at, "data", 4) == 0) {
      return pcm;
    }
    at += 8 + length + (length & 1);
  }
  return false;
}

}  // namespace

int FakeSound::LoadWave(const uint8_t* data, size_t size) {
  if (!Device || !IsPcmWave(data, size)) return -1;
  WaveSizes.push_back(size);
  return static_cast<int>(WaveSizes.size()) - 1;
}

int FakeSound::CreateVoice(int wave) {
  if (!Device || wave < 0 || static_cast<size_t>(wave) >= WaveSizes.size()) return -1;
  VoiceWave.push_back(wave);
  Playing.push_back(false);
  return static_cast<int>(VoiceWave.size()) - 1;
}

void FakeSound::PlayVoice(int voice, int32_t pan, int32_t volume) {
  if (voice < 0 || static_cast<size_t>(voice) >= VoiceWave.size()) return;
  const size_t slot = static_cast<size_t>(voice);
  Plays.push_back({voice, VoiceWave[slot], pan, volume});
  Playing[slot] = true;
}

bool FakeSound::VoicePlaying(int voice) const {
  return voice >= 0 && static_cast<size_t>(voice) < Playing.size() && Playing[static_cast<size_t>(voice)];
}

void FakeSound::StopVoice(int voice) {
  Stops.push_back(voice);
  Finish(voice);
}

void FakeSound::Finish(int voice) {
  if (voice >= 0 && static_cast<size_t>(voice) < Playing.size()) Playing[static_cast<size_t>(voice)] = false;
}

void FakeSound::FinishAll() { Playing.assign(Playing.size(), false); }

}  // namespace sf
