#pragma once
#include <cstdint>
#include <string>

#include "core/Rect.h"
#include "gfx/Surface.h"
#include "ui/MenuHost.h"

namespace sf {

// A two-button dialog (Yes/No, Ok/Cancel). Choice true: the left button is chosen. A pointer
// resting over a button keeps that button chosen against the keyboard.
class TDDTextBtnCollection {
 public:
  static constexpr int32_t kCaptionHeight = 46;
  static constexpr int32_t kCaptionWidth = 20;

  TDDTextBtnCollection(MenuHost& host, const Rect& rect1, const Rect& rect2, std::string caption1,
                       std::string caption2);

  // Follows the pointer (always), draws both captions, plays the menu sound if the choice changed.
  void Draw(Surface& target);
  // Plays the menu sound, then sets Choice (Left is SetChoice(true), Right SetChoice(false)).
  void SetChoice(bool choice);
  // Clicked := the pointer is over either button.
  void MouseDownTest();

  bool Choice = true;
  std::string Caption1;
  std::string Caption2;
  Rect Rect1;
  Rect Rect2;
  bool Clicked = false;

 private:
  MenuHost* host_;
};

}  // namespace sf
