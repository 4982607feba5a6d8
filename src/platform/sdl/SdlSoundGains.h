#pragma once
#include <cstdint>

namespace sf {

// DirectSound's volume and pan as linear gains of the two output channels. Volume is in
// hundredths of a decibel (0 full, -10000 silent); pan from -10000 to 10000 leaves one channel at
// the volume and attenuates the other by |pan| more. Values outside the ranges are held to them.
struct ChannelGains {
  double Left;
  double Right;
};
ChannelGains DirectSoundGains(int32_t volume, int32_t pan);

// The same as the 0..255 factors of the mixer's panning effect (channel volume left at full).
struct MixerPanning {
  uint8_t Left;
  uint8_t Right;
};
MixerPanning MixerPanningFor(int32_t volume, int32_t pan);

}  // namespace sf
