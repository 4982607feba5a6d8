// libFuzzer target: any bytes as a bitmap file. The decoder must either refuse them with BmpError
// or give a surface whose size is within the limits and whose pixels are all 0x00RRGGBB.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "gfx/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<sf::Surface> surface;
  try {
    surface = sf::DecodeBmp(data, size);
  } catch (const sf::BmpError&) {
    return 0;  // a clear refusal is a good answer; any other exception escapes and is a finding
  }
  SF_FUZZ_CHECK(surface != nullptr);
  SF_FUZZ_CHECK(surface->Width > 0 && surface->Height > 0);
  SF_FUZZ_CHECK(surface->Width <= sf::kMaxBmpSide && surface->Height <= sf::kMaxBmpSide);
  SF_FUZZ_CHECK(int64_t{surface->Width} * surface->Height <= sf::kMaxBmpPixels);
  SF_FUZZ_CHECK(surface->Pixels.size() == static_cast<size_t>(surface->Width) * static_cast<size_t>(surface->Height));
  uint32_t high = 0;
  for (uint32_t p : surface->Pixels) high |= p;
  SF_FUZZ_CHECK((high & 0xFF000000u) == 0);
  return 0;
}
