#pragma once
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "audio/SoundIds.h"
#include "game/SimArithmetic.h"
#include "layout/ImageSizes.h"
#include "layout/MenuLayout.h"

namespace sf {

// The kinds below are stored by number: the world digest of a replay hashes each as its number, and
// an image or a table row is found by it (Index). The numbers therefore never change.
template <typename Kind>
requires std::is_enum_v<Kind>
constexpr int Index(Kind kind) { return static_cast<int>(kind); }

// Game phases.
enum class GamePhase : uint8_t {
  phaseIntro = 0,
  phasePlaying = 1,
  phaseGameOver = 3,
  phaseWindDown = 255,
};
using enum GamePhase;

// The playfield between the two side panels.
inline constexpr int32_t kPlayfieldLeft = 118;
inline constexpr int32_t kPlayfieldRight = 682;
inline constexpr int32_t kPlayfieldBottom = 598;

inline constexpr int16_t kMaxHealth = 72;
inline constexpr int kWeaponCount = 5;
inline constexpr uint16_t kUnlimitedAmmo = 999;

// Slot counts of the game's fixed arrays.
inline constexpr int kHitSlots = 20;
inline constexpr int kBonusSlots = 20;
inline constexpr int kRunScoreSlots = 10;
inline constexpr int kIslandSlots = 3;
inline constexpr int kEnemySlots = 20;
inline constexpr int kShotSlots = 21;
inline constexpr uint8_t kNoSlot = 255;

// The player's ship box (collisions); its sprite's size follows the images below.
inline constexpr int32_t kShipBoxWidth = 26;
inline constexpr int32_t kShipBoxHeight = 93;

// Game images by use.
inline constexpr int imgLeftPanel = 0;
inline constexpr int imgRightPanel = 1;
inline constexpr int imgLife = 2;
inline constexpr int imgHealthBar = 3;
inline constexpr int imgWeaponSelected = 4;
inline constexpr int imgSea = 5;
inline constexpr int imgIsland = 6;  // + island kind
inline constexpr int imgHit = 10;    // + hit kind
inline constexpr int imgEnemy = 17;  // + enemy kind
inline constexpr int imgShip = 25;
inline constexpr int imgTurret = 26;      // + gun kind
inline constexpr int imgProjectile = 29;  // + projectile kind
inline constexpr int imgWeaponIcons = 33;
inline constexpr int imgBonus = 34;                                              // + bonus kind
inline constexpr int32_t kShipSpriteWidth = kGameImageSizes[imgShip].Width / 2;  // two frames side by side
inline constexpr int32_t kShipSpriteHeight = kGameImageSizes[imgShip].Height;

struct Size16 {
  int16_t Width;
  int16_t Height;
};
constexpr Size16 GameImageSize16(int k) {
  const ImageSize s = kGameImageSizes[static_cast<size_t>(k)];
  return {static_cast<int16_t>(s.Width), static_cast<int16_t>(s.Height)};
}

// Gun kinds: turret image size, pivot, barrel length, cool-down.
enum class Gun : uint8_t {
  gunMachineGun = 0,
  gunCannon = 1,
  gunLauncher = 2,
  gunHatch = 3,  // the supply plane's: not drawn
};
using enum Gun;
struct GunKindInfo {
  Size16 Size;
  int16_t PivotX, PivotY;
  int16_t Barrel;
  uint32_t CoolDown;
};
inline constexpr int kGunKindCount = 4;
inline constexpr GunKindInfo kGunKinds[kGunKindCount] = {
    {GameImageSize16(imgTurret + 0), 6, 18, 20, 80},
    {GameImageSize16(imgTurret + 1), 6, 18, 30, 400},
    {GameImageSize16(imgTurret + 2), 9, 15, 30, 700},
    {{0, 0}, 0, 0, 44, 100},  // the supply plane's hatch: not drawn
};
constexpr const GunKindInfo& Info(Gun gun) { return kGunKinds[Index(gun)]; }

// Projectile kinds.
enum class ProjectileKind : uint8_t {
  pulBullet = 0,
  pulShell = 1,
  pulRocket = 2,
  pulDrop = 255,  // the supply plane's "shot": a bonus
};
using enum ProjectileKind;
struct ProjectileInfo {
  Size16 Size;
  int16_t PivotX, PivotY;
  float Speed;
  uint8_t Damage;
};
inline constexpr ProjectileInfo kProjectiles[3] = {
    {{7, 14}, 3, 8, 10.0f, 2},
    {{7, 14}, 3, 8, 4.0f, 5},
    {{7, 27}, 3, 14, 4.0f, 15},
};
// Not for the drop, which flies as a bonus.
constexpr const ProjectileInfo& Info(ProjectileKind kind) { return kProjectiles[Index(kind)]; }

// What a gun fires at a time, named for it.
enum class FiringPattern : uint8_t {
  patBullet = 0,
  patShell = 1,
  patTwinShell = 2,
  patRocket = 3,
  patTripleRocket = 4,
  patDropBonus = 6,    // the supply plane drops a bonus
  patHeliRocket = 31,  // one rocket from below the helicopter's nose
};
using enum FiringPattern;
// The player's weapons 0 to 4 fire the patterns of the same numbers.
constexpr FiringPattern PatternForWeapon(uint8_t weapon) { return static_cast<FiringPattern>(weapon); }

// Turret slots: where a turret sits on its owner and where its muzzle is relative to the turret.
struct TurretSlotInfo {
  int16_t OffsetX, OffsetY;
  int16_t MuzzleX, MuzzleY;
};
inline constexpr int kTurretSlotCount = 11;
inline constexpr TurretSlotInfo kTurretSlots[kTurretSlotCount] = {
    {18, 65, -4, -10}, {18, 35, -4, -10}, {21, 90, -8, 0},  {18, 90, -7, -10}, {22, 90, -3, -4}, {23, 120, 0, 0},
    {29, 130, 0, 0},   {18, 25, -4, -10}, {0, -20, 28, 80}, {50, 128, 0, 0},   {0, 0, 0, 0},
};

// Angle limits and rest positions of the guns.
inline constexpr double kPlayerGunRest = 3.15;
inline constexpr float kPlayerGunMin = 1.7f;
inline constexpr float kPlayerGunMax = 4.6f;
inline constexpr float kEnemyGunMin = -1.14f;
inline constexpr float kEnemyGunMax = 1.14f;

// Enemy kinds. The order matters: the kinds up to the island gun aim at the player and ram him, the
// aircraft from the bomber on show no turret.
enum class EnemyKind : uint8_t {
  enmCutter = 0,
  enmDestroyer = 1,
  enmCrulser = 2,
  enmBattleShip = 3,
  enmIslandGun = 4,
  enmBomber = 5,
  enmHelicopter = 6,
  enmSupplyPlane = 7,
};
using enum EnemyKind;
inline constexpr int kEnemyKindCount = 8;
struct EnemyKindInfo {
  Size16 Size;
  int32_t HitPoints;  // also the score for destroying it
  Gun GunKind;
  FiringPattern Pattern;
  uint8_t LastFrame;
};
inline constexpr EnemyKindInfo kEnemyKinds[kEnemyKindCount] = {
    {{24, 88}, 15, gunMachineGun, patBullet, 0},       // enmCutter
    {{30, 111}, 25, gunCannon, patShell, 0},           // enmDestroyer
    {{34, 136}, 50, gunCannon, patTwinShell, 0},       // enmCrulser
    {{47, 146}, 75, gunLauncher, patTripleRocket, 0},  // enmBattleShip
    {{23, 28}, 5, gunMachineGun, patBullet, 0},        // enmIslandGun: its gun is chosen at random when built
    {{47, 56}, 25, gunCannon, patTwinShell, 3},        // enmBomber
    {{50, 55}, 50, gunLauncher, patHeliRocket, 0},     // enmHelicopter
    {{73, 72}, 30, gunHatch, patDropBonus, 0},         // enmSupplyPlane
};
constexpr const EnemyKindInfo& Info(EnemyKind kind) { return kEnemyKinds[Index(kind)]; }
inline constexpr int16_t kEnemyLeftBorder = 196;
inline constexpr int16_t kEnemyRightBorder = 604;
inline constexpr int16_t kSupplyPlaneStartY = 672;

// Bonus kinds: 0..7 have a picture and an effect; a drop can also come out as kind 8, an empty drop.
enum class BonusKind : uint8_t {
  bonRocket = 0,
  bonGun = 1,
  bonRocket3x = 2,
  bonGun2x = 3,
  bonFirstAid = 4,
  bonIce = 5,
  bonCoins = 6,
  bonMegaBomb = 7,
  bonEmpty = 8,
};
using enum BonusKind;
inline constexpr int kBonusKindCount = 9;
inline constexpr Size16 kBonusSizes[kBonusKindCount] = {{24, 23}, {24, 23}, {24, 23}, {24, 23}, {23, 23},
                                                        {24, 23}, {24, 23}, {23, 23}, {24, 23}};
inline constexpr int32_t kFreezeSteps = 300;

// Hit kinds actually created.
enum class HitKind : uint8_t {
  hitExplosion = 0,
  hitImpact = 4,
};
using enum HitKind;
inline constexpr int kHitFrames = 16;
inline constexpr int32_t kHitFrameSize = kGameImageSizes[imgHit].Height;  // square frames in a row

// Island kinds.
inline constexpr Size16 kIslandSizes[4] = {GameImageSize16(imgIsland + 0), GameImageSize16(imgIsland + 1),
                                           GameImageSize16(imgIsland + 2), GameImageSize16(imgIsland + 3)};

// Sea tile.
inline constexpr int16_t kSeaTileWidth = GameImageSize16(imgSea).Width;
inline constexpr int16_t kSeaTileHeight = GameImageSize16(imgSea).Height;

}  // namespace sf
