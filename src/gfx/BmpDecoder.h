#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "gfx/Surface.h"

namespace sf {

// Raised for a buffer that is not a bitmap this decoder accepts; the message says what is wrong.
class BmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Largest picture accepted, so a damaged header cannot ask for gigabytes.
inline constexpr int32_t kMaxBmpSide = 16384;
inline constexpr int64_t kMaxBmpPixels = int64_t{1} << 24;

// Decodes a complete Windows BMP file (file header and DIB) of 1, 4, 8 bits with a palette,
// 16 bits (555 or bit fields), 24 or 32 bits, bottom-up or top-down, RLE8 or RLE4, into a 32-bit
// 0x00RRGGBB surface. Never reads outside [data, data + size); throws BmpError.
std::unique_ptr<Surface> DecodeBmp(const uint8_t* data, size_t size);

}  // namespace sf
