#include "ScriptedGame.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "core/Random.h"
#include "core/ScreenState.h"
#include "game/Game.h"
#include "game/WorldDigest.h"
#include "gfx/ImageSets.h"
#include "gfx/Text.h"
#include "platform/Clock.h"
#include "replay/HeadlessHost.h"
#include "replay/ReplayRecorder.h"

namespace replay {
namespace {

// The 64 Hz system tick, and a fine counter that moves on every read.
class ScriptClock : public sf::Clock {
 public:
  uint32_t TickCount() override { return Tick; }
  uint64_t PerformanceCounter() override { return Counter += 7919; }
  uint64_t PerformanceFrequency() override { return 1000000; }
  void Sleep(uint32_t ms) override { Tick += ms; }
  uint32_t MsUntilNextTick() override { return 1; }

  uint32_t Tick = 100000;
  uint64_t Counter = 1;
};

// The scripted player's mouse moves once per read, like a real mouse device.
class ScriptHost : public HeadlessHost {
 public:
  explicit ScriptHost(sf::Surface& snapshot) : HeadlessHost(snapshot) {}
  bool ReadMouseState(sf::MouseState& state) override {
    state = Mouse;
    Mouse = sf::MouseState{};
    return true;
  }
};

// The x of the enemy projectile most in the way of the ship, when one is about to arrive.
std::optional<float> Threat(const sf::TGame& game) {
  const float centre = static_cast<float>(game.Ship.X + sf::kShipBoxWidth / 2);
  const float top = static_cast<float>(game.Ship.Y) - 230.0f;
  std::optional<float> nearest;
  for (const auto& e : game.Engine.Slots) {
    if (!e) continue;
    for (const auto& shot : e->Gunner.Shots) {
      if (!shot || shot->Y < top || shot->Y > static_cast<float>(game.Ship.Y + sf::kShipBoxHeight)) continue;
      const float off = shot->X - centre;
      if (off > -44.0f && off < 44.0f && (!nearest || std::abs(off) < std::abs(*nearest - centre))) nearest = shot->X;
    }
  }
  return nearest;
}

// Follows the nearest enemy (or a falling bonus), fires all the time, swings its gun, steers with
// the mouse for a while now and then. A dodging player also steps aside from shots about to hit
// it, and so lives long enough to meet the later levels' enemies.
void Act(const sf::TGame& game, ScriptHost& host, uint32_t step, bool dodge) {
  host.Keys.fill(0);
  int target = 400;
  for (const auto& e : game.Engine.Slots) {
    // A dodging player aims at enemies still far off: one close by would ram it.
    if (e && e->Kind != sf::enmSupplyPlane && e->Y > 0 && (!dodge || e->Y < game.Ship.Y - 170)) {
      target = e->X + sf::Info(e->Kind).Size.Width / 2;
      break;
    }
  }
  for (const auto& b : game.Bonuses)
    if (b && b->Y > 200) target = b->X + 12;
  const int centre = game.Ship.X + 13;
  const bool mouse = (step / 700) % 3 == 2;
  int direction = centre < target - 4 ? 1 : centre > target + 4 ? -1 : 0;
  if (dodge) {
    // A ship sailing down onto the player is a threat too.
    for (const auto& e : game.Engine.Slots) {
      if (!e || e->Y < game.Ship.Y - 260 || e->Y > game.Ship.Y + sf::kShipBoxHeight) continue;
      const int width = sf::Info(e->Kind).Size.Width;
      if (e->X < centre + 30 && e->X + width > centre - 30) direction = e->X + width / 2 < centre ? 1 : -1;
    }
    if (const auto shot = Threat(game)) {
      direction = *shot < static_cast<float>(centre) ? 1 : -1;
      // Against a border the only way out is back across.
      if (direction < 0 && centre < 160) direction = 1;
      if (direction > 0 && centre > 640) direction = -1;
    }
  }
  if (mouse) {
    host.Mouse.X = 4 * direction + (step % 7 == 0 ? 1 : 0);
    host.Mouse.Y = (step / 50) % 2 ? 2 : -2;
    host.Mouse.Buttons[0] = 0x80;
  } else {
    if (direction > 0) host.Keys[sf::kScanRight] = 0x80;
    if (direction < 0) host.Keys[sf::kScanLeft] = 0x80;
    if ((step / 40) % 4 == 1) host.Keys[sf::kScanUp] = 0x80;
    if ((step / 40) % 4 == 3) host.Keys[sf::kScanDown] = 0x80;
    host.Keys[step % 2 ? sf::kScanLeftCtrl : sf::kScanRightCtrl] = 0x80;
  }
}

}  // namespace

ScriptedGame PlayScriptedGame(uint32_t seed, uint32_t maxSteps, bool dodge, const char* name) {
  ScriptedGame out;
  ScriptClock clock;
  sf::Surface snapshot;
  ScriptHost host(snapshot);
  sf::Random random(seed);
  sf::ImageSets images;
  for (auto& slot : images.GameImages) slot = std::make_unique<sf::Surface>();
  for (auto& slot : images.MenuImages) slot = std::make_unique<sf::Surface>();
  sf::TextRenderer silent;
  sf::Surface target;
  ReplayRecorder recorder;
  sf::TGame game(host, clock, random, images, silent, &recorder);

  // The game is over at the latest two seconds after leaving it; the bound only guards the loop.
  for (uint32_t step = 0; !host.Over && step < maxSteps + 64 * 60; ++step) {
    Act(game, host, step, dodge);
    if (game.Phase == sf::phasePlaying) {
      if (step % 300 == 150) {
        game.SelectNextWeapon();
        ++out.WeaponChanges;
      }
      if (step % 2500 == 1200) {  // a pause of three seconds, once with the focus lost
        if (step % 5000 == 1200) game.NoteInterruption(sf::GameEvent::FocusLost);
        game.NoteInterruption(sf::GameEvent::Pause);
        clock.Tick += 3000;
        ++out.Pauses;
      }
      if (step >= maxSteps && !out.Left) {
        game.Leave();
        out.Left = true;
      }
    }
    const std::array<uint16_t, sf::kWeaponCount> ammo = game.Ammo;
    const int16_t lives = game.Lives;
    clock.Tick += (step + 1) * 125 / 8 - step * 125 / 8;
    game.Step(target);
    for (int w = 1; w < sf::kWeaponCount; ++w) {
      if (game.Ammo[static_cast<size_t>(w)] > ammo[static_cast<size_t>(w)]) {
        ++out.BonusesTaken;
        break;
      }
    }
    if (game.Lives < lives) ++out.LivesLost;
    for (const auto& e : game.Engine.Slots)
      if (e) out.KindsMet |= 1u << static_cast<unsigned>(e->Kind);
  }
  if (name) {
    recorder.NameEntryOpened("");
    for (const char* c = name; *c; ++c) recorder.NameLetterTyped(*c);
    recorder.NameConfirmed();
  }
  out.File = recorder.Finish(game);
  out.Score = game.Score;
  out.Level = game.Level;
  out.Steps = recorder.Steps();
  out.Digest = sf::WorldDigest(game);
  return out;
}

}  // namespace replay
