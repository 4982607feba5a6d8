#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "gfx/Blit.h"
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
// Throws PackError naming the pack and the entry when the pack cannot be read, the entry is
// missing, has length 0 or is cut short, or its bytes are not a valid bitmap.
std::unique_ptr<Surface> LoadPackImage(const std::string& packPath, uint8_t entry);

// The same for a pack already held in memory; packName only goes into error messages.
std::unique_ptr<Surface> DecodePackImage(const uint8_t* pack, size_t packSize, uint8_t entry,
                                         const std::string& packName);

// Fills both image sets from the pack (game images 0..41, menu images 0..33, then the nine
// mirrors). Throws PackError; slots loaded before a failure keep their new surfaces.
void LoadAllImages(ImageSets& images, const std::string& packPath);

// Releases every surface of both sets.
void FreeAllImages(ImageSets& images);

// GDI's CLR_INVALID: as a colour it means "the colour pixel (0,0) already has"; as a result, failure.
inline constexpr uint32_t kInvalidColour = 0xFFFFFFFFu;

// The raw pixel value that encodes a GDI colour in the surface (always 32-bit 0x00RRGGBB here).
// kInvalidColour reads pixel (0,0); an empty or lost surface answers kInvalidColour. Pixel (0,0)
// is never changed.
uint32_t MatchSurfaceColour(const Surface& surface, uint32_t gdiColour);

// Sets the surface's source colour key to MatchSurfaceColour(surface, gdiColour); returns 0, or
// kBlitSurfaceLost for a lost surface (the key is then left as it was).
int32_t SetSurfaceColourKey(Surface& surface, uint32_t gdiColour);

}  // namespace sf
