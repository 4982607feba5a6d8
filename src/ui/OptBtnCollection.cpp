#include "ui/OptBtnCollection.h"

#include "gfx/DrawOps.h"
#include "layout/MenuLayout.h"

namespace sf {

namespace {
bool PointerIn(const Rect& r, int32_t x, int32_t y) { return PointInRect(r.Left, r.Top, r.Right, r.Bottom, x, y); }
}  // namespace

TDDOptBtnCollection::TDDOptBtnCollection(MenuHost& host, const std::array<Rect, 7>& rects,
                                         const std::array<uint8_t, 6>& images)
    : DisplayToggle(host, rects[0], rects[1], images[0], images[1]),
      MusicToggle(host, rects[2], rects[3], images[2], images[3]),
      SoundToggle(host, rects[4], rects[5], images[4], images[5]),
      KeyButton(host, kKeyButtonRect, "F12"),
      NameEdit(host),
      host_(&host) {
  NameEdit.Rect = rects[6];
}

void TDDOptBtnCollection::Draw(Surface& target) {
  if (Cursor > kCursorCount - 1) Cursor = 0;
  if (Cursor < 0) Cursor = kCursorCount - 1;
  PrevCursor = Cursor;

  if (MouseMode) {
    const int32_t x = host_->PointerX();
    const int32_t y = host_->PointerY();
    const TDDToggleButton* rows[3] = {&DisplayToggle, &MusicToggle, &SoundToggle};
    for (int32_t t = 0; t < 3; ++t) {  // the last hit wins
      if (PointerIn(rows[t]->FirstRect, x, y)) Cursor = 2 * t;
      if (PointerIn(rows[t]->SecondRect, x, y)) Cursor = 2 * t + 1;
    }
    if (PointerIn(NameEdit.Rect, x, y)) Cursor = kNameCursor;
    if (PointerIn(KeyButton.Rect, x, y)) Cursor = kKeyCursor;
  }

  DisplayToggle.Highlighted = false;
  MusicToggle.Highlighted = false;
  SoundToggle.Highlighted = false;
  KeyButton.Highlighted = false;
  NameEdit.Focused = false;
  switch (Cursor) {
    case 0:
    case 1:
      DisplayToggle.Highlighted = true;
      NameEdit.Editing = false;
      break;
    case 2:
    case 3:
      MusicToggle.Highlighted = true;
      NameEdit.Editing = false;
      break;
    case 4:
    case 5:
      SoundToggle.Highlighted = true;
      NameEdit.Editing = false;
      break;
    case kNameCursor: NameEdit.Focused = true; break;
    default:
      // The key button leaves typing mode as it is, so coming back to the name field resumes it.
      KeyButton.Highlighted = true;
      break;
  }

  DisplayToggle.Draw(target);
  MusicToggle.Draw(target);
  SoundToggle.Draw(target);
  NameEdit.Draw(target);
  KeyButton.Draw(target);

  if (Cursor != PrevCursor) host_->PlayMenuSound();
}

void TDDOptBtnCollection::DrawWidgetsOnly(Surface& target) {
  KeyButton.Draw(target);
  NameEdit.Draw(target);
  DisplayToggle.Draw(target);
  MusicToggle.Draw(target);
  SoundToggle.Draw(target);
}

void TDDOptBtnCollection::Activate() {
  switch (Cursor) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      Cursor ^= 1;  // the row's other choice
      Clicked = true;
      break;
    case kNameCursor:
    case kKeyCursor:
      // Enter on the key button always starts key capture, like a click on it.
      Clicked = true;
      break;
    default: break;
  }
  host_->ExecuteCommand();
}

void TDDOptBtnCollection::ChooseFirst() {
  if (Cursor < 0 || Cursor > 5) return;
  Clicked = true;
  Cursor = (Cursor / 2) * 2;
  host_->ExecuteCommand();
}

void TDDOptBtnCollection::ChooseSecond() {
  if (Cursor < 0 || Cursor > 5) return;
  Clicked = true;
  Cursor = (Cursor / 2) * 2 + 1;
  host_->ExecuteCommand();
}

void TDDOptBtnCollection::MoveDown() {
  MouseMode = false;
  switch (Cursor) {
    case 0:
    case 1: Cursor = CursorOnRow(MusicToggle, 2); break;
    case 2:
    case 3: Cursor = CursorOnRow(SoundToggle, 4); break;
    case 4:
    case 5: Cursor = kNameCursor; break;
    case kNameCursor: Cursor = kKeyCursor; break;
    default: Cursor = CursorOnRow(DisplayToggle, 0); break;
  }
  host_->PlayMenuSound();
}

void TDDOptBtnCollection::MoveUp() {
  MouseMode = false;
  switch (Cursor) {
    case 0:
    case 1: Cursor = kKeyCursor; break;
    case 2:
    case 3: Cursor = CursorOnRow(DisplayToggle, 0); break;
    case 4:
    case 5: Cursor = CursorOnRow(MusicToggle, 2); break;
    case kNameCursor: Cursor = CursorOnRow(SoundToggle, 4); break;
    default: Cursor = kNameCursor; break;
  }
  host_->PlayMenuSound();
}

void TDDOptBtnCollection::MouseDownTest() {
  Clicked = false;
  const int32_t x = host_->PointerX();
  const int32_t y = host_->PointerY();
  for (const TDDToggleButton* row : {&DisplayToggle, &MusicToggle, &SoundToggle})
    if (PointerIn(row->FirstRect, x, y) || PointerIn(row->SecondRect, x, y)) Clicked = true;
  if (PointerIn(NameEdit.Rect, x, y) || PointerIn(KeyButton.Rect, x, y)) Clicked = true;
}

}  // namespace sf
