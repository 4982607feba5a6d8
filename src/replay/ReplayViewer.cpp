#include "replay/ReplayViewer.h"

#include <algorithm>
#include <cstdio>

#include "platform/Input.h"
#include "replay/ReplayBody.h"

namespace replay {
namespace {

// A step at the 64 Hz tick: seeking stops one step short of its goal and draws that step.
constexpr uint32_t kStepMs = 16;
// After a stall (a busy machine, a dragged window) the viewer catches up at most this much at once.
constexpr double kMaxCatchUpMs = 2000;

// Windows virtual-key codes of the viewer's keys beyond the arrows.
constexpr uint16_t vkHome = 0x24, vkAdd = 0x6B, vkSubtract = 0x6D, vkOemPlus = 0xBB, vkOemMinus = 0xBD,
                   vkOemPeriod = 0xBE;

uint32_t ShownGap(uint32_t gap) { return std::min(gap, ReplayViewer::kMaxGapMs); }

}  // namespace

std::string ViewClock(uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u", ms / 60000, ms / 1000 % 60);
  return text;
}

ReplayViewer::ReplayViewer(const DecodedReplay& replay, const sf::ImageSets& images, sf::TextRenderer& text,
                           sf::Surface& snapshot, sf::Surface& target)
    : replay_(replay), images_(images), text_(text), snapshot_(snapshot) {
  // The length, from the inputs alone: no step needs to be played for it.
  BodyReader reader(replay.Body, replay.Header.StartTick, replay.Header.FormatVersion >= 2);
  uint32_t tick = replay.Header.StartTick;
  for (BodyRecord r = reader.Next(); r.Type != BodyRecord::End && r.Type != BodyRecord::Bad; r = reader.Next()) {
    if (r.Type != BodyRecord::Step) continue;
    totalMs_ += ShownGap(r.Inputs.Tick - tick);
    tick = r.Inputs.Tick;
    ++totalSteps_;
  }
  Reset();
  PlayOne(target);
  dueMs_ = viewMs_;
}

void ReplayViewer::Reset() {
  player_ = std::make_unique<ReplayPlayer>(replay_, images_, text_, snapshot_);
  viewMs_ = 0;
  lastTick_ = replay_.Header.StartTick;
  ended_ = false;
  UpdateSound();
}

bool ReplayViewer::PlayOne(sf::Surface& target) {
  if (ended_) return false;
  if (!player_->Step(target)) {
    ended_ = true;
    UpdateSound();
    return false;
  }
  viewMs_ += ShownGap(player_->Tick() - lastTick_);
  lastTick_ = player_->Tick();
  return true;
}

bool ReplayViewer::Advance(uint32_t wallMs, sf::Surface& target) {
  const uint32_t elapsed = haveWall_ ? wallMs - lastWall_ : 0;
  lastWall_ = wallMs;
  haveWall_ = true;
  if (sound_ && !paused_ && !ended_) sound_->MusicTick("2.xm", true);
  if (paused_ || ended_) return false;
  dueMs_ = std::min(dueMs_ + elapsed * Speed(), viewMs_ + kMaxCatchUpMs);
  // Only the last step of the frame is drawn: at 16x most are never seen.
  while (!ended_ && viewMs_ + kStepMs < dueMs_) PlayOne(nothing_);
  return viewMs_ < dueMs_ && PlayOne(target);
}

void ReplayViewer::TogglePause() {
  paused_ = !paused_;
  dueMs_ = viewMs_;
  UpdateSound();
}

void ReplayViewer::Faster() {
  if (speed_ + 1 < kSpeedQuarters.size()) ++speed_;
  UpdateSound();
}

void ReplayViewer::Slower() {
  if (speed_ > 0) --speed_;
  UpdateSound();
}

void ReplayViewer::SeekTo(uint32_t viewMs, sf::Surface& target) {
  viewMs = std::min(viewMs, totalMs_);
  seeking_ = true;
  if (viewMs < viewMs_ || ended_) Reset();
  UpdateSound();
  while (!ended_ && viewMs_ + kStepMs < viewMs) PlayOne(nothing_);
  seeking_ = false;
  UpdateSound();
  PlayOne(target);
  dueMs_ = viewMs_;
}

void ReplayViewer::SeekBy(int32_t deltaMs, sf::Surface& target) {
  const int64_t to = std::max<int64_t>(0, int64_t{viewMs_} + deltaMs);
  SeekTo(static_cast<uint32_t>(std::min<int64_t>(to, totalMs_)), target);
}

void ReplayViewer::StepOnce(sf::Surface& target) {
  if (!paused_) TogglePause();
  PlayOne(target);
  dueMs_ = viewMs_;
}

void ReplayViewer::Restart(sf::Surface& target) {
  Reset();
  PlayOne(target);
  dueMs_ = viewMs_;
}

bool ReplayViewer::Key(uint16_t vk, sf::Surface& target) {
  switch (vk) {
    case sf::vkEscape: return false;
    case sf::vkSpace:
    case 'P': TogglePause(); break;
    case sf::vkLeft: SeekBy(-static_cast<int32_t>(kSeekMs), target); break;
    case sf::vkRight: SeekBy(static_cast<int32_t>(kSeekMs), target); break;
    case sf::vkUp:
    case vkAdd:
    case vkOemPlus: Faster(); break;
    case sf::vkDown:
    case vkSubtract:
    case vkOemMinus: Slower(); break;
    case 'S':
    case vkOemPeriod: StepOnce(target); break;
    case vkHome:
    case 'R': Restart(target); break;
    default: break;
  }
  return true;
}

std::string ReplayViewer::Status() const {
  const uint32_t quarters = kSpeedQuarters[speed_];
  const std::string speed =
      quarters >= 4 ? std::to_string(quarters / 4) + "x" : "1/" + std::to_string(4 / quarters) + "x";
  std::string line = ViewClock(viewMs_) + " / " + ViewClock(totalMs_) + " | " + speed;
  if (paused_) line += " | paused";
  if (ended_) line += Error().empty() ? " | the end" : " | stopped: " + Error();
  line += " | step " + std::to_string(Steps()) + " of " + std::to_string(totalSteps_) + " | score " +
          std::to_string(Game().Score);
  return line;
}

void ReplayViewer::SetSound(sf::Audio* sound) {
  if (sound_ && sound_ != sound) sound_->StopMusic();
  sound_ = sound;
  UpdateSound();
}

void ReplayViewer::UpdateSound() {
  if (!player_) return;
  player_->SetSound(sound_, seeking_ || kSpeedQuarters[speed_] > 8);
  if (!sound_) return;
  // The music plays on through seeks; only the effects of skipped steps are held back.
  const bool music = !paused_ && !ended_;
  if (music && sound_->CurrentSong() == 0) sound_->StartMusic("2.xm");
  if (!music && sound_->CurrentSong() != 0) sound_->StopMusic();
}

}  // namespace replay
