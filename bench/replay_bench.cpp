// Watching a replay: a seek plays the game again without showing it, with the game's own pictures
// and font loaded (as the viewer has them), against the verifier's pace without them. Reported as
// game steps a second and as the ratio of one step to a memcpy of one 800 x 600 frame.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "ScriptedGame.h"
#include "gfx/ImageSets.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayViewer.h"

namespace {

double FrameCopySeconds() {
  std::vector<uint32_t> a(800 * 600, 1), b(800 * 600, 2);
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 50; ++i) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / 50;
}

void BM_ViewerSeekThroughGame(benchmark::State& state) {
  const replay::ScriptedGame game = replay::PlayScriptedGame(replay::kComparisonSeed, 64 * 60 * 10, true);
  replay::DecodedReplay decoded;
  std::string error;
  if (!replay::DecodeReplay(game.File, game.File.size(), decoded, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  sf::ImageSets images;
  sf::LoadAllImages(images, std::string(SALTFANG_GAME_DIR) + "/Data/Data.pp");
  sf::TextRenderer text(std::string(SALTFANG_GAME_DIR) + "/font.ttf");
  sf::Surface target(800, 600), snapshot(800, 600);
  replay::ReplayViewer viewer(decoded, images, text, snapshot, target);
  double seconds = 0;
  uint64_t steps = 0;
  for (auto _ : state) {
    viewer.Restart(target);
    const auto t0 = std::chrono::steady_clock::now();
    viewer.SeekTo(viewer.TotalMs(), target);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    steps += viewer.Steps();
  }
  state.counters["steps_per_s"] = static_cast<double>(steps) / seconds;
  state.counters["step_x_memcpy"] = seconds / static_cast<double>(steps) / FrameCopySeconds();
}
BENCHMARK(BM_ViewerSeekThroughGame)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
