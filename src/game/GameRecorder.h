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

// StepInputs::Keys of a key-state array.
inline uint8_t HeldGameKeys(const uint8_t* keyboard) {
  uint8_t held = 0;
  for (int k = 0; k < kGameKeyCount; ++k)
    if (keyboard[kGameKeys[k]] & 0x80) held = static_cast<uint8_t>(held | (1u << k));
  return held;
}

// What a step's inputs mean to the world; the ship steers, turns its gun and fires by this alone:
// bit 0 left (the key or the mouse moved left), 1 right, 2 up (turn the gun one way), 3 down,
// 4 fire (either Ctrl key or the first mouse button). How far the mouse moved and the other
// buttons change nothing.
inline constexpr uint8_t kControlLeft = 1, kControlRight = 2, kControlUp = 4, kControlDown = 8, kControlFire = 16;
inline uint8_t StepControls(const StepInputs& in) {
  const bool left = (in.Keys & 1) != 0 || in.Mouse.X < 0, right = (in.Keys & 2) != 0 || in.Mouse.X > 0;
  const bool up = (in.Keys & 4) != 0 || in.Mouse.Y > 0, down = (in.Keys & 8) != 0 || in.Mouse.Y < 0;
  const bool fire = (in.Keys & 48) != 0 || (in.Mouse.Buttons[0] & 0x80) != 0;
  return static_cast<uint8_t>((left ? kControlLeft : 0) | (right ? kControlRight : 0) | (up ? kControlUp : 0) |
                              (down ? kControlDown : 0) | (fire ? kControlFire : 0));
}

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
