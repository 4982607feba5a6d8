// Drawing costs as multiples of one memcpy of an 800 x 600 frame, measured in the same run
// ("x_memcpy" counter). Machines differ and are noisy; the ratio is what to compare.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "core/Colour.h"
#include "core/Random.h"
#include "gfx/Blit.h"
#include "gfx/DrawOps.h"
#include "gfx/Text.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kW = 800;
constexpr int kH = 600;

double Median(std::vector<double>& v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

// Each iteration times one frame-sized memcpy and then the body; the counter is the ratio of
// the two medians, so both see the same machine load.
template <typename Body>
void RunAgainstMemcpy(benchmark::State& state, Body body) {
  static std::vector<uint32_t> a(kW * kH, 1), b(kW * kH, 2);
  std::vector<double> copyTimes, bodyTimes;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
    benchmark::ClobberMemory();
    const auto t1 = Clock::now();
    body();
    benchmark::ClobberMemory();
    const auto t2 = Clock::now();
    copyTimes.push_back(std::chrono::duration<double>(t1 - t0).count());
    bodyTimes.push_back(std::chrono::duration<double>(t2 - t1).count());
  }
  const double copy = Median(copyTimes);
  state.counters["x_memcpy"] = copy > 0 ? Median(bodyTimes) / copy : 0;
  state.counters["us"] = Median(bodyTimes) * 1e6;
}

sf::Surface Background() {
  sf::Surface s(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      s.At(x, y) = static_cast<uint32_t>(((x * 255 / kW) << 16) | ((y * 255 / kH) << 8) | 0x40);
  return s;
}

// A full-screen keyed overlay: picture only in the title's 524 x 103 corner, with letter holes.
sf::Surface TitleOverlay() {
  sf::Surface s(kW, kH, sf::kColourKey);
  sf::Random rnd(7);
  for (int y = 0; y < 103; ++y)
    for (int x = 0; x < 524; ++x)
      s.At(x, y) = ((x / 9 + y / 13) % 3 == 0) ? sf::kColourKey : 0x336699u + static_cast<uint32_t>(rnd.RandInt(64));
  return s;
}

// A panel with rounded, keyed corners.
sf::Surface Panel(int w, int h) {
  sf::Surface s(w, h, 0xD8C8A0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int cx = std::min(x, w - 1 - x), cy = std::min(y, h - 1 - y);
      if (cx < 12 && cy < 12 && (12 - cx) * (12 - cx) + (12 - cy) * (12 - cy) > 144) s.At(x, y) = sf::kColourKey;
    }
  return s;
}

sf::Surface Sprite(int w, int h) {
  sf::Surface s(w, h, sf::kColourKey);
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) s.At(x, y) = 0x808080u + static_cast<uint32_t>(x * 3 + y);
  return s;
}

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint32_t> a(kW * kH, 1), b(kW * kH, 2);
  RunAgainstMemcpy(state, [&] { std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t)); });
}
// Clearing a frame, for comparison.
void BM_ClearFrame(benchmark::State& state) {
  sf::Surface frame(kW, kH);
  RunAgainstMemcpy(state, [&] { sf::FillSurface(frame, 0); });
}
BENCHMARK(BM_ClearFrame);
BENCHMARK(BM_MemcpyFrame);

void BM_OpaqueFullScreen(benchmark::State& state) {
  const sf::Surface bg = Background();
  sf::Surface frame(kW, kH);
  RunAgainstMemcpy(state, [&] { sf::BltFast(frame, 0, 0, bg, false); });
}
BENCHMARK(BM_OpaqueFullScreen);

// A full-screen keyed copy where half the picture is key in long stretches.
void BM_KeyedFullScreenHalf(benchmark::State& state) {
  sf::Surface img = Background();
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if ((x / 37 + y / 23) % 2 == 0) img.At(x, y) = sf::kColourKey;
  sf::Surface frame(kW, kH);
  RunAgainstMemcpy(state, [&] { sf::BltFast(frame, 0, 0, img, true); });
}
BENCHMARK(BM_KeyedFullScreenHalf);

void BM_KeyedTitleOverlay(benchmark::State& state) {
  const sf::Surface title = TitleOverlay();
  sf::Surface frame(kW, kH);
  RunAgainstMemcpy(state, [&] { sf::BltFast(frame, 0, 0, title, true); });
}
BENCHMARK(BM_KeyedTitleOverlay);

