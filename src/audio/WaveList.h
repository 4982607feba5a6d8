#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "audio/SoundIds.h"
#include "platform/Sound.h"
#include "waves/EmbeddedWaves.h"

namespace sf {

// Copies a sound "without limit" may have at once. With the limit reached the oldest copy is
// restarted, exactly as for the limited sounds; sixteen overlapping explosions are already a roar.
inline constexpr int kMaxUnlimitedCopies = 16;

// One sound of the list: its wave, the last pan and volume set, and the voices playing it.
struct WaveItem {
  std::string Name;
  int MaxPlays = 0;         // simultaneous plays; 0 = no limit (bounded by kMaxUnlimitedCopies)
  int32_t Pan = 0;          // DirectSound units, -10000..10000
  int32_t Volume = 0;       // hundredths of a dB, -10000..0
  int Wave = -1;            // the loaded wave, -1 when it could not be loaded
  std::vector<int> Copies;  // voices, oldest first
};

// The ten sound effects, each played with several copies up to its limit.
class WaveList {
 public:
  // Loads the waves in SoundId order; a wave that cannot be loaded leaves its item silent.
  // afterEachWave, when given, runs after each load (the host's turn during a long start-up).
  WaveList(Sound& sound, std::span<const EmbeddedWave> waves, const std::function<void()>& afterEachWave = {});

  // Plays item i once with its current pan and volume: on the first copy that is idle, else on
  // the oldest copy when the limit is reached (which then becomes the newest), else on a new copy.
  void Play(int i);

  WaveItem& Item(int i) { return items_[static_cast<size_t>(i)]; }
  const WaveItem& Item(int i) const { return items_[static_cast<size_t>(i)]; }

 private:
  int ChooseVoice(WaveItem& item);

  Sound& sound_;
  std::vector<WaveItem> items_;
};

}  // namespace sf
