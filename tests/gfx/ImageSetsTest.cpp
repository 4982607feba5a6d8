#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "BmpBuilder.h"
#include "gfx/ImageSets.h"

namespace sf {
namespace {

// Entry k of the test pack: (k % 5 + 1) x (k % 3 + 2) pixels, each pixel naming k, its row and column.
uint32_t PixelOf(int k, int x, int y) {
  return (static_cast<uint32_t>(k) << 16) | (static_cast<uint32_t>(y) << 8) | static_cast<uint32_t>(x);
}
int WidthOf(int k) { return k % 5 + 1; }
int HeightOf(int k) { return k % 3 + 2; }

std::vector<uint8_t> EntryBitmap(int k) {
  std::vector<uint32_t> px;
  for (int y = 0; y < HeightOf(k); ++y)
    for (int x = 0; x < WidthOf(k); ++x) px.push_back(PixelOf(k, x, y));
  return test::Bmp24(WidthOf(k), HeightOf(k), px);
}

std::vector<std::vector<uint8_t>> AllEntries() {
  std::vector<std::vector<uint8_t>> entries;
  for (int k = 0; k < kPackEntryCount; ++k) entries.push_back(EntryBitmap(k));
  return entries;
}

class PackTest : public ::testing::Test {
 protected:
  std::string Write(const std::vector<uint8_t>& bytes) {
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path_;
  }
  void TearDown() override { std::filesystem::remove(path_); }

  // Runs f and returns the PackError's message, or fails the test when nothing is thrown.
  template <typename F>
  std::string ErrorOf(F f) {
    try {
      f();
    } catch (const PackError& e) {
      return e.what();
    }
    ADD_FAILURE() << "no PackError";
    return {};
  }

