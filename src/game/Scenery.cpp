#include "game/Scenery.h"

#include "game/Game.h"
#include "gfx/DrawOps.h"

namespace sf {

void TRunBackground::Step(Surface& target) {
  const Surface& tile = Game.Images.Game(imgSea);
  const Rect whole{0, 0, tile.Width, tile.Height};
  for (int32_t r = -1; r <= 3; ++r)
    for (int32_t c = 0; c <= 4; ++c)
      DrawClipped(tile, target, whole, static_cast<int16_t>(kPlayfieldLeft + kSeaTileWidth * c),
                  static_cast<int16_t>(kSeaTileHeight * r + Offset));

  Now = Game.Tick();
  if (Now - LastScroll > 20) {
    Offset = static_cast<int16_t>(Offset + 3);
    if (Game.RandInt(133) == 5) {
      for (size_t i = 0; i < Game.Islands.size(); ++i) {
        if (!Game.Islands[i]) {
          Game.Islands[i].emplace(Game, static_cast<uint8_t>(i));
          break;
        }
      }
    }
    if (Offset >= 246) Offset = 0;
    LastScroll = Game.Tick();
  }
}

TIsland::TIsland(TGame& game, uint8_t slot) : Game(game), Kind(static_cast<uint8_t>(game.RandInt(4))), Slot(slot) {
  const Size16 size = kIslandSizes[Kind];
  X = static_cast<int16_t>(Kind <= 1 ? kPlayfieldLeft : kPlayfieldRight - size.Width);
  Y = static_cast<int16_t>(-size.Height);
  GunSlot = Game.Engine.FirstFreeSlot();
  if (GunSlot < kEnemySlots && Game.RandInt(10) >= 5) {
    TEnemyShip& gun = Game.Engine.CreateEnemy(GunSlot, enmIslandGun);
    gun.X = static_cast<int16_t>(X + size.Width / 2);
    gun.Y = static_cast<int16_t>(Y + size.Height / 2);
    gun.IslandY = &Y;
    gun.IslandOffset = static_cast<int16_t>(size.Height / 2);
  }
}

TIsland::~TIsland() {
  // A gun still standing on this island (only possible outside play, when the spawner does not
  // remove departed enemies) stays where it is instead of following a slot that may be reused.
  if (GunSlot < kEnemySlots) {
    auto& gun = Game.Engine.Slots[GunSlot];
    if (gun && gun->IslandY == &Y) gun->IslandY = nullptr;
  }
}

bool TIsland::Step(Surface& target) {
  const Surface& image = Game.Images.Game(imgIsland + Kind);
  DrawClipped(image, target, Rect{0, 0, image.Width, image.Height}, X, Y);
  Now = Game.Tick();
  if (Now - LastScroll > 20) {
    Y = static_cast<int16_t>(Y + 3);
    LastScroll = Game.Tick();
    if (Y > 600) return false;
  }
  return true;
}

}  // namespace sf
