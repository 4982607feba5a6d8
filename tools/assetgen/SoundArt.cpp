#include <cmath>

#include "Art.h"

namespace assetgen {

const char* const kSoundNames[10] = {"CheckMenu", "Win", "Loose", "Shot", "Snarad",
                                     "Bomba",     "Expl", "Vert", "Hit",  "Bonus"};

std::vector<uint8_t> MakeSoundWave(int id) {
  const uint32_t rate = 11025;
  const uint32_t n = rate / 8;
  std::vector<uint8_t> data(n);
  for (uint32_t i = 0; i < n; ++i) {
    const double env = 1.0 - static_cast<double>(i) / n;
    data[i] = static_cast<uint8_t>(128 + 60 * env * std::sin(2 * M_PI * (300 + 80 * id) * i / rate));
  }
  std::vector<uint8_t> out;
  auto put32 = [&](uint32_t v) { for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b))); };
  auto put16 = [&](uint32_t v) { for (int b = 0; b < 2; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b))); };
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  put32(36 + n);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(16); put16(1); put16(1); put32(rate); put32(rate); put16(1); put16(8);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  put32(n);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

}  // namespace assetgen
