#include "ui/Buttons.h"

#include "core/Colour.h"
#include "gfx/Text.h"
#include "layout/MenuLayout.h"
#include "ui/Paint.h"

namespace sf {

void TDDButton::Draw(Surface& target) {
  if (Selected) BlitMenuImage(*host_, target, ImageIndex, Rect.Left, Rect.Top);
}

void TDDTextButton::Draw(Surface& target) {
  if (Highlighted) DrawUnderline(target, Rect.Left - 2, Rect.Bottom + 4, Rect.Right + 5, Rect.Bottom + 5);
  host_->Text().DrawShadowText(target, Rect.Left, Rect.Top, kWidgetTextHeight, kWidgetTextWidth, Caption,
                               Highlighted ? kHighlightColour : kNormalColour);
}

void TDDToggleButton::Draw(Surface& target) {
  // The bar spans both choices and sits under the second one.
  if (Highlighted)
    DrawUnderline(target, FirstRect.Left - 2, SecondRect.Bottom + 4, SecondRect.Right + 5, SecondRect.Bottom + 5);
  if (Checked)
    BlitMenuImage(*host_, target, CheckedImage, FirstRect.Left, FirstRect.Top);
  else
    BlitMenuImage(*host_, target, UncheckedImage, SecondRect.Left, SecondRect.Top);
}

}  // namespace sf
