#pragma once
#include <array>
#include <cstdint>

#include "core/Rect.h"
#include "gfx/Surface.h"
#include "ui/Buttons.h"
#include "ui/Edit.h"
#include "ui/MenuHost.h"
#include "ui/MenuItems.h"

namespace sf {

// The options page: three two-choice rows, the name field and the minimise-key button. Cursor
// values are those of OptionsItem: 0/1 display (windowed / full screen), 2/3 music (on / off),
// 4/5 sound (on / off), 6 the name field, 7 the key button.
class TDDOptBtnCollection {
 public:
  static constexpr int32_t kCursorCount = 8;
  static constexpr int32_t kNameCursor = static_cast<int32_t>(OptionsItem::PlayerName);
  static constexpr int32_t kKeyCursor = static_cast<int32_t>(OptionsItem::MinimizeKey);

  // rects: display first/second, music on/off, sound on/off, name field. images: checked and
  // unchecked image of the display, music and sound rows.
  TDDOptBtnCollection(MenuHost& host, const std::array<sf::Rect, 7>& rects, const std::array<uint8_t, 6>& images);

  // Follows the pointer in MouseMode, sets the highlights and the name field's focus, draws the
  // five widgets and plays the menu sound when the cursor moved.
  void Draw(Surface& target);
  // The widgets one by one, without following the pointer or touching the cursor: the page as
  // shown while waiting for the minimise key.
  void DrawWidgetsOnly(Surface& target);

  // Enter or Space: a row's other choice, the name field's typing mode, or key capture; then
  // the command dispatcher applies it.
  void Activate();
  // Left and Right on a choice row (Cursor 0 to 5): pick the row's first or second choice and
  // apply it. Other rows ignore them.
  void ChooseFirst();
  void ChooseSecond();
  // Down and Up: the next or previous row, landing on the row's active choice.
  void MoveDown();
  void MoveUp();
  // Clicked := the pointer is over any of the eight areas. Cursor is left alone.
  void MouseDownTest();

  TDDToggleButton DisplayToggle;
  TDDToggleButton MusicToggle;
  TDDToggleButton SoundToggle;
  TDDTextButton KeyButton;
  TDDEdit NameEdit;
  int32_t PrevCursor = 0;
  int32_t Cursor = 0;
  OptionsItem Item() const { return static_cast<OptionsItem>(Cursor); }
  bool Clicked = false;
  bool MouseMode = false;  // the pointer moved last: Draw follows it

 private:
  int32_t CursorOnRow(const TDDToggleButton& row, int32_t first) const { return row.Checked ? first : first + 1; }

  MenuHost* host_;
};

}  // namespace sf
