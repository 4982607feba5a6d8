#pragma once
// The drawings of the game screen, one function per kind of picture; GameArt.cpp maps the game
// image numbers onto them. Every function returns a picture of its slot's exact size.
#include "Picture.h"

namespace assetgen::gameart {

// The heads-up display.
Picture LeftPanel();                // level, score and lives read-outs
Picture RightPanel();               // weapon column, ammunition read-out, health well
Picture LifeIcon();                 // one remaining life
Picture HealthBar();                // the bar cut from the bottom by the health left
Picture WeaponIcons(bool glowing);  // five 61 x 61 cells stacked: machine gun, gun, gun 2x, rocket, rocket 3x
Picture BonusIcon(int kind);        // falling bonuses 0..7

// Scenery.
Picture SeaTile();
Picture Island(int kind);  // 0, 1 touch the left playfield edge; 2, 3 the right one

// Effects.
Picture Explosion(int kind);  // 16 frames of 64 x 64 side by side

// Ships, aircraft and their weapons.
Picture PlayerShip();
Picture Enemy(int kind);
Picture Turret(int gunKind);
Picture Projectile(int kind);

// A small plain tile for the slots that no screen draws.
Picture SpareTile(int width, int height);

}  // namespace assetgen::gameart
