#include "replay/ReplayRecorder.h"

#include <algorithm>

#include "game/Game.h"
#include "game/WorldDigest.h"
#include "replay/ReplayFormat.h"

namespace replay {

ReplayRecorder::ReplayRecorder(size_t capacity)
    // Not cleared: pages the recording never reaches are never touched.
    : buffer_(new uint8_t[capacity]), writer_(buffer_.get(), capacity) {}

void ReplayRecorder::GameStarted(uint32_t seed, uint32_t tick) {
  started_ = true;
  naming_ = Naming::None;
  seed_ = seed;
  startTick_ = tick;
  writer_.Start(tick);
}

void ReplayRecorder::StepStarted(const sf::StepInputs& inputs) { writer_.Step(inputs); }

void ReplayRecorder::Reseeded(uint32_t seed) { writer_.Reseed(seed); }

void ReplayRecorder::StepEnded(const sf::TGame& world) {
  if (writer_.Steps() % kCheckpointSteps == 0) writer_.Checkpoint(static_cast<uint32_t>(sf::WorldDigest(world)));
}

void ReplayRecorder::EventHappened(sf::GameEvent event) { writer_.Event(event); }

void ReplayRecorder::NameEntryOpened(std::string_view text) {
  if (!started_ || naming_ != Naming::None) return;
  openingLength_ = std::min(text.size(), openingText_.size());
  std::copy_n(text.data(), openingLength_, openingText_.data());
  naming_ = Naming::Opened;
}

void ReplayRecorder::WriteNameOpening() {
  if (naming_ != Naming::Opened) return;
  writer_.NameOpened(std::string_view(openingText_.data(), openingLength_));
  naming_ = Naming::Writing;
}

void ReplayRecorder::NameLetterTyped(char letter) {
  WriteNameOpening();
  if (naming_ == Naming::Writing) writer_.NameLetter(letter);
}

void ReplayRecorder::NameLetterErased() {
  WriteNameOpening();
  if (naming_ == Naming::Writing) writer_.NameErase();
}

void ReplayRecorder::NameConfirmed() {
  WriteNameOpening();
  if (naming_ != Naming::Writing) return;
  writer_.NameConfirmed();
  naming_ = Naming::Confirmed;
}

std::vector<uint8_t> ReplayRecorder::Finish(const sf::TGame& game) const {
  if (!Complete()) return {};
  ReplayHeader header;
  header.SimulationVersion = sf::kSimulationVersion;
  header.Build = ThisBuild();
  header.Steps = writer_.Steps();
  header.FinalScore = game.Score;
  header.FinalLevel = game.Level;
  header.Seed = seed_;
  header.StartTick = startTick_;
  header.FinalDigest = sf::WorldDigest(game);
  return EncodeReplay(header, Body());
}

}  // namespace replay
