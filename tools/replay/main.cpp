// saltfang-replay: watches a replay in a window, checks one as the score service does, or records
// a scripted game (to compare builds: a replay written by one build must verify on another).
//
//   saltfang-replay FILE                      plays the game in a window at its recorded pace
//   saltfang-replay --verify FILE             prints the verdict; exit status 0 when verified
//   saltfang-replay --record-scripted OUT [SEED [STEPS]]   plays a scripted game, writes its replay
//
// The scripted game compares builds: by default it is fifteen minutes of a dodging player that
// reaches level 6 and meets all eight enemy kinds, and its replay holds a checkpoint every four
// seconds, so another build's --verify compares the two worlds checkpoint by checkpoint.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedGame.h"
#include "gfx/Blit.h"
#include "gfx/ImageSets.h"
#include "gfx/Text.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlWindow.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayVerify.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

int Verify(const std::string& path) {
  std::vector<uint8_t> file;
  if (!ReadFile(path, file)) {
    std::fprintf(stderr, "saltfang-replay: cannot read %s\n", path.c_str());
    return 2;
  }
  const std::clock_t start = std::clock();
  const replay::Verdict v = replay::PlayBack(file, replay::Limits{});
  const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  const double gameSeconds = v.steps / 64.0;
  std::printf("%s score=%lld level=%d steps=%u claimed=%lld bytes=%zu cpu=%.3fs game=%.0fs speed=%.0fx%s%s\n",
              v.ok ? "verified" : "refused", static_cast<long long>(v.score), v.level, v.steps,
              static_cast<long long>(v.claimedScore), file.size(), cpu, gameSeconds, cpu > 0 ? gameSeconds / cpu : 0.0,
              v.ok ? "" : " error=", v.ok ? "" : v.error.c_str());
  return v.ok && v.score == v.claimedScore ? 0 : 1;
}

int RecordScripted(const std::string& out, uint32_t seed, uint32_t steps) {
  const replay::ScriptedGame game = replay::PlayScriptedGame(seed, steps, true);
  int kinds = 0;
  for (unsigned k = 0; k < 8; ++k) kinds += (game.KindsMet >> k) & 1u ? 1 : 0;
  std::ofstream file(out, std::ios::binary);
  file.write(reinterpret_cast<const char*>(game.File.data()), static_cast<std::streamsize>(game.File.size()));
  file.close();
  if (!file || game.File.empty()) {
    std::fprintf(stderr, "saltfang-replay: cannot write %s\n", out.c_str());
    return 2;
  }
  std::printf(
      "recorded score=%d level=%d steps=%u digest=%016llx lives-lost=%d bonuses=%d weapon-changes=%d "
      "pauses=%d left=%d enemy-kinds=%d/8 bytes=%zu\n",
      game.Score, game.Level, game.Steps, static_cast<unsigned long long>(game.Digest), game.LivesLost,
      game.BonusesTaken, game.WeaponChanges, game.Pauses, game.Left ? 1 : 0, kinds, game.File.size());
  return 0;
}

// Shows the game at the pace it was played; a pause longer than a second is cut to a second.
int Watch(const std::string& path, const char* argv0) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(path, bytes)) {
    std::fprintf(stderr, "saltfang-replay: cannot read %s\n", path.c_str());
    return 2;
  }
  replay::DecodedReplay decoded;
  std::string error;
  if (!replay::DecodeReplay(bytes, replay::Limits{}.maxFileBytes, decoded, error)) {
    std::fprintf(stderr, "saltfang-replay: %s\n", error.c_str());
    return 1;
  }
  // The pictures and the font are the game's, in its folder: the working one or this program's.
  if (!std::filesystem::exists("Data/Data.pp")) {
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::absolute(argv0).parent_path(), ec);
  }
  auto window = std::make_unique<sf::SdlWindow>();
  window->SetMode(true);
  sf::ImageSets images;
  sf::LoadAllImages(images, "Data/Data.pp");
  const std::string font = sf::TextRenderer::FindDefaultFont();
  auto text = font.empty() ? std::make_unique<sf::TextRenderer>() : std::make_unique<sf::TextRenderer>(font);
  sf::SdlClock clock;
  sf::Surface back(800, 600), snapshot(800, 600);
  replay::ReplayPlayer player(decoded, images, *text, snapshot);

  uint32_t shownTick = decoded.Header.StartTick;
  uint32_t due = clock.TickCount();
  bool quit = false;
  while (!quit) {
    sf::FillSurface(back, 0);
    if (!player.Step(back)) break;
    const uint32_t gap = player.Tick() - shownTick;
    shownTick = player.Tick();
    due += gap > 1000 ? 1000 : gap;
    while (!quit && static_cast<int32_t>(due - clock.TickCount()) > 0) {
      sf::InputEvent e;
      while (window->PollEvent(e)) {
        if (e.Kind == sf::InputEvent::CloseRequest || e.Kind == sf::InputEvent::Quit ||
            (e.Kind == sf::InputEvent::KeyDown && e.Key == sf::vkEscape))
          quit = true;
      }
      window->WaitEvent(clock.MsUntilNextTick());
    }
    window->Present(back);
  }
  if (!player.Error().empty()) std::fprintf(stderr, "saltfang-replay: %s\n", player.Error().c_str());
  std::printf("played %u steps: score %d, level %d\n", player.StepsPlayed(), player.Game().Score, player.Game().Level);
  return player.Error().empty() ? 0 : 1;
}

void Usage() {
  std::fprintf(stderr,
               "usage: saltfang-replay FILE\n"
               "       saltfang-replay --verify FILE\n"
               "       saltfang-replay --record-scripted OUT [SEED [STEPS]]\n");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--verify" && argc == 3) return Verify(argv[2]);
    if (first == "--record-scripted" && argc >= 3 && argc <= 5) {
      const auto seed = static_cast<uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : replay::kComparisonSeed);
      const auto steps =
          static_cast<uint32_t>(argc > 4 ? std::strtoul(argv[4], nullptr, 10) : replay::kComparisonSteps);
      return RecordScripted(argv[2], seed, steps);
    }
    if (argc == 2 && first.rfind("--", 0) != 0) return Watch(first, argv[0]);
    Usage();
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "saltfang-replay: %s\n", e.what());
    return 1;
  }
}
