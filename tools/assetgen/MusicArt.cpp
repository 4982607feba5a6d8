#include <cstring>

#include "Art.h"

namespace assetgen {

// A silent, valid two-channel module of one empty pattern.
std::vector<uint8_t> MakeMusicModule(int number) {
  std::vector<uint8_t> out;
  auto put = [&](const void* p, size_t n) { const auto* b = static_cast<const uint8_t*>(p); out.insert(out.end(), b, b + n); };
  auto put16 = [&](uint16_t v) { out.push_back(static_cast<uint8_t>(v)); out.push_back(static_cast<uint8_t>(v >> 8)); };
  auto put32 = [&](uint32_t v) { put16(static_cast<uint16_t>(v)); put16(static_cast<uint16_t>(v >> 16)); };
  char name[20] = {};
  std::strncpy(name, number == 1 ? "Salt Fang menu" : "Salt Fang game", sizeof name);
  char tracker[20] = {};
  std::strncpy(tracker, "assetgen", sizeof tracker);
  put("Extended Module: ", 17);
  put(name, 20);
  out.push_back(0x1A);
  put(tracker, 20);
  put16(0x0104);
  put32(276);
  put16(1);    // song length
  put16(0);    // restart
  put16(2);    // channels
  put16(1);    // patterns
  put16(0);    // instruments
  put16(1);    // linear frequencies
  put16(6);    // tempo
  put16(125);  // BPM
  uint8_t orders[256] = {};
  put(orders, 256);
  const uint16_t rows = 64;
  put32(9);
  out.push_back(0);
  put16(rows);
  put16(rows * 2);
  for (int i = 0; i < rows * 2; ++i) out.push_back(0x80);
  return out;
}

}  // namespace assetgen
