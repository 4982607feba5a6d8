#include <gtest/gtest.h>
#include <unistd.h>
#include <xmp.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlSoundDevice.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

// An XM module of `orders` order entries over one empty pattern of four rows: at speed 3 and
// 125 BPM every order lasts 240 ms.
std::vector<uint8_t> MakeModule(uint16_t orders) {
  std::vector<uint8_t> out;
  auto put = [&](const char* s, size_t n) {
    for (size_t i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(s[i]));
  };
  auto put16 = [&](uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto put32 = [&](uint32_t v) {
    put16(static_cast<uint16_t>(v));
    put16(static_cast<uint16_t>(v >> 16));
  };
  put("Extended Module: ", 17);
  put("order test          ", 20);
  out.push_back(0x1A);
  put("FastTracker v2.00   ", 20);
  put16(0x0104);
  put32(276);
  put16(orders);
  put16(0);  // restart at the first order
  put16(2);  // channels
  put16(1);  // patterns
  put16(0);  // instruments
  put16(1);  // linear frequencies
  put16(3);
  put16(125);
  out.insert(out.end(), 256, 0);  // every order plays pattern 0
  put32(9);
  out.push_back(0);
  put16(4);
  put16(8);
  out.insert(out.end(), 8, 0x80);
  out.resize(std::max<size_t>(out.size(), 600), 0);  // some loaders want 512 bytes at least
  return out;
}

class TempFile {
 public:
  explicit TempFile(const std::vector<uint8_t>& bytes) {
    path_ = fs::temp_directory_path() /
            ("saltfang-audio-" + std::to_string(::getpid()) + "-" + std::to_string(next_++) + ".xm");
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  ~TempFile() { fs::remove(path_); }
  std::string Path() const { return path_.string(); }

 private:
  static inline int next_ = 0;
  fs::path path_;
};

// Renders the song one mixer buffer at a time and returns the orders it passes through (repeats
// folded), stopping after it has come back to the first order or after `maxSeconds` of audio.
std::vector<int32_t> OrdersUntilWrap(SdlMusic& music, SongHandle song, int maxSeconds) {
  std::vector<uint8_t> buffer(4096);
  std::vector<int32_t> seen{music.SongGetOrder(song)};
  const long buffers = static_cast<long>(maxSeconds) * 44100 * 4 / static_cast<long>(buffer.size());
  for (long i = 0; i < buffers; ++i) {
    music.Render(buffer.data(), static_cast<int>(buffer.size()));
    const int32_t order = music.SongGetOrder(song);
    if (order != seen.back()) seen.push_back(order);
    if (seen.size() > 1 && order == 0) break;
  }
  return seen;
}

// How many orders a module file has, read by libxmp itself.
int OrderCount(const std::string& path) {
  xmp_context ctx = xmp_create_context();
  int len = -1;
  if (xmp_load_module(ctx, path.c_str()) == 0) {
    xmp_module_info info;
    xmp_get_module_info(ctx, &info);
    len = info.mod->len;
    xmp_release_module(ctx);
  }
  xmp_free_context(ctx);
  return len;
}

TEST(AudioSdlMusic, OrderAdvancesAndWrapsToTheStart) {
  SdlSoundDevice device(false);
  SdlMusic music(device);
  TempFile file(MakeModule(3));
  const SongHandle song = music.SongLoadFromFile(file.Path());
  ASSERT_NE(song, 0u);
  EXPECT_EQ(music.SongGetOrder(song), 0);
  music.SongPlay(song);
  EXPECT_EQ(OrdersUntilWrap(music, song, 10), (std::vector<int32_t>{0, 1, 2, 0}));
  // Playing again starts from the beginning.
  music.Render(std::vector<uint8_t>(44100).data(), 44100);
  EXPECT_NE(music.SongGetOrder(song), 0);
  music.SongPlay(song);
  EXPECT_EQ(music.SongGetOrder(song), 0);
  EXPECT_EQ(OrdersUntilWrap(music, song, 10), (std::vector<int32_t>{0, 1, 2, 0}));
  music.SongFree(song);
  EXPECT_EQ(music.SongGetOrder(song), 0);
}

TEST(AudioSdlMusic, GeneratedTracksDecodeAndComeRound) {
  for (const char* name : {"1.xm", "2.xm"}) {
    const std::string path = std::string(SALTFANG_GAME_DIR) + "/sound/" + name;
    const int orders = OrderCount(path);
    ASSERT_GE(orders, 1) << path;
    SdlSoundDevice device(false);
    SdlMusic music(device);
    const SongHandle song = music.SongLoadFromFile(path);
    ASSERT_NE(song, 0u) << path;
    music.SongPlay(song);
    std::vector<uint8_t> buffer(8192, 0);
    music.Render(buffer.data(), static_cast<int>(buffer.size()));
    if (orders == 1) {
      // A single order is never left; the check of the frame loop then never switches.
      EXPECT_EQ(OrdersUntilWrap(music, song, 5), (std::vector<int32_t>{0}));
    } else {
      const std::vector<int32_t> seen = OrdersUntilWrap(music, song, 600);
      ASSERT_GE(seen.size(), 3u) << path;
      EXPECT_EQ(seen.back(), 0) << path;  // it came round to the first order
      EXPECT_GT(*std::max_element(seen.begin(), seen.end()), 0) << path;
    }
  }
}

TEST(AudioSdlMusic, BadTracksAndHandlesAreHarmless) {
  SdlSoundDevice device(false);
  SdlMusic music(device);
  EXPECT_EQ(music.SongLoadFromFile("sound/no-such-track.xm"), 0u);
  EXPECT_EQ(music.SongLoadFromFile(""), 0u);
  TempFile junk(std::vector<uint8_t>(2000, 'x'));
  EXPECT_EQ(music.SongLoadFromFile(junk.Path()), 0u);
  music.SongPlay(0);
  music.SongPlay(42);
  music.SongFree(0);
  music.SongFree(42);
  EXPECT_EQ(music.SongGetOrder(42), 0);
  std::vector<uint8_t> buffer(1024, 0x55);
  music.Render(buffer.data(), static_cast<int>(buffer.size()));
  EXPECT_EQ(buffer, std::vector<uint8_t>(1024, 0));  // nothing sounds: silence
}

TEST(AudioSdlMusic, OnlyTheSongLastPlayedSounds) {
  SdlSoundDevice device(false);
  SdlMusic music(device);
  TempFile file(MakeModule(3));
  const SongHandle a = music.SongLoadFromFile(file.Path()), b = music.SongLoadFromFile(file.Path());
  ASSERT_NE(a, b);
  music.SongPlay(a);
  music.Render(std::vector<uint8_t>(60000).data(), 60000);
  EXPECT_EQ(music.SongGetOrder(a), 1);
  music.SongPlay(b);
  EXPECT_EQ(music.SongGetOrder(a), 0);
  music.Render(std::vector<uint8_t>(60000).data(), 60000);
  EXPECT_EQ(music.SongGetOrder(b), 1);
  music.SongFree(a);  // freeing a song that does not sound leaves the other one playing
  EXPECT_EQ(music.SongGetOrder(b), 1);
}

// The audio thread renders while the main thread swaps, frees and queries songs, as the game does.
TEST(AudioSdlMusic, RenderingWhileSongsChangeIsSafe) {
  SdlSoundDevice device(false);
  SdlMusic music(device);
  TempFile file(MakeModule(3));
  std::atomic<bool> done{false};
  std::thread audioThread([&] {
    std::vector<uint8_t> buffer(4096);
    while (!done) music.Render(buffer.data(), static_cast<int>(buffer.size()));
  });
  SongHandle song = 0;
  for (int i = 0; i < 200; ++i) {
    music.SongFree(song);
    song = music.SongLoadFromFile(file.Path());
    ASSERT_NE(song, 0u);
    music.SongPlay(song);
    for (int k = 0; k < 20; ++k) {
      const int32_t order = music.SongGetOrder(song);
      ASSERT_GE(order, 0);
      ASSERT_LE(order, 2);
    }
  }
  done = true;
  audioThread.join();
}

}  // namespace
}  // namespace sf