// Clear, opaque background, keyed full-screen title, one highlighted menu item.
void BM_MainMenuFrame(benchmark::State& state) {
  const sf::Surface bg = Background();
  const sf::Surface title = TitleOverlay();
  const sf::Surface item = Panel(260, 48);
  sf::Surface frame(kW, kH);
  RunAgainstMemcpy(state, [&] {
    sf::FillSurface(frame, 0);
    sf::BltFast(frame, 0, 0, bg, false);
    sf::BltFast(frame, 0, 0, title, true);
    sf::DrawClipped(item, frame, sf::Rect{0, 0, 260, 48}, 20, 220);
  });
}
BENCHMARK(BM_MainMenuFrame);

void BM_RotatedTurret(benchmark::State& state) {
  const sf::Surface turret = Sprite(18, 25);
  sf::Surface frame(kW, kH);
  long double angle = 0;
  RunAgainstMemcpy(state, [&] {
    sf::DrawRotated(turret, frame, 9, 12, angle, 18, 25, 400, 300);
    angle += 0.01L;
  });
}
BENCHMARK(BM_RotatedTurret);

void BM_RotatedRocket(benchmark::State& state) {
  const sf::Surface rocket = Sprite(7, 27);
  sf::Surface frame(kW, kH);
  long double angle = 0;
  RunAgainstMemcpy(state, [&] {
    sf::DrawRotated(rocket, frame, 3, 13, angle, 7, 27, 400, 300);
    angle += 0.01L;
  });
}
BENCHMARK(BM_RotatedRocket);

const char* const kHelpLines[] = {"Use the arrow keys to steer the ship.",
                                  "Hold Ctrl to fire the guns.",
                                  "The mouse turns the three turrets.",
                                  "The wheel changes the weapon.",
                                  "Space pauses the game.",
                                  "Esc asks whether to leave the game.",
                                  "Pick up the falling bonuses.",
                                  "\"Rocket\" adds rockets.",
                                  "\"Gun\" adds shells.",
                                  "\"Rocket 3x\" triples them.",
                                  "\"Gun 2x\" doubles the shells.",
                                  "\"First-aid set\" repairs the ship.",
                                  "\"Ice\" freezes every enemy.",
                                  "\"Coins\" add points.",
                                  "\"Mega-Bomb\" destroys all in sight.",
                                  "Each level ends after enough kills.",
                                  "Islands carry guns of their own.",
                                  "Bombers drop bombs on the ship.",
                                  "The supply plane drops bonuses.",
                                  "Good luck, captain!"};

// Clear, background, panel, title with shadow, about twenty help lines and the page buttons.
void BM_HelpPageFrame(benchmark::State& state) {
  const sf::Surface bg = Background();
  const sf::Surface panel = Panel(480, 420);
  const sf::Surface button = Panel(90, 30);
  sf::TextRenderer text(sf::TextRenderer::FindDefaultFont());
  sf::Surface frame(kW, kH);
  RunAgainstMemcpy(state, [&] {
    sf::FillSurface(frame, 0);
    sf::BltFast(frame, 0, 0, bg, false);
    sf::BltFast(frame, 297, 157, panel, true);
    text.DrawShadowText(frame, 330, 170, 22, 12, "GAME NAVIGATIONS", sf::kHighlightColour);
    int y = 200;
    for (const char* line : kHelpLines) {
      text.DrawPlainText(frame, 320, y, 14, 8, line, sf::kNormalColour, false);
      y += 17;
    }
    sf::DrawClipped(button, frame, sf::Rect{0, 0, 90, 30}, 320, 545);
    sf::DrawClipped(button, frame, sf::Rect{0, 0, 90, 30}, 660, 545);
  });
}
BENCHMARK(BM_HelpPageFrame);

// Every kind of text of the screens: large dialog lines with shadows and anti-aliased edges.
void BM_DialogTexts(benchmark::State& state) {
  sf::TextRenderer text(sf::TextRenderer::FindDefaultFont());
  sf::Surface frame(kW, kH, 0x203040);
  RunAgainstMemcpy(state, [&] {
    text.DrawShadowText(frame, 220, 230, 46, 20, "Exit the game?", sf::kNormalColour);
    text.DrawShadowText(frame, 260, 330, 46, 20, "Yes", sf::kHighlightColour);
    text.DrawShadowText(frame, 460, 330, 46, 20, "No", sf::kNormalColour);
    text.DrawAlignedText(frame, 59, 100, 30, 12, "1234560", sf::kHighlightColour, sf::kAlignCenter, false);
    text.DrawAlignedText(frame, 400, 300, 18, 12, "500", sf::kAlertColour, sf::kAlignCenter, false);
  });
}
BENCHMARK(BM_DialogTexts);

}  // namespace
