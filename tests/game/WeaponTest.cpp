#include <gtest/gtest.h>

#include "GameFixture.h"

namespace sf::testing {
namespace {

class WeaponTest : public GameTest {
 protected:
  void Fire() { Host.Keys[kScanLeftCtrl] = 0x80; }
  void HoldFire() {
    Fire();
    Time.Tick += 1000;  // every cool-down has passed
  }
};

TEST_F(WeaponTest, SelectNextWeaponTakesTheNextArmedWeaponAndWraps) {
  NewGame();
  Game->Ammo = {999, 0, 4, 0, 0};
  Game->Weapon = 0;
  Game->SelectNextWeapon();
  EXPECT_EQ(Game->Weapon, 2);
  Game->SelectNextWeapon();
  EXPECT_EQ(Game->Weapon, 0);

  Game->Ammo = {999, 1, 0, 3, 5};
  Game->Weapon = 1;
  Game->SelectNextWeapon();
  EXPECT_EQ(Game->Weapon, 3);
  Game->SelectNextWeapon();
  EXPECT_EQ(Game->Weapon, 4);
  Game->SelectNextWeapon();  // from 4 always back to 0
  EXPECT_EQ(Game->Weapon, 0);
  Game->SelectNextWeapon();
  EXPECT_EQ(Game->Weapon, 1);
}

TEST_F(WeaponTest, MachineGunFiresAfterItsCoolDownFromTheMuzzleAndStaysAt999) {
  StartPlaying();
  Game->Ship.X = 196;
  Game->Ship.Y = 480;
  TGunner& gun = Game->Ship.Gunners[0];
  gun.Angle = 3.15;
  gun.LastShot = Time.Tick;
  Fire();
  Host.Sounds.clear();
  // 80 ms or less since the last shot: no shot.
  Time.Tick = gun.LastShot + 80 - 16;
  Step();
  EXPECT_EQ(gun.ShotCount(), 0);
  while (gun.ShotCount() == 0) {
    const uint32_t last = gun.LastShot;
    Step();
    EXPECT_EQ(gun.ShotCount() == 1, Time.Tick - last > 80);
  }
  ASSERT_EQ(Host.CountSounds(sndShot), 1);
  // Muzzle at 3.15: ship + turret (18, 65) + muzzle (-4, -10) + dx 5 + barrel 20 upward.
  EXPECT_EQ(Host.Sounds[0].X, 196 + 18 - 4 + 5 + 0);
  EXPECT_EQ(Host.Sounds[0].Y, 480 + 65 - 10 - 20);
  EXPECT_EQ(Game->Ammo[0], 999);
  EXPECT_EQ(Game->Weapon, 0);
  EXPECT_EQ(gun.InFlight, 1);
  // The bullet flies 10 pixels a step upward.
  const float y0 = gun.Shots[0]->Y;
  Step();
  EXPECT_NEAR(gun.Shots[0]->Y, y0 - 10.0f, 0.01f);
}

TEST_F(WeaponTest, LastRocketFallsBackToTheMachineGunAndItsIconGoes) {
  StartPlaying();
  Game->Ammo[3] = 1;
  Game->Weapon = 3;
  HoldFire();
  Step();
  EXPECT_EQ(Game->Ship.Gunners[2].ShotCount(), 1);
  EXPECT_EQ(Game->Ammo[3], 0);
  EXPECT_EQ(Game->Weapon, 0);
  // HUD: weapon 0's highlighted cell, no icon for weapon 3, the ammunition of weapon 0.
  const uint32_t panel = GameImageColour(imgRightPanel);
  EXPECT_EQ(Target.At(730, 33 + 30), GameImageColour(imgWeaponSelected));
  EXPECT_EQ(Target.At(730, 33 + 61 * 3 + 30), panel);
  Step();
  EXPECT_EQ(Target.At(730, 33 + 30), GameImageColour(imgWeaponSelected));
}

TEST_F(WeaponTest, RocketThreeXFiresThreeRocketsForOneUnit) {
  StartPlaying();
  Game->Ammo[4] = 5;
  Game->Weapon = 4;
  Game->Ship.Gunners[2].Angle = 3.0;
  Host.Sounds.clear();
  HoldFire();
  Step();
  TGunner& gun = Game->Ship.Gunners[2];
  ASSERT_EQ(gun.ShotCount(), 3);
  EXPECT_EQ(Game->Ammo[4], 4);
  EXPECT_EQ(Game->Weapon, 4);
  EXPECT_EQ(Host.CountSounds(sndSnarad), 3);
  EXPECT_DOUBLE_EQ(gun.Shots[0]->Heading, 3.0);
  EXPECT_DOUBLE_EQ(gun.Shots[1]->Heading, 3.5);
  EXPECT_DOUBLE_EQ(gun.Shots[2]->Heading, 2.5);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gun.Shots[static_cast<size_t>(i)]->Kind, pulRocket);
}

TEST_F(WeaponTest, GunTwoXFiresTwoShellsTenPixelsApartForOneUnit) {
  StartPlaying();
  Game->Ammo[2] = 2;
  Game->Weapon = 2;
  Game->Ship.Gunners[1].Angle = kPlayerGunRest;
  HoldFire();
  Step();
  TGunner& gun = Game->Ship.Gunners[1];
  ASSERT_EQ(gun.ShotCount(), 2);
  EXPECT_EQ(Game->Ammo[2], 1);
  // Both moved the same distance this step, so their distance is the muzzle distance.
  EXPECT_FLOAT_EQ(gun.Shots[1]->X - gun.Shots[0]->X, 10.0f);
  EXPECT_FLOAT_EQ(gun.Shots[1]->Y, gun.Shots[0]->Y);
  EXPECT_EQ(gun.Shots[0]->Kind, pulShell);
}

TEST_F(WeaponTest, FullProjectileSlotsStillSpendTheShot) {
  StartPlaying();
  Game->Ammo[1] = 3;
  Game->Weapon = 1;
  TGunner& gun = Game->Ship.Gunners[1];
  for (auto& shot : gun.Shots) shot.emplace(pulShell, 400, 300, 3.14159);  // slowly flying up
  Host.Sounds.clear();
  HoldFire();
  const uint32_t before = gun.LastShot;
  Step();
  EXPECT_EQ(Game->Ammo[1], 2);
  EXPECT_NE(gun.LastShot, before);
  EXPECT_EQ(Host.CountSounds(sndSnarad), 0);
  EXPECT_EQ(gun.ShotCount(), 21);
}

TEST_F(WeaponTest, NoFireOutsidePlayOrWithoutAmmunition) {
  NewGame();
  Step();  // intro
  HoldFire();
  Step();
  EXPECT_EQ(Game->Ship.Gunners[0].ShotCount(), 0);
}

TEST_F(WeaponTest, ShipStopsAtTheBordersAndTurretsAtTheirLimits) {
  StartPlaying();
  Host.Keys[kScanLeft] = 0x80;
  Host.Keys[kScanUp] = 0x80;
  Steps(100);
  EXPECT_EQ(Game->Ship.X, 196);
  EXPECT_FLOAT_EQ(static_cast<float>(Game->Ship.Gunners[0].Angle), 4.6f);
  Host.Keys[kScanLeft] = 0;
  Host.Keys[kScanUp] = 0;
  Host.Keys[kScanRight] = 0x80;
  Host.Keys[kScanDown] = 0x80;
  Steps(100);
  EXPECT_EQ(Game->Ship.X, 578);
  EXPECT_FLOAT_EQ(static_cast<float>(Game->Ship.Gunners[0].Angle), 1.7f);
  // The idle guns settle within 0.05 of their rest.
  EXPECT_NEAR(Game->Ship.Gunners[1].Angle, 3.15, 0.05);
}

TEST_F(WeaponTest, MouseMotionSteersAndTurnsAndItsButtonFires) {
  StartPlaying();
  Game->Ship.X = 300;
  Host.NextMouse.X = -3;
  Host.NextMouse.Y = 7;
  const double angle = Game->Ship.Gunners[0].Angle;
  Step();
  EXPECT_EQ(Game->Ship.X, 294);
  EXPECT_NEAR(Game->Ship.Gunners[0].Angle, std::min(angle + 0.03, 4.6), 1e-6);
  Time.Tick += 1000;
  Host.NextMouse.Buttons[0] = 0x80;
  Step();
  EXPECT_EQ(Game->Ship.Gunners[0].ShotCount(), 1);
}

TEST_F(WeaponTest, WeaponNumberFromOutsideFallsBackToTheMachineGun) {
  StartPlaying();
  Game->Weapon = 9;
  Step();
  EXPECT_EQ(Game->Weapon, 0);
  EXPECT_EQ(Game->Ammo[0], 999);
}

}  // namespace
}  // namespace sf::testing
