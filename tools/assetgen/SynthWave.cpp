#include "SynthWave.h"

#include <algorithm>
#include <cmath>

namespace assetgen::synth {

std::vector<uint8_t> EncodeWave8(const std::vector<double>& samples, uint32_t rate) {
  const auto n = static_cast<uint32_t>(samples.size());
  std::vector<uint8_t> out;
  out.reserve(44 + n);
  auto put = [&](const char* tag) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(tag[k]));
  };
  auto put16 = [&](uint32_t v) {
    for (int b = 0; b < 2; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
  };
  auto put32 = [&](uint32_t v) {
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
  };
  put("RIFF");
  put32(36 + n);
  put("WAVE");
  put("fmt ");
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(rate);
  put32(rate);  // bytes per second
  put16(1);     // block align
  put16(8);     // bits per sample
  put("data");
  put32(n);
  for (double v : samples) {
    const double level = std::round(128.0 + 127.0 * std::clamp(v, -1.0, 1.0));
    out.push_back(static_cast<uint8_t>(level));
  }
  return out;
}

}  // namespace assetgen::synth
