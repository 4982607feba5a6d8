#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "core/Rect.h"
#include "game/Effects.h"
#include "game/Gunner.h"
#include "gfx/Surface.h"

namespace sf {

class TGame;

// One enemy: a warship, an island gun, an aircraft or the supply plane.
class TEnemyShip {
 public:
  // Built in its slot of the spawner (its gun and life bar refer to its fields).
  TEnemyShip(TGame& game, EnemyKind kind);
  TEnemyShip(const TEnemyShip&) = delete;
  TEnemyShip& operator=(const TEnemyShip&) = delete;
  ~TEnemyShip();

  // False when the enemy was destroyed in this step.
  bool Step(Surface& target);
  Rect GetBox() const;
  void Move();
  void Aim();

  TGame& Game;
  int16_t X;
  int16_t Y;
  int16_t IslandOffset = 0;
  int8_t Drift = 0;
  const int16_t* IslandY = nullptr;  // island gun: its island's Y; cleared when the island is gone
  EnemyKind Kind;
  uint8_t Frame = 0;
  int32_t HP;
  int32_t Freeze = 0;
  TGunner Gunner;
  TLineLive LifeBar;
  uint32_t LastAnim = 0;
};

// The spawner and its 20 enemy slots.
class TEnemyEngine {
 public:
  explicit TEnemyEngine(TGame& game) : Game(game) {}
  TEnemyEngine(const TEnemyEngine&) = delete;
  TEnemyEngine& operator=(const TEnemyEngine&) = delete;
  // Enemies lower Count as they go, so they go while Count still exists.
  ~TEnemyEngine() {
    for (auto& enemy : Slots) enemy.reset();
  }
  void Step(Surface& target);
  // Destroys every enemy and every bonus of the game.
  void Clear();
  // Lowest empty enemy slot, or 255 when all are taken.
  uint8_t FirstFreeSlot() const;
  // Creates an enemy of a kind in a slot (which must be empty).
  TEnemyShip& CreateEnemy(uint8_t slot, EnemyKind kind);
  void DestroyEnemy(uint8_t slot);

  TGame& Game;
  std::array<std::optional<TEnemyShip>, 20> Slots;
  uint8_t Count = 0;
  uint32_t Now = 0;
  uint32_t LastCheck = 0;
};

}  // namespace sf
