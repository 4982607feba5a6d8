#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Picture.h"

namespace assetgen {

// A 24-bit bottom-up Windows BMP file of the picture.
std::vector<uint8_t> EncodeBmp24(const Picture& picture);

// The pack: for each bitmap a 4-byte little-endian length, then the bitmap's bytes.
std::vector<uint8_t> EncodePack(const std::vector<std::vector<uint8_t>>& bitmaps);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A C++ source defining sf::kEmbeddedWaves from the ten wave files.
std::string EmbeddedWavesSource(const std::vector<std::vector<uint8_t>>& waves, const char* const names[10]);

}  // namespace assetgen
