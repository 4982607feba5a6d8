// The game screen's pictures: which drawing fills which game image.
#include <stdexcept>
#include <string>

#include "Art.h"
#include "GameArtParts.h"
#include "ImageSizes.h"

namespace assetgen {

Picture MakeGameImage(int k) {
  using namespace gameart;
  switch (k) {
    case 0: return LeftPanel();
    case 1: return RightPanel();
    case 2: return LifeIcon();
    case 3: return HealthBar();
    case 4: return WeaponIcons(true);
    case 5: return SeaTile();
    case 6:
    case 7:
    case 8:
    case 9: return Island(k - 6);
    case 10:
    case 11:
    case 12:
    case 13:
    case 14: return Explosion(k - 10);
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24: return Enemy(k - 17);
    case 25: return PlayerShip();
    case 26:
    case 27:
    case 28: return Turret(k - 26);
    case 29:
    case 30:
    case 31: return Projectile(k - 29);
    case 33: return WeaponIcons(false);
    case 34:
    case 35:
    case 36:
    case 37:
    case 38:
    case 39:
    case 40:
    case 41: return BonusIcon(k - 34);
    case 15:
    case 16:
    case 32:
      return SpareTile(kGameImageSizes[static_cast<size_t>(k)].Width, kGameImageSizes[static_cast<size_t>(k)].Height);
    default: throw std::out_of_range("no game image " + std::to_string(k));
  }
}

}  // namespace assetgen
