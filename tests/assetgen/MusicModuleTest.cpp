// The two music modules as the game's player sees them: libxmp loads them, they last at least a
// minute before looping to order 0, play through every order, and sound (not silent, not
// clipping); every tonal instrument sounds at its written pitch. libxmp is opened at run time so
// this program needs no link to it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "Art.h"
#include "MusicArtInstruments.h"
#include "MusicArtScore.h"
#include "PitchEstimate.h"
#include "XmWriter.h"

namespace {

class Xmp {
 public:
  Xmp() : lib_(dlopen("libxmp.so.4", RTLD_NOW | RTLD_LOCAL)) {
    if (!lib_) return;
    Bind(create, "xmp_create_context");
    Bind(freeContext, "xmp_free_context");
    Bind(loadFromMemory, "xmp_load_module_from_memory");
    Bind(moduleInfo, "xmp_get_module_info");
    Bind(startPlayer, "xmp_start_player");
    Bind(playBuffer, "xmp_play_buffer");
    Bind(frameInfo, "xmp_get_frame_info");
    Bind(endPlayer, "xmp_end_player");
    Bind(release, "xmp_release_module");
  }
  ~Xmp() {
    if (lib_) dlclose(lib_);
  }
  bool Loaded() const { return lib_ && create && release; }

  decltype(&xmp_create_context) create = nullptr;
  decltype(&xmp_free_context) freeContext = nullptr;
  decltype(&xmp_load_module_from_memory) loadFromMemory = nullptr;
  decltype(&xmp_get_module_info) moduleInfo = nullptr;
  decltype(&xmp_start_player) startPlayer = nullptr;
  decltype(&xmp_play_buffer) playBuffer = nullptr;
  decltype(&xmp_get_frame_info) frameInfo = nullptr;
  decltype(&xmp_end_player) endPlayer = nullptr;
  decltype(&xmp_release_module) release = nullptr;

 private:
  template <class F>
  void Bind(F& f, const char* name) {
    f = reinterpret_cast<F>(dlsym(lib_, name));
  }
  void* lib_;
};

constexpr int kRate = 22050;

// A module loaded into its own player, rendering mono 16-bit audio.
class Player {
 public:
  Player(const Xmp& xmp, const std::vector<uint8_t>& bytes) : xmp_(xmp), ctx_(xmp.create()) {
    loaded_ = xmp_.loadFromMemory(ctx_, bytes.data(), static_cast<long>(bytes.size())) == 0;
    if (loaded_) xmp_.startPlayer(ctx_, kRate, XMP_FORMAT_MONO);
  }
  ~Player() {
    if (loaded_) {
      xmp_.endPlayer(ctx_);
      xmp_.release(ctx_);
    }
    xmp_.freeContext(ctx_);
  }
  bool Loaded() const { return loaded_; }
  xmp_module_info Info() const {
    xmp_module_info info{};
    xmp_.moduleInfo(ctx_, &info);
    return info;
  }
  // Renders `frames` samples; returns the order position after them.
  int Render(std::vector<int16_t>& out, int frames) {
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(frames));
    xmp_.playBuffer(ctx_, out.data() + at, frames * 2, 0);
    xmp_frame_info fi{};
    xmp_.frameInfo(ctx_, &fi);
    return fi.pos;
  }

 private:
  const Xmp& xmp_;
  xmp_context ctx_;
  bool loaded_ = false;
};

double Db(double rms) { return 20 * std::log10(rms / 32768.0 + 1e-12); }

double RmsDb(const std::vector<int16_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return Db(std::sqrt(sum / static_cast<double>(to - from)));
}

class MusicModule : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!xmp_.Loaded()) GTEST_SKIP() << "libxmp.so.4 is not available";
  }
  Xmp xmp_;
};

TEST_P(MusicModule, LoadsLastsAMinutePlaysEveryOrderAndLoopsToTheStart) {
  const std::vector<uint8_t> bytes = assetgen::MakeMusicModule(GetParam());
  Player player(xmp_, bytes);
  ASSERT_TRUE(player.Loaded());
  const xmp_module_info info = player.Info();
  EXPECT_STREQ(info.mod->type, "FastTracker v2.00 XM 1.04");
  EXPECT_GE(info.mod->chn, 8);
  EXPECT_GE(info.mod->ins, 5);
  EXPECT_EQ(info.mod->rst, 0);
  EXPECT_GE(info.mod->len, 6);
  EXPECT_GE(info.seq_data[0].duration, 60000);

  // Play past the end in 1 s steps, noting each order position as it first appears.
  const int seconds = info.seq_data[0].duration / 1000 + 3;
  std::vector<int16_t> audio;
  std::vector<int> positions;
  for (int s = 0; s < seconds; ++s) {
    const int pos = player.Render(audio, kRate);
    if (positions.empty() || positions.back() != pos) positions.push_back(pos);
  }
  std::vector<int> expected;
  for (int p = 0; p < info.mod->len; ++p) expected.push_back(p);
  expected.push_back(0);
  EXPECT_EQ(positions, expected) << "orders must advance one by one, then loop to 0";

  int peak = 0;
  for (int16_t v : audio) peak = std::max(peak, std::abs(static_cast<int>(v)));
  EXPECT_LT(Db(peak), -1.0) << "the mix must leave headroom for the effects";
  EXPECT_GT(Db(peak), -14.0);
  for (size_t from = 0; from + 4 * kRate <= audio.size(); from += 4 * kRate) {
    const double rms = RmsDb(audio, from, from + 4 * kRate);
    EXPECT_GT(rms, -32.0) << "near-silence at " << from / kRate << " s";
    EXPECT_LT(rms, -12.0) << "too loud at " << from / kRate << " s";
  }
}

