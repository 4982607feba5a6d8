#include "game/Effects.h"

#include <charconv>
#include <string_view>

#include "game/Game.h"
#include "game/SimMath.h"
#include "gfx/DrawOps.h"

namespace sf {

namespace {

void AddAmmo(uint16_t& ammo, uint16_t amount) {
  // Saturates instead of wrapping round to a handful of rounds.
  ammo = ammo > 0xFFFF - amount ? 0xFFFF : static_cast<uint16_t>(ammo + amount);
}

}  // namespace

TBonus::TBonus(TGame& game, int16_t x, int16_t y)
    : Game(game), Kind(static_cast<BonusKind>(game.RandInt(kBonusKindCount))), X(x), Y(y) {}

Rect TBonus::GetBox() const {
  const Size16 size = kBonusSizes[Index(Kind)];
  return Rect{X, Y, X + size.Width, Y + size.Height};
}

void TBonus::Apply() {
  switch (Kind) {
    case bonRocket: AddAmmo(Game.Ammo[3], 10); break;
    case bonGun: AddAmmo(Game.Ammo[1], 10); break;
    case bonRocket3x: AddAmmo(Game.Ammo[4], 10); break;
    case bonGun2x: AddAmmo(Game.Ammo[2], 10); break;
    case bonFirstAid: Game.Health = static_cast<int16_t>(Game.Health + 50); break;
    case bonIce:
      for (auto& enemy : Game.Engine.Slots)
        if (enemy && enemy->Kind != enmIslandGun && enemy->Kind != enmSupplyPlane) enemy->Freeze = kFreezeSteps;
      break;
    case bonCoins: Game.Score += 100; break;
    case bonMegaBomb:
      for (auto& enemy : Game.Engine.Slots)
        if (enemy && enemy->Kind != enmSupplyPlane) enemy->HP = 0;
      break;
    case bonEmpty: break;  // nothing happens
  }
}

bool TBonus::Step(Surface& target) {
  Y = static_cast<int16_t>(Y + 1);
  if (RectsIntersect(GetBox(), Game.Ship.GetBox())) {
    Apply();
    return false;
  }
  if (Kind != bonEmpty) {
    const Surface& image = Game.Images.Game(imgBonus + Index(Kind));
    DrawClipped(image, target, Rect{0, 0, image.Width, image.Height}, X, Y);
  }
  return Y <= 600;
}

THit::THit(TGame& game, HitKind kind, uint8_t slot, int16_t x, int16_t y, int8_t startFrame)
    : Game(game), Kind(kind), Slot(slot), X(x), Y(y), Frame(startFrame) {}

bool THit::Step(Surface& target) {
  const int16_t shown = Frame;
  Now = Game.Tick();
  if (Frame == 0 && Kind == hitExplosion) Game.Host.PlaySoundAt(X, Y, sndExpl);
  if (Now - LastFrame > 30) {
    Frame = static_cast<int16_t>(Frame + 1);
    LastFrame = Game.Tick();
  }
  if (Frame < 0) return true;
  if (Frame >= kHitFrames) return false;
  // A step that began before the first frame has nothing to show yet.
  if (shown >= 0) {
    DrawClipped(Game.Images.Game(imgHit + Index(Kind)), target,
                Rect{kHitFrameSize * shown, 0, kHitFrameSize * (shown + 1), kHitFrameSize}, X, Y);
  }
  return true;
}

TLineLive::TLineLive(const int16_t* x, const int16_t* y, const int32_t* hp, int32_t fullLength, int32_t maxHp)
    : X(x), Y(y), HP(hp), Ratio(static_cast<float>(fullLength) / static_cast<float>(maxHp)) {}

void TLineLive::Draw(Surface& target) {
  const int32_t length = simmath::RoundHalfEven(static_cast<float>(*HP) * Ratio);
  if (length > 0) FillBar(*X + 2, *Y - 10, length, 3, kNormalColour, target);
  Counter = static_cast<uint16_t>(Counter + 1);
  if (Counter > 100) {
    Counter = 0;
    Visible = false;
  }
}

TRunScore::TRunScore(int16_t x, int16_t y, int16_t value) : X(x), Y(static_cast<int16_t>(y - 30)), Value(value) {}

bool TRunScore::Step(TGame& game, Surface& target) {
  Y = static_cast<int16_t>(Y - 1);
  X = static_cast<int16_t>(X + simmath::RoundHalfEven(simmath::Sin(Y / 10.0) * 2));
  Counter = static_cast<int16_t>(Counter + 1);
  if (Counter > 80) return false;
  char buffer[8];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), Value);
  game.Text.DrawAlignedText(target, X, Y, 18, 12, std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)),
                            kAlertColour, kAlignCenter, false);
  return true;
}

}  // namespace sf
