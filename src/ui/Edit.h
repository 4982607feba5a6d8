#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Rect.h"
#include "gfx/Surface.h"
#include "layout/MenuLayout.h"
#include "ui/MenuHost.h"

namespace sf {

// The single-line name field: up to ten letters, capitalised when drawn ("JOHN" becomes "John"),
// with a blinking caret while it has the cursor and is in typing mode.
class TDDEdit {
 public:
  // The character code that erases the last letter (the key handler sends it for Backspace).
  static constexpr char kEraseCode = 126;
  static constexpr uint8_t kMaxLength = 10;
  // The name font: bold, 32 high, 20 wide.
  static constexpr int32_t kFontHeight = kWidgetTextHeight;
  static constexpr int32_t kFontWidth = kWidgetTextWidth;
  static constexpr int32_t kFontWeight = 700;
  // Menu image drawn under the field while it has the cursor.
  static constexpr int kFocusImage = menuImgNameFocus;
  // The caret changes phase when more than this many milliseconds have passed.
  static constexpr uint32_t kBlinkMs = 300;

  explicit TDDEdit(MenuHost& host) : host_(&host) {}

  // ch is an upper-case letter 'A'..'Z' or kEraseCode. Anything that would overflow the ten
  // letters or the field's width is ignored, as is an erase on an empty field.
  void KeyInput(char ch);
  // Draws focus image, caret and text; also stores the capitalised form of Text back.
  void Draw(Surface& target);

  // Replaces the text (for example with the stored player name).
  void SetText(std::string_view text);
  size_t Length() const { return Text.size(); }

  bool Focused = false;
  bool Editing = false;
  std::string Text;
  sf::Rect Rect;
  uint32_t BlinkTick = 0;
  bool CaretOn = false;

 private:
  MenuHost* host_;
};

}  // namespace sf
