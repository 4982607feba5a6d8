#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "game/GameRecorder.h"
#include "replay/ReplayBody.h"
#include "replay/ReplayFormat.h"

namespace sf {
class TGame;
}

namespace replay {

// Records the game it is given to as it is played, into memory reserved once: nothing is
// allocated while a game runs. A game longer than the room stops being recorded (Complete()
// false) and plays on as before.
class ReplayRecorder : public sf::GameRecorder {
 public:
  explicit ReplayRecorder(size_t capacity = kRecorderCapacity);

  void GameStarted(uint32_t seed, uint32_t tick) override;
  void StepStarted(const sf::StepInputs& inputs) override;
  void Reseeded(uint32_t seed) override;
  void EventHappened(sf::GameEvent event) override;
  // Every kCheckpointSteps-th step leaves a checkpoint of the world behind it.
  void StepEnded(const sf::TGame& world) override;

  // The name entry after the game: it opened with text in its field, a letter went in, the last
  // letter went out, the name was confirmed. Only keys that changed the field are given. These
  // follow the game's last step in the recording, so its replay says whose game it was; the
  // opening is written with the first key or the confirmation, once the last step has ended.
  void NameEntryOpened(std::string_view text);
  void NameLetterTyped(char letter);
  void NameLetterErased();
  void NameConfirmed();

  // A game was started and every one of its inputs fitted.
  bool Complete() const { return started_ && !writer_.Overflowed(); }
  uint32_t Steps() const { return writer_.Steps(); }
  size_t BodyBytes() const { return writer_.Size(); }
  std::span<const uint8_t> Body() const { return {buffer_.get(), writer_.Size()}; }

  // The replay file of the recorded game as it stands now, with the game's score, level and world
  // digest in the header; empty when the recording is not complete.
  std::vector<uint8_t> Finish(const sf::TGame& game) const;

 private:
  std::unique_ptr<uint8_t[]> buffer_;
  BodyWriter writer_;
  void WriteNameOpening();

  bool started_ = false;
  enum class Naming { None, Opened, Writing, Confirmed };
  Naming naming_ = Naming::None;
  std::array<char, kMaxNameBytes> openingText_{};
  size_t openingLength_ = 0;
  uint32_t seed_ = 0;
  uint32_t startTick_ = 0;
};

}  // namespace replay
