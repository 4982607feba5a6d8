#include "ui/BtnCollection.h"

#include <algorithm>

#include "gfx/DrawOps.h"

namespace sf {

TDDBtnCollection::TDDBtnCollection(MenuHost& host, std::span<const Rect> rects, std::span<const uint8_t> images)
    : host_(&host) {
  const size_t n = std::min(rects.size(), images.size());
  Buttons.reserve(n);
  for (size_t k = 0; k < n; ++k) Buttons.emplace_back(host, rects[k], images[k]);
  Select(0);
}

int32_t TDDBtnCollection::Wrap(int32_t i) const {
  if (i > Count() - 1) return 0;
  if (i < 0) return Count() - 1;
  return i;
}

void TDDBtnCollection::MoveSelectedFlag(int32_t to) {
  // Clearing every flag, not only the previous index, keeps one highlight even after an owner
  // has written Index directly.
  for (TDDButton& b : Buttons) b.Selected = false;
  if (to >= 0 && to < Count()) Buttons[static_cast<size_t>(to)].Selected = true;
}

void TDDBtnCollection::Select(int32_t i) {
  if (Count() <= 0) return;
  i = Wrap(i);
  MoveSelectedFlag(i);
  Index = i;
  host_->PlayMenuSound();
}

void TDDBtnCollection::SetIndex(int32_t i) {
  if (Count() <= 0) return;
  Index = Wrap(i);
  PrevIndex = Index;
  MoveSelectedFlag(Index);
}

void TDDBtnCollection::Draw(Surface& target) {
  if (Count() <= 0) return;
  PrevIndex = Index;
  if (host_->PointerSteering()) {
    const int32_t x = host_->PointerX();
    const int32_t y = host_->PointerY();
    for (int32_t k = 0; k < Count(); ++k) {
      const Rect& r = Buttons[static_cast<size_t>(k)].Rect;
      if (PointInRect(r.Left, r.Top, r.Right, r.Bottom, x, y)) Index = k;  // the last hit wins
    }
  }
  Index = Wrap(Index);
  // Drawn before the flag moves: a selection taken from the pointer shows from the next frame.
  Buttons[static_cast<size_t>(Index)].Draw(target);
  if (Index != PrevIndex) {
    host_->PlayMenuSound();
    OnPointerMoved();
    MoveSelectedFlag(Index);
  }
}

void TDDBtnCollection::MouseDownTest() {
  Clicked = false;
  const int32_t x = host_->PointerX();
  const int32_t y = host_->PointerY();
  for (const TDDButton& b : Buttons)
    if (PointInRect(b.Rect.Left, b.Rect.Top, b.Rect.Right, b.Rect.Bottom, x, y)) Clicked = true;
}

void TDDMainBtnCollection::OnPointerMoved() { host_->ShowMainMenu(); }

}  // namespace sf
