// libFuzzer target: any bytes as an image pack (records of a 4-byte little-endian length and that
// many bytes of bitmap). Every entry is asked for; an independent walk of the records says which
// ones exist, and the pack reader must agree: a missing or empty entry is always a PackError, and
// a decoded entry is exactly what the bitmap decoder makes of the record's bytes, keyed magenta.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "gfx/BmpDecoder.h"
#include "gfx/ImageSets.h"

namespace {

struct Record {
  size_t Offset = 0;
  uint32_t Length = 0;
};

// The records that lie wholly inside the pack, in order; the walk stops at the first that does not.
std::vector<Record> WalkRecords(const uint8_t* data, size_t size) {
  std::vector<Record> records;
  size_t pos = 0;
  while (size - pos >= 4) {
    const uint32_t length = static_cast<uint32_t>(data[pos]) | (static_cast<uint32_t>(data[pos + 1]) << 8) |
                            (static_cast<uint32_t>(data[pos + 2]) << 16) | (static_cast<uint32_t>(data[pos + 3]) << 24);
    if (length > size - pos - 4) break;
    records.push_back(Record{pos + 4, length});
    pos += 4 + size_t{length};
  }
  return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<Record> records = WalkRecords(data, size);
  // Every existing entry, the first one past the end, and the last possible entry number.
  const size_t last = records.size() < 255 ? records.size() : 255;
  for (size_t e = 0; e <= last + 1 && e <= 255; ++e) {
    const auto entry = static_cast<uint8_t>(e == last + 1 ? 255 : e);
    std::unique_ptr<sf::Surface> surface;
    bool refused = false;
    try {
      surface = sf::DecodePackImage(data, size, entry, "fuzz.pack");
    } catch (const sf::PackError& error) {
      refused = true;
      SF_FUZZ_CHECK(std::string(error.what()).find("fuzz.pack") != std::string::npos);
    }
    const bool exists = entry < records.size();
    if (!exists || records[entry].Length == 0) {
      SF_FUZZ_CHECK(refused);
      continue;
    }
    // The record's bytes on their own, so ASan sees a read past the record as well as past the pack.
    const Record& r = records[entry];
    const std::vector<uint8_t> bytes(data + r.Offset, data + r.Offset + r.Length);
    std::unique_ptr<sf::Surface> direct;
    try {
      direct = sf::DecodeBmp(bytes.data(), bytes.size());
    } catch (const sf::BmpError&) {
    }
    SF_FUZZ_CHECK(refused == (direct == nullptr));
    if (refused) continue;
    SF_FUZZ_CHECK(surface->Width == direct->Width && surface->Height == direct->Height);
    SF_FUZZ_CHECK(surface->Pixels == direct->Pixels);
    SF_FUZZ_CHECK(surface->ColourKey == 0xFF00FFu);
  }
  return 0;
}
