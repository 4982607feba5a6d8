#include "audio/WaveList.h"

#include <algorithm>

namespace sf {

namespace {

// Simultaneous plays per sound, in SoundId order; 0 = no limit.
constexpr int kMaxPlays[kSoundCount] = {0, 1, 0, 2, 0, 0, 0, 1, 0, 0};

}  // namespace

WaveList::WaveList(Sound& sound, std::span<const EmbeddedWave> waves, const std::function<void()>& afterEachWave)
    : sound_(sound), items_(kSoundCount) {
  for (int i = 0; i < kSoundCount; ++i) {
    WaveItem& item = items_[static_cast<size_t>(i)];
    item.MaxPlays = kMaxPlays[i];
    // Reserved once so that playing never allocates.
    item.Copies.reserve(static_cast<size_t>(item.MaxPlays > 0 ? item.MaxPlays : kMaxUnlimitedCopies));
    if (static_cast<size_t>(i) >= waves.size() || waves[static_cast<size_t>(i)].Data == nullptr) continue;
    item.Name = waves[static_cast<size_t>(i)].Name != nullptr ? waves[static_cast<size_t>(i)].Name : "";
    item.Wave = sound_.LoadWave(waves[static_cast<size_t>(i)].Data, waves[static_cast<size_t>(i)].Size);
    if (afterEachWave) afterEachWave();
  }
}

int WaveList::ChooseVoice(WaveItem& item) {
  for (int voice : item.Copies) {
    if (!sound_.VoicePlaying(voice)) return voice;
  }
  const size_t limit = static_cast<size_t>(item.MaxPlays > 0 ? item.MaxPlays : kMaxUnlimitedCopies);
  if (item.Copies.size() < limit) {
    const int voice = sound_.CreateVoice(item.Wave);
    if (voice >= 0) {
      item.Copies.push_back(voice);
      return voice;
    }
  }
  // Every copy plays and no new one may (or can) be made: restart the oldest.
  if (item.Copies.empty()) return -1;
  std::rotate(item.Copies.begin(), item.Copies.begin() + 1, item.Copies.end());
  return item.Copies.back();
}

void WaveList::Play(int i) {
  if (i < 0 || i >= kSoundCount || !sound_.Available()) return;
  WaveItem& item = items_[static_cast<size_t>(i)];
  if (item.Wave < 0) return;
  const int voice = ChooseVoice(item);
  if (voice >= 0) sound_.PlayVoice(voice, item.Pan, item.Volume);
}

}  // namespace sf