TEST_P(MusicModule, NothingRingsOnWhenTheSongLoops) {
  Player player(xmp_, assetgen::MakeMusicModule(GetParam()));
  ASSERT_TRUE(player.Loaded());
  const int seconds = player.Info().seq_data[0].duration / 1000 + 6;
  std::vector<int16_t> audio;
  size_t loopAt = 0;
  int last = 0;
  while (audio.size() < static_cast<size_t>(seconds) * kRate) {
    const size_t before = audio.size();
    const int pos = player.Render(audio, 64);
    if (pos == 0 && last != 0 && loopAt == 0) loopAt = before;
    last = pos;
  }
  ASSERT_GT(loopAt, 0u);
  // Three seconds in, the released tails of the song's end are gone: the second time round must
  // sound exactly like the first.
  const size_t from = 3 * kRate, length = kRate / 4;
  double best = 1e9;
  for (int lag = -128; lag <= 128; ++lag) {
    double diff = 0, energy = 0;
    for (size_t i = 0; i < length; ++i) {
      const double a = audio[from + i], b = audio[static_cast<size_t>(static_cast<ptrdiff_t>(loopAt + from + i) + lag)];
      diff += (a - b) * (a - b);
      energy += a * a;
    }
    best = std::min(best, std::sqrt(diff / (energy + 1)));
  }
  EXPECT_LT(best, 0.02);
}

TEST_P(MusicModule, SameBytesEveryBuildAndAsWrittenForTheGame) {
  const int number = GetParam();
  const std::vector<uint8_t> bytes = assetgen::MakeMusicModule(number);
  EXPECT_EQ(bytes, assetgen::MakeMusicModule(number));
  std::ifstream file(std::string(SALTFANG_GAME_DIR) + "/sound/" + std::to_string(number) + ".xm", std::ios::binary);
  ASSERT_TRUE(file) << "the game folder holds no module " << number;
  const std::vector<uint8_t> written{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(written, bytes);
}

INSTANTIATE_TEST_SUITE_P(MenuAndGame, MusicModule, ::testing::Values(1, 2));

// The period of a steady tone, between 55 and 1000 Hz.
double PitchHz(const std::vector<int16_t>& s, size_t from, size_t length) {
  return testing_audio::PitchHz(std::span<const int16_t>(s), from, length, kRate, 55);
}

TEST(MusicInstruments, TonalInstrumentsSoundAtTheirWrittenPitch) {
  Xmp xmp;
  if (!xmp.Loaded()) GTEST_SKIP() << "libxmp.so.4 is not available";
  using namespace assetgen::music;
  const double tps = 40;
  const struct {
    const char* Name;
    assetgen::xm::Instrument Instrument;
    const char* Note;
    double Hz;
  } cases[] = {
      {"soft bass", SoftBass(tps), "A2", 110}, {"pad", WarmPad(tps), "A3", 220},
      {"celesta", Celesta(tps), "E4", 329.63}, {"flute", Flute(tps), "A4", 440},
      {"saw bass", SawBass(tps), "E2", 82.41}, {"stab", BrassStab(tps), "D4", 293.66},
      {"lead", SquareLead(tps), "G4", 392},    {"pluck", Pluck(tps), "C4", 261.63},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    assetgen::xm::Module m;
    m.Channels = 2;
    m.Bpm = 100;
    m.Patterns = {assetgen::xm::Pattern(64, 2)};
    m.Patterns[0].At(0, 0) = assetgen::xm::Cell{NoteNumber(c.Note), 1};
    m.Orders = {0};
    m.Instruments = {c.Instrument};
    Player player(xmp, assetgen::xm::WriteXm(m));
    ASSERT_TRUE(player.Loaded());
    std::vector<int16_t> audio;
    player.Render(audio, kRate);
    // Early in the note, before any vibrato has grown.
    EXPECT_NEAR(PitchHz(audio, kRate / 10, 2048), c.Hz, c.Hz * 0.015);
  }
}

}  // namespace