  std::string path_ =
      (std::filesystem::temp_directory_path() / ("sf_pack_test_" + std::to_string(::getpid()) + ".pp")).string();
};

void ExpectEntry(const Surface& s, int k) {
  ASSERT_EQ(s.Width, WidthOf(k));
  ASSERT_EQ(s.Height, HeightOf(k));
  EXPECT_EQ(s.ColourKey, 0xFF00FFu);
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < s.Width; ++x) ASSERT_EQ(s.At(x, y), PixelOf(k, x, y)) << "entry " << k;
}

TEST_F(PackTest, FirstAndLastEntries) {
  const std::string path = Write(test::BuildPack(AllEntries()));
  ExpectEntry(*LoadPackImage(path, 0), 0);
  ExpectEntry(*LoadPackImage(path, 75), 75);
}

TEST_F(PackTest, LoadAllFillsBothSetsAndMirrorsAndReloadsCleanly) {
  const std::string path = Write(test::BuildPack(AllEntries()));
  ImageSets images;
  for (int round = 0; round < 2; ++round) {
    std::array<const Surface*, kGameImageCount> before{};
    for (int k = 0; k < kGameImageCount; ++k)
      before[static_cast<size_t>(k)] = images.GameImages[static_cast<size_t>(k)].get();
    LoadAllImages(images, path);
    for (int k = 0; k < 42; ++k) ExpectEntry(images.Game(k), k);
    for (int k = 0; k < kMenuImageCount; ++k) ExpectEntry(images.Menu(k), 42 + k);
    for (int j = 0; j < 9; ++j) {
      const Surface& source = images.Game(22 + j);
      const Surface& mirror = images.Game(42 + j);
      ASSERT_EQ(mirror.Width, source.Width);
      ASSERT_EQ(mirror.Height, source.Height);
      EXPECT_EQ(mirror.ColourKey, 0xFF00FFu);
      for (int r = 0; r < source.Height; ++r)
        for (int x = 0; x < source.Width; ++x) EXPECT_EQ(mirror.At(x, r), source.At(x, source.Height - 1 - r));
    }
    // Every slot holds a new surface (the old one was released, not kept beside it).
    for (int k = 0; round > 0 && k < kGameImageCount; ++k)
      EXPECT_NE(images.GameImages[static_cast<size_t>(k)].get(), before[static_cast<size_t>(k)]);
  }
  FreeAllImages(images);
  for (const auto& slot : images.GameImages) EXPECT_EQ(slot, nullptr);
  for (const auto& slot : images.MenuImages) EXPECT_EQ(slot, nullptr);
}

TEST_F(PackTest, DamagedPacksNameTheFileAndTheEntry) {
  auto entries = AllEntries();
  const std::string missing = ErrorOf([&] { LoadPackImage(path_, 3); });
  EXPECT_NE(missing.find(path_), std::string::npos) << missing;
  EXPECT_NE(missing.find("entry 3"), std::string::npos) << missing;

  // Fewer records than asked for.
  std::string path = Write(test::BuildPack({entries[0], entries[1]}));
  std::string msg = ErrorOf([&] { LoadPackImage(path, 75); });
  EXPECT_NE(msg.find("entry 75"), std::string::npos) << msg;
  EXPECT_NE(msg.find("missing"), std::string::npos) << msg;

  // A length field cut short after the last record.
  auto bytes = test::BuildPack({entries[0]});
  bytes.push_back(0x10);
  bytes.push_back(0x00);
  path = Write(bytes);
  msg = ErrorOf([&] { LoadPackImage(path, 1); });
  EXPECT_NE(msg.find("entry 1"), std::string::npos) << msg;

  // A bitmap cut short: its length promises more than the file holds.
  bytes = test::BuildPack({entries[0], entries[1]});
  bytes.resize(bytes.size() - 5);
  path = Write(bytes);
  msg = ErrorOf([&] { LoadPackImage(path, 1); });
  EXPECT_NE(msg.find("entry 1: truncated"), std::string::npos) << msg;
  // ... and an entry behind it is missing.
  EXPECT_NE(ErrorOf([&] { LoadPackImage(path, 2); }).find("entry 2"), std::string::npos);

  // A zero length.
  path = Write(test::BuildPack({entries[0], {}, entries[2]}));
  msg = ErrorOf([&] { LoadPackImage(path, 1); });
  EXPECT_NE(msg.find("length is 0"), std::string::npos) << msg;
  ExpectEntry(*LoadPackImage(path, 2), 2);  // skipping an empty record still finds the next

  // Garbage instead of a bitmap, and a bitmap whose own pixels are cut short.
  entries[5] = std::vector<uint8_t>(40, 0xAB);
  entries[6].resize(entries[6].size() - 4);
  path = Write(test::BuildPack(entries));
  msg = ErrorOf([&] { LoadPackImage(path, 5); });
  EXPECT_NE(msg.find("entry 5"), std::string::npos) << msg;
  EXPECT_NE(msg.find("not a bitmap"), std::string::npos) << msg;
  msg = ErrorOf([&] { LoadPackImage(path, 6); });
  EXPECT_NE(msg.find("entry 6: truncated bitmap"), std::string::npos) << msg;
  EXPECT_EQ(msg.find('\n'), std::string::npos);
}

TEST_F(PackTest, FailedLoadKeepsEarlierSlotsAndLeavesLaterOnes) {
  std::string path = Write(test::BuildPack(AllEntries()));
  ImageSets images;
  LoadAllImages(images, path);
  const Surface* oldGame = images.GameImages[5].get();
  const Surface* oldMenu = images.MenuImages[10].get();

  auto entries = AllEntries();
  entries[52] = {1, 2, 3};  // menu image 10
  path = Write(test::BuildPack(entries));
  const std::string msg = ErrorOf([&] { LoadAllImages(images, path); });
  EXPECT_NE(msg.find("entry 52"), std::string::npos) << msg;
  EXPECT_NE(images.GameImages[5].get(), oldGame);   // reloaded before the failure
  EXPECT_EQ(images.MenuImages[10].get(), oldMenu);  // the failing slot keeps its old surface
  EXPECT_NE(images.MenuImages[10], nullptr);
}

TEST(SurfaceColour, KeyIsMagentaAndPixelZeroStaysUnchanged) {
  Surface s(3, 2, 0x123456);
  EXPECT_EQ(MatchSurfaceColour(s, 0xFF00FF), 0xFF00FFu);
  EXPECT_EQ(MatchSurfaceColour(s, 0x0000FF), 0xFF0000u);  // GDI red is pixel red
  EXPECT_EQ(MatchSurfaceColour(s, kInvalidColour), 0x123456u);
  s.ColourKey = 0;
  EXPECT_EQ(SetSurfaceColourKey(s, 0xFF00FF), 0);
  EXPECT_EQ(s.ColourKey, 0xFF00FFu);
  EXPECT_EQ(s.At(0, 0), 0x123456u);
  s.Lost = true;
  EXPECT_EQ(MatchSurfaceColour(s, 0xFF00FF), kInvalidColour);
}

}  // namespace
}  // namespace sf
