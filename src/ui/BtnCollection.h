#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "core/Rect.h"
#include "gfx/Surface.h"
#include "ui/Buttons.h"
#include "ui/MenuHost.h"

namespace sf {

// A list of image buttons with one selected item that follows the pointer while the mouse steers.
class TDDBtnCollection {
 public:
  // One button per rectangle and image number (the shorter list decides); selects item 0, which
  // plays the menu sound.
  TDDBtnCollection(MenuHost& host, std::span<const Rect> rects, std::span<const uint8_t> images);
  virtual ~TDDBtnCollection() = default;
  TDDBtnCollection(const TDDBtnCollection&) = delete;
  TDDBtnCollection& operator=(const TDDBtnCollection&) = delete;

  // Wraps i into 0 .. Count - 1, moves the Selected flag to it and plays the menu sound (also
  // when i is already selected).
  void Select(int32_t i);
  void SelectNext() { Select(Index + 1); }
  void SelectPrev() { Select(Index - 1); }
  // Moves the selection without a sound, for owners that set the cursor themselves (the end of a
  // game pointing the main menu at the high scores).
  void SetIndex(int32_t i);

  // Follows the pointer (while it steers), then draws the selected button. A selection taken
  // over from the pointer shows from the next frame on.
  virtual void Draw(Surface& target);

  // Clicked := the pointer is over any button. Index is left alone: the hover in Draw has
  // already moved it, or the keyboard chose it and the pointer has not moved since.
  void MouseDownTest();

  std::vector<TDDButton> Buttons;
  int32_t Count() const { return static_cast<int32_t>(Buttons.size()); }
  int32_t Index = 0;
  int32_t PrevIndex = 0;
  bool Clicked = false;

 protected:
  // The selection moved on its own accord (pointer) from PrevIndex to Index during Draw.
  virtual void OnPointerMoved() {}
  void MoveSelectedFlag(int32_t to);
  int32_t Wrap(int32_t i) const;

  MenuHost* host_;
};

// The main menu: moving the pointer onto another item from any page beside it returns to the
// main menu screen with that item selected.
class TDDMainBtnCollection : public TDDBtnCollection {
 public:
  using TDDBtnCollection::TDDBtnCollection;

 protected:
  void OnPointerMoved() override;
};

}  // namespace sf
