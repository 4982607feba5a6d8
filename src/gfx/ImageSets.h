#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "gfx/Surface.h"

namespace sf {

// Raised when the pack is missing, an entry is missing or truncated, or an entry is not a valid
// bitmap. The message names the file and the entry.
class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kGameImageCount = 51;  // 0..41 from the pack, 42..50 mirrors of 22..30
inline constexpr int kMenuImageCount = 34;  // menu image k is pack entry 42 + k
inline constexpr int kPackEntryCount = 76;

// The two image sets. A slot is empty or holds one surface; refilling a slot replaces it.
struct ImageSets {
  std::array<std::unique_ptr<Surface>, kGameImageCount> GameImages;
  std::array<std::unique_ptr<Surface>, kMenuImageCount> MenuImages;

  const Surface& Game(int k) const { return *GameImages[static_cast<size_t>(k)]; }
  const Surface& Menu(int k) const { return *MenuImages[static_cast<size_t>(k)]; }
};

// Reads one entry of the length-prefixed pack and decodes its BMP into a keyed 32-bit surface.
std::unique_ptr<Surface> LoadPackImage(const std::string& packPath, uint8_t entry);

// Fills both image sets from the pack (game images 0..41, menu images 0..33, then the nine
// mirrors). Throws PackError; slots loaded before a failure keep their new surfaces.
void LoadAllImages(ImageSets& images, const std::string& packPath);

// Releases every surface of both sets.
void FreeAllImages(ImageSets& images);

}  // namespace sf
