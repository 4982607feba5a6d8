#include "gfx/ImageSets.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "gfx/BmpDecoder.h"
#include "gfx/DrawOps.h"

namespace sf {
namespace {

constexpr int kFirstMirrorSlot = 42;
constexpr int kFirstMirroredImage = 22;
constexpr int kMirrorCount = 9;
constexpr uint32_t kMagenta = 0xFF00FF;  // the key colour as a GDI value (symmetric in both byte orders)

[[noreturn]] void FailEntry(const std::string& packName, int entry, const std::string& why) {
  throw PackError("image pack \"" + packName + "\", entry " + std::to_string(entry) + ": " + why);
}

struct PackRecord {
  uint64_t Offset = 0;  // first byte of the bitmap
  uint32_t Length = 0;
};

// Walks the records from the start of the pack up to `entry`. readLength(offset, out) reads the
// 4-byte little-endian length stored at offset; the walk never trusts a length beyond the pack.
template <typename ReadLength>
PackRecord LocateEntry(uint64_t packSize, uint8_t entry, const std::string& packName, ReadLength readLength) {
  uint64_t pos = 0;
  for (int i = 0;; ++i) {
    if (pos + 4 > packSize) {
      FailEntry(packName, entry, "missing: the pack ends after " + std::to_string(i) + " record" + (i == 1 ? "" : "s"));
    }
    const uint32_t length = readLength(pos);
    const uint64_t left = packSize - pos - 4;
    if (i == entry) {
      if (length == 0) FailEntry(packName, entry, "the record's length is 0");
      if (length > left) {
        FailEntry(packName, entry,
                  "truncated: the record says " + std::to_string(length) + " bytes but only " + std::to_string(left) +
                      " follow");
      }
      return PackRecord{pos + 4, length};
    }
    if (length > left) {
      FailEntry(packName, entry,
                "missing: the pack ends inside record " + std::to_string(i) + " (length " + std::to_string(length) +
                    ", " + std::to_string(left) + " bytes left)");
    }
    pos += 4 + uint64_t{length};
  }
}

uint32_t LittleEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

std::unique_ptr<Surface> DecodeEntry(const uint8_t* bytes, size_t size, uint8_t entry, const std::string& packName) {
  try {
    auto surface = DecodeBmp(bytes, size);
    SetSurfaceColourKey(*surface, kMagenta);
    return surface;
  } catch (const BmpError& e) {
    FailEntry(packName, entry, e.what());
  }
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenPack(const std::string& packPath, int entry, uint64_t& size) {
  File file(std::fopen(packPath.c_str(), "rb"));
  if (!file) FailEntry(packPath, entry, std::string("cannot open the pack: ") + std::strerror(errno));
  if (std::fseek(file.get(), 0, SEEK_END) != 0) FailEntry(packPath, entry, "cannot read the pack");
  const long end = std::ftell(file.get());
  if (end < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) FailEntry(packPath, entry, "cannot read the pack");
  size = static_cast<uint64_t>(end);
  return file;
}

std::vector<uint8_t> ReadWholePack(const std::string& packPath) {
  uint64_t size = 0;
  File file = OpenPack(packPath, 0, size);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    FailEntry(packPath, 0, "cannot read the pack");
  return bytes;
}

}  // namespace

std::unique_ptr<Surface> DecodePackImage(const uint8_t* pack, size_t packSize, uint8_t entry,
                                         const std::string& packName) {
  const PackRecord record =
      LocateEntry(packSize, entry, packName, [pack](uint64_t offset) { return LittleEndian32(pack + offset); });
  return DecodeEntry(pack + record.Offset, record.Length, entry, packName);
}

std::unique_ptr<Surface> LoadPackImage(const std::string& packPath, uint8_t entry) {
  uint64_t size = 0;
  File file = OpenPack(packPath, entry, size);
  const PackRecord record = LocateEntry(size, entry, packPath, [&](uint64_t offset) {
    uint8_t b[4] = {0, 0, 0, 0};
    if (std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) != 0 || std::fread(b, 1, 4, file.get()) != 4)
      FailEntry(packPath, entry, "cannot read the pack");
    return LittleEndian32(b);
  });
  std::vector<uint8_t> bytes(record.Length);
  if (std::fseek(file.get(), static_cast<long>(record.Offset), SEEK_SET) != 0 ||
      std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    FailEntry(packPath, entry, "cannot read the pack");
  file.reset();
  return DecodeEntry(bytes.data(), bytes.size(), entry, packPath);
}

void LoadAllImages(ImageSets& images, const std::string& packPath) {
  // One read of the pack serves all 85 surfaces; each entry is then found exactly as a
  // separate open and skip would find it.
  const std::vector<uint8_t> pack = ReadWholePack(packPath);
  // A slot is replaced only once its new surface exists, so a failing entry leaves its slot
  // (and every later one) holding the previous surface instead of nothing.
  for (int k = 0; k < kGameImageCount - kMirrorCount; ++k) {
    images.GameImages[static_cast<size_t>(k)] =
        DecodePackImage(pack.data(), pack.size(), static_cast<uint8_t>(k), packPath);
  }
  for (int k = 0; k < kMenuImageCount; ++k) {
    images.MenuImages[static_cast<size_t>(k)] =
        DecodePackImage(pack.data(), pack.size(), static_cast<uint8_t>(42 + k), packPath);
  }
  for (int j = 0; j < kMirrorCount; ++j) {
    auto& slot = images.GameImages[static_cast<size_t>(kFirstMirrorSlot + j)];
    const Surface& source = *images.GameImages[static_cast<size_t>(kFirstMirroredImage + j)];
    auto mirror = std::make_unique<Surface>(source.Width, source.Height);
    MirrorVertical(source, *mirror);
    SetSurfaceColourKey(*mirror, kMagenta);
    slot = std::move(mirror);
  }
}

void FreeAllImages(ImageSets& images) {
  for (auto& slot : images.MenuImages) slot.reset();
  for (auto& slot : images.GameImages) slot.reset();
}

uint32_t MatchSurfaceColour(const Surface& surface, uint32_t gdiColour) {
  if (surface.Lost || surface.Empty()) return kInvalidColour;
  if (gdiColour == kInvalidColour) return surface.At(0, 0);
  // Writing the colour to pixel (0,0) and reading it back gives exactly the colour's 32-bit
  // encoding, so the round trip is skipped and the pixel stays untouched.
  return GdiToPixel(gdiColour);
}

int32_t SetSurfaceColourKey(Surface& surface, uint32_t gdiColour) {
  if (surface.Lost) return kBlitSurfaceLost;
  surface.ColourKey = MatchSurfaceColour(surface, gdiColour);
  return kBlitOk;
}

}  // namespace sf
