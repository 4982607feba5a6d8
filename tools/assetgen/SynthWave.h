#pragma once
#include <cstdint>
#include <vector>

namespace assetgen::synth {

// A complete RIFF WAVE file with the canonical 44-byte header: 8-bit unsigned mono PCM.
// Samples are in -1..1; values outside are clamped and 0 maps to the silent level 128.
std::vector<uint8_t> EncodeWave8(const std::vector<double>& samples, uint32_t rate);

}  // namespace assetgen::synth
