#pragma once
#include <cstdint>

#include "platform/Input.h"

namespace sf {

class TGame;

// The simulation's identity: raise it whenever a change makes a recorded game play out
// differently, so replays of the old rules are refused instead of failing strangely.
inline constexpr uint32_t kSimulationVersion = 1;

// The only keys a game step reads from the key-state array; bit k of StepInputs::Keys is
// kGameKeys[k]. A key read anywhere else in the world would be an input no replay holds.
inline constexpr int kGameKeyCount = 6;
inline constexpr int kGameKeys[kGameKeyCount] = {kScanLeft, kScanRight,    kScanUp,
                                                 kScanDown, kScanLeftCtrl, kScanRightCtrl};

// Everything one game step takes from outside its world.
struct StepInputs {
  uint32_t Tick = 0;
  uint8_t Keys = 0;  // bit k: kGameKeys[k] held
  MouseState Mouse;  // relative motion and buttons as the step read them (the wheel is not read)
};

// What reaches a game between two of its steps. Weapon changes and leaving change the world;
// pauses and focus changes only explain a gap in the ticks (and let a viewer show it).
enum class GameEvent : uint8_t {
  WeaponChange = 1,
  Leave = 2,
  Pause = 3,
  FocusLost = 4,
  FocusGained = 5,
};
inline constexpr uint8_t kLastGameEvent = 5;

// Receives, in order, everything a running game reads from outside its world, so that the game
// can be played again exactly. Called from inside the frame loop: implementations must not
// allocate.
class GameRecorder {
 public:
  virtual ~GameRecorder() = default;
  // The generator's state and the tick when the game was created.
  virtual void GameStarted(uint32_t seed, uint32_t tick) = 0;
  virtual void StepStarted(const StepInputs& inputs) = 0;
  // The step has ended: the world as it stands now is what the next step starts from.
  virtual void StepEnded(const TGame& world) { (void)world; }
  // The game re-seeded its generator from the high-resolution counter.
  virtual void Reseeded(uint32_t seed) = 0;
  virtual void EventHappened(GameEvent event) = 0;
};

}  // namespace sf
