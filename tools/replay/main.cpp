// saltfang-replay: watches a replay in a window, checks one as the score service does, or records
// a scripted game (to compare builds: a replay written by one build must verify on another).
//
//   saltfang-replay FILE|URL                  plays the game in a window at its recorded pace, with
//                                             its sound and music and the viewer's controls
//   saltfang-replay --verify FILE             prints the verdict; exit status 0 when verified
//   saltfang-replay --record-scripted OUT [SEED [STEPS [NAME]]]   plays a scripted game, writes its replay
//
// The scripted game compares builds: by default it is fifteen minutes of a dodging player that
// reaches level 6 and meets all eight enemy kinds, and its replay holds a checkpoint every four
// seconds, so another build's --verify compares the two worlds checkpoint by checkpoint. Its
// player then types NAME (capital letters; LONGGAME by default) into the name entry, as after a
// new high score: the score service verifies the game only for a result sent under that name.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedGame.h"
#include "audio/Audio.h"
#include "gfx/Blit.h"
#include "gfx/ImageSets.h"
#include "gfx/Text.h"
#include "platform/sdl/CurlHttp.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlSound.h"
#include "platform/sdl/SdlSoundDevice.h"
#include "platform/sdl/SdlWindow.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayVerify.h"
#include "replay/ReplayViewer.h"

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
  std::printf("%s score=%lld level=%d steps=%u claimed=%lld bytes=%zu cpu=%.3fs game=%.0fs speed=%.0fx%s%s%s%s\n",
              v.ok ? "verified" : "refused", static_cast<long long>(v.score), v.level, v.steps,
              static_cast<long long>(v.claimedScore), file.size(), cpu, gameSeconds, cpu > 0 ? gameSeconds / cpu : 0.0,
              v.nameEntered ? " name=" : "", v.nameEntered ? v.name.c_str() : "",
              v.ok ? "" : " error=", v.ok ? "" : v.error.c_str());
  return v.ok && v.score == v.claimedScore ? 0 : 1;
}

int RecordScripted(const std::string& out, uint32_t seed, uint32_t steps, const std::string& name) {
  if (name.empty() || name.size() > 10 || name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos) {
    std::fprintf(stderr, "saltfang-replay: a name is one to ten capital letters, as the name entry takes them\n");
    return 2;
  }
  const replay::ScriptedGame game = replay::PlayScriptedGame(seed, steps, true, name.c_str());
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

// A replay file, or one fetched from the score service (http:// or https://, e.g.
// http://host:8765/api/replays/ID). False with a sentence in error.
bool LoadReplay(const std::string& source, std::vector<uint8_t>& bytes, std::string& error) {
  if (source.rfind("http://", 0) == 0 || source.rfind("https://", 0) == 0) {
    sf::HttpLimits limits;
    limits.MaxReplyBytes = replay::Limits{}.maxFileBytes;
    sf::CurlHttp http(limits);
    const std::optional<std::string> body = http.Get(source);
    if (!body) {
      const sf::HttpFailure failure = http.LastFailure();
      error = failure.Status == 0 ? "the score service at " + source + " does not answer"
                                  : "the score service answered " + std::to_string(failure.Status) +
                                        (failure.Reason.empty() ? std::string() : ": " + failure.Reason);
      return false;
    }
    bytes.assign(body->begin(), body->end());
    return true;
  }
  if (!ReadFile(source, bytes)) {
    error = "cannot read " + source;
    return false;
  }
  return true;
}

// Shows the game in a window at its recorded pace (a gap longer than a second shown as one), with
// its sound and music, and the viewer's controls: Space or a click pauses, Left and Right seek
// 10 s, Up and Down or the wheel change the speed (1/4x to 16x), S steps while paused, R
// restarts, Esc leaves. The title bar tells the position, speed and score.
int Watch(const std::string& source, const char* argv0) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!LoadReplay(source, bytes, error)) {
    std::fprintf(stderr, "saltfang-replay: %s\n", error.c_str());
    return 2;
  }
  replay::DecodedReplay decoded;
  if (!replay::DecodeReplay(bytes, replay::Limits{}.maxFileBytes, decoded, error)) {
    std::fprintf(stderr, "saltfang-replay: %s\n", error.c_str());
    return 1;
  }
  // The pictures, the music and the font are the game's, in its folder: the working one or this
  // program's.
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
  sf::SdlSoundDevice device;  // silent when there is no sound device
  sf::SdlSound sound(device);
  sf::SdlMusic music(device);
  sf::Audio audio(sound, music);
  sf::SdlClock clock;
  sf::Surface back(800, 600), snapshot(800, 600);
  replay::ReplayViewer viewer(decoded, images, *text, snapshot, back);
  viewer.SetSound(&audio);
  window->Present(back);

  std::string title;
  bool leave = false;
  while (!leave) {
    sf::InputEvent e;
    bool drawn = false;
    while (!leave && window->PollEvent(e)) {
      switch (e.Kind) {
        case sf::InputEvent::CloseRequest:
        case sf::InputEvent::Quit: leave = true; break;
        case sf::InputEvent::KeyDown:
          leave = !viewer.Key(e.Key, back);
          drawn = true;
          break;
        case sf::InputEvent::MouseDown: viewer.TogglePause(); break;
        case sf::InputEvent::WheelUp: viewer.Faster(); break;
        case sf::InputEvent::WheelDown: viewer.Slower(); break;
        default: break;
      }
    }
    if (viewer.Advance(clock.TickCount(), back) || drawn) window->Present(back);
    const std::string status = "Salt Fang replay - " + viewer.Status();
    if (status != title) window->SetTitle(title = status);
    window->WaitEvent(clock.MsUntilNextTick());
  }
  viewer.SetSound(nullptr);
  if (!viewer.Error().empty()) std::fprintf(stderr, "saltfang-replay: %s\n", viewer.Error().c_str());
  std::printf("watched to step %u of %u: score %d, level %d\n", viewer.Steps(), viewer.TotalSteps(),
              viewer.Game().Score, viewer.Game().Level);
  return viewer.Error().empty() ? 0 : 1;
}

void Usage() {
  std::fprintf(stderr,
               "usage: saltfang-replay FILE|http://HOST:PORT/api/replays/ID\n"
               "       saltfang-replay --verify FILE\n"
               "       saltfang-replay --record-scripted OUT [SEED [STEPS [NAME]]]\n");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--verify" && argc == 3) return Verify(argv[2]);
    if (first == "--record-scripted" && argc >= 3 && argc <= 6) {
      const auto seed = static_cast<uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : replay::kComparisonSeed);
      const auto steps =
          static_cast<uint32_t>(argc > 4 ? std::strtoul(argv[4], nullptr, 10) : replay::kComparisonSteps);
      return RecordScripted(argv[2], seed, steps, argc > 5 ? argv[5] : "LONGGAME");
    }
    if (argc == 2 && first.rfind("--", 0) != 0) return Watch(first, argv[0]);
    Usage();
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "saltfang-replay: %s\n", e.what());
    return 1;
  }
}
