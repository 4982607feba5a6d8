#include "platform/sdl/SdlSoundGains.h"

#include <algorithm>
#include <cmath>

namespace sf {

namespace {

// Hundredths of a decibel to a linear amplitude factor.
double Gain(int32_t attenuation) { return std::pow(10.0, attenuation / 2000.0); }

uint8_t ToByte(double gain) { return static_cast<uint8_t>(std::lround(std::clamp(gain, 0.0, 1.0) * 255.0)); }

}  // namespace

ChannelGains DirectSoundGains(int32_t volume, int32_t pan) {
  volume = std::clamp(volume, -10000, 0);
  pan = std::clamp(pan, -10000, 10000);
  return {Gain(volume - std::max(pan, 0)), Gain(volume + std::min(pan, 0))};
}

MixerPanning MixerPanningFor(int32_t volume, int32_t pan) {
  const ChannelGains g = DirectSoundGains(volume, pan);
  return {ToByte(g.Left), ToByte(g.Right)};
}

}  // namespace sf
