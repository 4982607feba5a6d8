#include "replay/ReplayVerify.h"

#include <ctime>
#include <exception>
#include <memory>

#include "game/WorldDigest.h"
#include "gfx/ImageSets.h"
#include "gfx/Text.h"
#include "replay/ReplayBody.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayIdentity.h"
#include "replay/ReplayPlayer.h"

namespace replay {
namespace {

// CPU time of the calling thread (the service runs several checks at once).
double ThreadCpuSeconds() {
#if defined(CLOCK_THREAD_CPUTIME_ID) && !defined(_WIN32)
  timespec t{};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0)
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
#endif
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// The time limit is looked at every so many steps: often enough to stop within milliseconds.
constexpr uint32_t kCpuCheckSteps = 512;

// Pictures of no size: the world needs none of them, and drawing into nothing costs nothing.
std::unique_ptr<sf::ImageSets> EmptyImages() {
  auto images = std::make_unique<sf::ImageSets>();
  for (auto& slot : images->GameImages) slot = std::make_unique<sf::Surface>();
  for (auto& slot : images->MenuImages) slot = std::make_unique<sf::Surface>();
  return images;
}

Verdict Check(std::span<const std::uint8_t> file, const Limits& limits) {
  Verdict v;
  DecodedReplay replay;
  if (!DecodeReplay(file, limits.maxFileBytes, replay, v.error)) return v;
  v.formatVersion = replay.Header.FormatVersion;
  v.claimedScore = replay.Header.FinalScore;
  v.error = CheckPace(replay.Body, replay.Header.StartTick, replay.Header.FormatVersion >= 2,
                      replay.Header.FormatVersion >= 3);
  if (!v.error.empty()) return v;
  const EnteredName name = ReadEnteredName(replay);
  if (!name.Error.empty()) {
    v.error = name.Error;
    return v;
  }
  v.nameEntered = name.Present;
  v.name = name.Name;
  v.fingerprint = GameFingerprint(replay);
  if (replay.Header.Steps > limits.maxSteps) {
    v.error = "The replay has " + std::to_string(replay.Header.Steps) + " game steps, more than the " +
              std::to_string(limits.maxSteps) + " allowed.";
    return v;
  }

  const auto images = EmptyImages();
  sf::TextRenderer silent;
  sf::Surface nothing;
  ReplayPlayer player(replay, *images, silent, nothing);
  const double start = ThreadCpuSeconds();
  while (player.Step(nothing)) {
    if (player.StepsPlayed() > replay.Header.Steps) break;
    if (player.StepsPlayed() % kCpuCheckSteps == 0 && ThreadCpuSeconds() - start > limits.maxCpuSeconds) {
      v.steps = player.StepsPlayed();
      v.error = "Playing the replay took more than the " + std::to_string(limits.maxCpuSeconds) +
                " s of processor time allowed.";
      return v;
    }
  }
  const sf::TGame& game = player.Game();
  v.steps = player.StepsPlayed();
  v.score = game.Score;
  v.level = game.Level;
  v.departureStep = player.DepartureStep();
  v.departureMs = player.DepartureMs();
  if (!player.Error().empty()) {
    v.error = player.Error();
  } else if (v.steps != replay.Header.Steps) {
    v.error = "The replay holds " + std::string(v.steps > replay.Header.Steps ? "more" : "fewer") +
              " game steps than its header says (" + std::to_string(replay.Header.Steps) + ").";
  } else if (!player.GameOver()) {
    v.error = "The replay ends before its game is over.";
  } else if (sf::WorldDigest(game) != replay.Header.FinalDigest) {
    v.error = "The replayed game ends in another state than the recorded one: the replay does not belong to it";
    v.error += player.LastCheckpointStep()
                   ? " (it matched its last checkpoint, at step " + std::to_string(player.LastCheckpointStep()) + ")."
                   : ".";
  } else {
    v.ok = true;
  }
  return v;
}

}  // namespace

std::string CheckPace(std::span<const std::uint8_t> body, std::uint32_t startTick, bool checkpoints, bool names,
                      const PaceRules& rules) {
  BodyReader reader(body, startTick, checkpoints, names);
  std::uint32_t tick = startTick, steps = 0, stalls = 0, interruptions = 0;
  std::uint64_t pacedMs = 0, pacedSteps = 0;
  bool interrupted = true;  // the first step follows the game's creation, not a step
  for (BodyRecord r = reader.Next(); r.Type != BodyRecord::End; r = reader.Next()) {
    if (r.Type == BodyRecord::Bad) return {};  // the playback names the fault
    if (r.Type == BodyRecord::Event && r.What != sf::GameEvent::WeaponChange && r.What != sf::GameEvent::Leave)
      interrupted = true;
    if (r.Type != BodyRecord::Step) continue;
    const std::uint32_t gap = r.Inputs.Tick - tick;
    tick = r.Inputs.Tick;
    ++steps;
    if (interrupted) {
      interrupted = false;
      if (steps > 1 && ++interruptions > rules.freeInterruptions + steps / rules.stepsPerInterruption) {
        return "The replay's game is paused too often: step " + std::to_string(steps) +
               " follows pause or change of focus number " + std::to_string(interruptions) + ", more than " +
               std::to_string(rules.freeInterruptions) + " and one every " +
               std::to_string(rules.stepsPerInterruption / 64) + " s of play.";
      }
      continue;
    }
    if (gap < rules.minStepMs) {
      return "The replay's clock runs faster than the game: step " + std::to_string(steps) + " comes " +
             std::to_string(gap) + " ms after the one before, less than one tick of " +
             std::to_string(rules.minStepMs) + " ms.";
    }
    if (gap > rules.stallMs && ++stalls > 1 + steps / rules.stepsPerStall) {
      return "The replay's clock stops too often: step " + std::to_string(steps) + " comes " + std::to_string(gap) +
             " ms after the one before, the " + std::to_string(stalls) +
             "th such gap without a pause or a change of focus.";
    }
    if (gap <= rules.stallMs) {
      pacedMs += gap;
      ++pacedSteps;
    }
  }
  if (pacedSteps > 0 && pacedMs > pacedSteps * rules.maxMeanStepMs) {
    return "The replay's clock runs slower than the game: its steps come " + std::to_string(pacedMs / pacedSteps) +
           " ms apart on average, more than the " + std::to_string(rules.maxMeanStepMs) + " ms allowed.";
  }
  return {};
}

Verdict PlayBack(std::span<const std::uint8_t> file, const Limits& limits) {
  try {
    return Check(file, limits);
  } catch (const std::exception& e) {
    // Only running out of memory can get here.
    Verdict v;
    v.error = std::string("The replay could not be checked: ") + e.what();
    return v;
  }
}

}  // namespace replay
