#include "replay/ReplayPlayer.h"

#include <cstdio>

#include "game/WorldDigest.h"

namespace replay {
namespace {

// Game time as a person reads it: "m:ss".
std::string GameTime(uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u", ms / 60000, ms / 1000 % 60);
  return text;
}

}  // namespace

uint64_t ReplayPlayer::Clock::PerformanceCounter() { return Player->NextSeed(); }

ReplayPlayer::ReplayPlayer(const DecodedReplay& replay, const sf::ImageSets& images, sf::TextRenderer& text,
                           sf::Surface& snapshot)
    : reader_(replay.Body, replay.Header.StartTick, replay.Header.FormatVersion >= 2, replay.Header.FormatVersion >= 3),
      host_(snapshot),
      random_(replay.Header.Seed),
      startTick_(replay.Header.StartTick),
      checkpoints_(replay.Header.FormatVersion >= 2) {
  clock_.Tick = replay.Header.StartTick;
  clock_.Player = this;
  game_ = std::make_unique<sf::TGame>(host_, clock_, random_, images, text);
}

ReplayPlayer::~ReplayPlayer() = default;

uint32_t ReplayPlayer::NextSeed() {
  const BodyRecord r = reader_.Next();
  if (r.Type == BodyRecord::Reseed) return r.Seed;
  if (error_.empty()) {
    error_ = r.Type == BodyRecord::Bad ? reader_.Error()
                                       : "The replay does not match the game: the game took a generator seed the "
                                         "recording does not hold.";
  }
  return 0;
}

bool ReplayPlayer::Step(sf::Surface& target) {
  if (!error_.empty()) return false;
  interrupted_ = false;
  while (true) {
    const BodyRecord r = reader_.Next();
    switch (r.Type) {
      case BodyRecord::End: return false;
      case BodyRecord::Bad: error_ = reader_.Error(); return false;
      case BodyRecord::Reseed:
        error_ = "The replay does not match the game: it holds a generator seed where the game took none.";
        return false;
      case BodyRecord::Checkpoint:
        error_ = "The replay's inputs are malformed: a checkpoint stands where none belongs.";
        return false;
      case BodyRecord::NameOpened:
      case BodyRecord::NameLetter:
      case BodyRecord::NameErase:
      case BodyRecord::NameConfirmed: return false;  // the name entry after the game: the game is over
      case BodyRecord::Event:
        switch (r.What) {
          case sf::GameEvent::WeaponChange: game_->SelectNextWeapon(); break;
          case sf::GameEvent::Leave: game_->Leave(); break;
          default: interrupted_ = true; break;
        }
        continue;
      case BodyRecord::Step: {
        clock_.Tick = r.Inputs.Tick;
        host_.Keys.fill(0);
        for (int k = 0; k < sf::kGameKeyCount; ++k)
          if (r.Inputs.Keys & (1u << k)) host_.Keys[static_cast<size_t>(sf::kGameKeys[k])] = 0x80;
        host_.Mouse = r.Inputs.Mouse;
        game_->Step(target);
        ++steps_;
        return error_.empty() && CheckCheckpoint();
      }
    }
  }
}

bool ReplayPlayer::CheckCheckpoint() {
  if (!checkpoints_ || steps_ % kCheckpointSteps != 0) return true;
  const BodyRecord r = reader_.Next();
  if (r.Type != BodyRecord::Checkpoint) {
    error_ = r.Type == BodyRecord::Bad ? reader_.Error()
                                       : "The replay's inputs are malformed: the checkpoint after step " +
                                             std::to_string(steps_) + " is missing.";
    return false;
  }
  if (r.Seed != static_cast<uint32_t>(sf::WorldDigest(*game_))) {
    departureStep_ = steps_;
    departureMs_ = ElapsedMs();
    error_ = "The replay departs from its recording at step " + std::to_string(steps_) + " (" + GameTime(departureMs_) +
             " into the game): the world there differs from the checkpoint it recorded" +
             (lastCheckpoint_ ? ", though it matched at step " + std::to_string(lastCheckpoint_) + "." : ".");
    return false;
  }
  lastCheckpoint_ = steps_;
  return true;
}

}  // namespace replay
