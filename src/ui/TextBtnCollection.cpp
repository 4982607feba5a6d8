#include "ui/TextBtnCollection.h"

#include <utility>

#include "core/Colour.h"
#include "gfx/DrawOps.h"
#include "gfx/Text.h"

namespace sf {

namespace {
bool PointerIn(const Rect& r, int32_t x, int32_t y) { return PointInRect(r.Left, r.Top, r.Right, r.Bottom, x, y); }
}  // namespace

TDDTextBtnCollection::TDDTextBtnCollection(MenuHost& host, const Rect& rect1, const Rect& rect2, std::string caption1,
                                           std::string caption2)
    : Caption1(std::move(caption1)), Caption2(std::move(caption2)), Rect1(rect1), Rect2(rect2), host_(&host) {}

void TDDTextBtnCollection::Draw(Surface& target) {
  const bool before = Choice;
  const int32_t x = host_->PointerX();
  const int32_t y = host_->PointerY();
  if (PointerIn(Rect1, x, y)) Choice = true;
  if (PointerIn(Rect2, x, y)) Choice = false;

  TextRenderer& text = host_->Text();
  text.DrawShadowText(target, Rect1.Left, Rect1.Top, kCaptionHeight, kCaptionWidth, Caption1,
                      Choice ? kHighlightColour : kNormalColour);
  text.DrawShadowText(target, Rect2.Left, Rect2.Top, kCaptionHeight, kCaptionWidth, Caption2,
                      Choice ? kNormalColour : kHighlightColour);

  if (Choice != before) host_->PlayMenuSound();
}

void TDDTextBtnCollection::SetChoice(bool choice) {
  host_->PlayMenuSound();
  Choice = choice;
}

void TDDTextBtnCollection::MouseDownTest() {
  const int32_t x = host_->PointerX();
  const int32_t y = host_->PointerY();
  Clicked = PointerIn(Rect1, x, y) || PointerIn(Rect2, x, y);
}

}  // namespace sf
