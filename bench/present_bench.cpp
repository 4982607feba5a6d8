// Presenting a finished frame on the software path (SDL's software renderer, dummy video driver),
// as a ratio to a memcpy of one 800 x 600 frame.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/sdl/SdlWindow.h"

namespace {

void BM_PresentSoftwarePath(benchmark::State& state) {
  SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
  sf::SdlWindow window;
  window.SetMode(true);
  sf::Surface frame(800, 600, 0x204060);
  std::vector<uint32_t> a(800 * 600, 1), b(800 * 600, 2);
  double present = 0, copy = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    window.Present(frame);
    const auto t1 = std::chrono::steady_clock::now();
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
    const auto t2 = std::chrono::steady_clock::now();
    present += std::chrono::duration<double>(t1 - t0).count();
    copy += std::chrono::duration<double>(t2 - t1).count();
  }
  state.counters["x_memcpy"] = present / copy;
}
BENCHMARK(BM_PresentSoftwarePath);

}  // namespace
