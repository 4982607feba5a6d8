// Whole frames of the program, each reported with its ratio to a memcpy of one 800 x 600 frame
// measured in the same run (the "x memcpy" counter).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/Form.h"
#include "app/Platform.h"
#include "game/Game.h"
#include "platform/Input.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeHttp.h"
#include "platform/fake/FakeMusic.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeSound.h"
#include "platform/fake/FakeWindow.h"
#include "ui/Menus.h"

namespace {

// Median time of one frame memcpy in nanoseconds, measured once per run.
double FrameMemcpyNs() {
  static const double ns = [] {
    std::vector<uint32_t> a(800 * 600, 1), b(800 * 600, 2);
    std::vector<double> samples;
    for (int round = 0; round < 301; ++round) {
      const auto t0 = std::chrono::steady_clock::now();
      std::memcpy(b.data(), a.data(), a.size() * 4);
      benchmark::DoNotOptimize(b.data());
      const auto t1 = std::chrono::steady_clock::now();
      samples.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count());
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
  }();
  return ns;
}

struct Program {
  Program() {
    files.Pack = std::string(SALTFANG_GAME_DIR) + "/Data/Data.pp";
    files.Config = (std::filesystem::temp_directory_path() / "saltfang_bench.cfg").string();
    files.Font = std::string(SALTFANG_GAME_DIR) + "/font.ttf";
    form = std::make_unique<sf::TForm1>(platform, files);
    form->FormCreate();
    form->ScreenState = sf::scrMainMenu;
  }
  void Frame() {
    clock.Advance(16);
    form->FrameStep();
  }
  sf::FakeWindow window;
  sf::FakeClock clock;
  sf::FakeShell shell;
  sf::FakeSound sound;
  sf::FakeMusic music;
  sf::FakeHttp http;
  sf::Platform platform{window, window, clock, shell, sound, music, http};
  sf::TForm1::Files files;
  std::unique_ptr<sf::TForm1> form;
};

void Report(benchmark::State& state, double totalNs) {
  const double perFrame = totalNs / static_cast<double>(state.iterations());
  state.counters["x_memcpy"] = perFrame / FrameMemcpyNs();
}

void RunScreen(benchmark::State& state, uint32_t screen) {
  Program p;
  p.form->ScreenState = screen;
  p.Frame();
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    p.Frame();
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
  }
  Report(state, total);
}

void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<uint32_t> a(800 * 600, 1), b(800 * 600, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
  }
}
BENCHMARK(BM_FrameMemcpy);

void BM_MainMenuFrame(benchmark::State& state) { RunScreen(state, sf::scrMainMenu); }
BENCHMARK(BM_MainMenuFrame);

void BM_HelpPage2Frame(benchmark::State& state) { RunScreen(state, sf::scrHelpNavigation); }
BENCHMARK(BM_HelpPage2Frame);

void BM_OptionsFrame(benchmark::State& state) { RunScreen(state, sf::scrOptions); }
BENCHMARK(BM_OptionsFrame);

// A busy game: every gun firing, the player sweeping, enemies and effects on the field.
void BM_HeavyGameStep(benchmark::State& state) {
  Program p;
  p.form->menus->MainMenu.Select(0);
  p.form->menus->MainMenu.Clicked = true;
  p.form->ExecuteCommand();
  p.window.Keys[sf::kScanLeftCtrl] = 0x80;
  for (int i = 0; i < 64 * 20 && p.form->ScreenState == sf::scrGame; ++i) p.Frame();
  double total = 0;
  int step = 0;
  for (auto _ : state) {
    p.window.Keys[sf::kScanLeft] = (step / 60) % 2 ? 0x80 : 0;
    p.window.Keys[sf::kScanRight] = (step / 60) % 2 ? 0 : 0x80;
    ++step;
    if (p.form->ScreenState != sf::scrGame) {  // a new game when the last one ended
      p.form->ScreenState = sf::scrMainMenu;
      p.form->menus->MainMenu.Select(0);
      p.form->menus->MainMenu.Clicked = true;
      p.form->ExecuteCommand();
    }
    const auto t0 = std::chrono::steady_clock::now();
    p.Frame();
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
  }
  Report(state, total);
}
BENCHMARK(BM_HeavyGameStep);

}  // namespace

BENCHMARK_MAIN();
