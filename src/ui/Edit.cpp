#include "ui/Edit.h"

#include <algorithm>

#include "core/Colour.h"
#include "gfx/DrawOps.h"
#include "gfx/Text.h"
#include "ui/Paint.h"

namespace sf {

namespace {
constexpr char ToLowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

void TDDEdit::SetText(std::string_view text) { Text.assign(text); }

void TDDEdit::KeyInput(char ch) {
  if (ch == kEraseCode) {
    if (!Text.empty()) Text.pop_back();
    return;
  }
  // Only the letter keys reach the field; anything else is ignored.
  if (ch < 'A' || ch > 'Z') return;
  if (Text.size() >= kMaxLength) return;
  Text.push_back(ch);
  const int32_t w = host_->Text().MeasureString(kFontHeight, kFontWidth, kFontWeight, Text);
  if (Rect.Left + w + 5 >= Rect.Right) Text.pop_back();  // the letter would not fit in the field
}

void TDDEdit::Draw(Surface& target) {
  if (Focused) BlitMenuImage(*host_, target, kFocusImage, Rect.Left, Rect.Top);

  const uint32_t now = host_->TickCount();
  if (now - BlinkTick > kBlinkMs) {
    CaretOn = !CaretOn;
    BlinkTick = now;
  }

  TextRenderer& text = host_->Text();
  const int32_t w = text.MeasureString(kFontHeight, kFontWidth, kFontWeight, Text);
  if (CaretOn && Focused && Editing) {
    // A 3-pixel pen centred on the caret's column, from the field's top down to Bottom - 6; the
    // wide pen covers the end point too.
    const int32_t x = Rect.Left + w + 10;
    const int32_t height = Rect.Bottom - 6 - Rect.Top + 1;
    if (height > 0) FillBar(x - 1, Rect.Top, 3, height, kNormalColour, target);
  }

  // Every name the program keeps is stored capitalised: first letter upper case, the rest lower.
  for (char& c : Text) c = ToLowerAscii(c);
  if (!Text.empty()) Text[0] = ToUpperAscii(Text[0]);

  text.DrawString(target, Rect.Left + 7, Rect.Top - kNameTextRise, kFontHeight, kFontWidth, kFontWeight, Text,
                  kHighlightColour, kAlignLeft);
}

}  // namespace sf
