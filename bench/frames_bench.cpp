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
#include "game/GameTables.h"
#include "game/Gunner.h"
#include "game/MyShip.h"
#include "platform/Input.h"
#include "platform/fake/FakePlatform.h"
#include "ui/Menus.h"

namespace {

// Times work against a memcpy of one frame done right after it in the same iteration, so both
// see the same machine load; the ratio of the sums is the "x_memcpy" counter.
class MemcpyRatio {
 public:
  template <typename Work>
  void Measure(Work&& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    const auto t1 = std::chrono::steady_clock::now();
    std::memcpy(b_.data(), a_.data(), a_.size() * 4);
    benchmark::DoNotOptimize(b_.data());
    const auto t2 = std::chrono::steady_clock::now();
    work_ += std::chrono::duration<double>(t1 - t0).count();
    copy_ += std::chrono::duration<double>(t2 - t1).count();
  }
  void Report(benchmark::State& state) const { state.counters["x_memcpy"] = work_ / copy_; }

 private:
  std::vector<uint32_t> a_ = std::vector<uint32_t>(800 * 600, 1);
  std::vector<uint32_t> b_ = std::vector<uint32_t>(800 * 600, 2);
  double work_ = 0;
  double copy_ = 0;
};

struct Program {
  Program() {
    files.Pack = std::string(SALTFANG_GAME_DIR) + "/Data/Data.pp";
    files.Config = (std::filesystem::temp_directory_path() / "saltfang_bench.cfg").string();
    files.Font = std::string(SALTFANG_GAME_DIR) + "/font.ttf";
    window.KeepFrames = false;  // presenting is measured on its own
    form = std::make_unique<sf::TForm1>(fake.services, files);
    form->FormCreate();
    form->GoTo(sf::scrMainMenu);
  }
  void Frame() {
    clock.Advance(16);
    form->FrameStep();
  }
  sf::FakePlatform fake;
  sf::FakeWindow& window = fake.window;
  sf::FakeClock& clock = fake.clock;
  sf::TForm1::Files files;
  std::unique_ptr<sf::TForm1> form;
};

void RunScreen(benchmark::State& state, sf::ScreenState screen) {
  Program p;
  p.form->GoTo(screen);
  p.Frame();
  MemcpyRatio ratio;
  for (auto _ : state) ratio.Measure([&p] { p.Frame(); });
  ratio.Report(state);
}

void BM_AppMainMenuFrame(benchmark::State& state) { RunScreen(state, sf::scrMainMenu); }
BENCHMARK(BM_AppMainMenuFrame);

void BM_AppHelpPage2Frame(benchmark::State& state) { RunScreen(state, sf::scrHelpNavigation); }
BENCHMARK(BM_AppHelpPage2Frame);

void BM_AppOptionsFrame(benchmark::State& state) { RunScreen(state, sf::scrOptions); }
BENCHMARK(BM_AppOptionsFrame);

// Fills every projectile slot of the ship's three guns with shots spread over the field.
void FillShots(sf::TGame& game) {
  for (sf::TGunner& gun : game.Ship.Gunners) {
    for (size_t i = 0; i < gun.Shots.size(); ++i) {
      if (gun.Shots[i]) continue;
      const auto x = static_cast<int16_t>(140 + (i * 97 + gun.Slot * 41) % 520);
      const auto y = static_cast<int16_t>(40 + (i * 53 + gun.Slot * 29) % 420);
      const auto kind = static_cast<sf::ProjectileKind>(gun.Slot);  // bullets, shells, rockets
      gun.Shots[i].emplace(kind, x, y, 3.15 + 0.05 * static_cast<double>(i % 5));
    }
  }
}

// A heavy game step: all projectile slots of the three guns busy, explosions and floating scores
// running, islands and enemies on the field, the player sweeping and firing. The game is recorded
// for its replay as always, or (for comparison) not.
void HeavyGameStep(benchmark::State& state, bool recorded) {
  Program p;
  p.form->Widgets().MainMenu.Select(0);
  p.form->Widgets().MainMenu.Clicked = true;
  p.form->ExecuteCommand();
  p.window.Keys[sf::kScanLeftCtrl] = 0x80;
  for (int i = 0; i < 64 * 20 && p.form->Screen() == sf::scrGame; ++i) p.Frame();
  MemcpyRatio ratio;
  int step = 0;
  for (auto _ : state) {
    p.window.Keys[sf::kScanLeft] = (step / 60) % 2 ? uint8_t{0x80} : uint8_t{0};
    p.window.Keys[sf::kScanRight] = (step / 60) % 2 ? 0 : 0x80;
    ++step;
    if (p.form->Screen() != sf::scrGame) {  // a new game when the last one ended
      p.form->GoTo(sf::scrMainMenu);
      p.form->Widgets().MainMenu.Select(0);
      p.form->Widgets().MainMenu.Clicked = true;
      p.form->ExecuteCommand();
    }
    sf::TGame& game = *p.form->Game();
    if (!recorded) game.Recorder = nullptr;
    game.Health = sf::kMaxHealth;
    FillShots(game);
    for (int i = 0; i < 6; ++i) {
      game.SpawnHit(static_cast<int16_t>(150 + 80 * i), static_cast<int16_t>(100 + 50 * i), sf::hitExplosion, 0);
      game.AddRunScore(static_cast<int16_t>(200 + 60 * i), 300, 25);
    }
    ratio.Measure([&p] { p.Frame(); });
  }
  ratio.Report(state);
  state.counters["shots"] =
      static_cast<double>(p.form->Game()->Ship.Gunners[0].ShotCount() + p.form->Game()->Ship.Gunners[1].ShotCount() +
                          p.form->Game()->Ship.Gunners[2].ShotCount());
}
void BM_AppHeavyGameStep(benchmark::State& state) { HeavyGameStep(state, true); }
BENCHMARK(BM_AppHeavyGameStep);
void BM_AppHeavyGameStepUnrecorded(benchmark::State& state) { HeavyGameStep(state, false); }
BENCHMARK(BM_AppHeavyGameStepUnrecorded);

}  // namespace

BENCHMARK_MAIN();
