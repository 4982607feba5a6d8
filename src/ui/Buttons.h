#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "core/Rect.h"
#include "gfx/Surface.h"
#include "ui/MenuHost.h"

namespace sf {

// An image button: the background already shows its label, so it draws only its highlighted
// copy, and only while Selected.
class TDDButton {
 public:
  TDDButton(MenuHost& host, const sf::Rect& rect, uint8_t imageIndex)
      : Rect(rect), ImageIndex(imageIndex), host_(&host) {}

  void Draw(Surface& target);

  sf::Rect Rect;  // hit area; the image is drawn at its top-left
  bool Selected = false;
  uint8_t ImageIndex;

 private:
  MenuHost* host_;
};

// A button that shows a caption, underlined in the normal colour while the keyboard cursor is on it.
class TDDTextButton {
 public:
  TDDTextButton(MenuHost& host, const sf::Rect& rect, std::string caption)
      : Rect(rect), Caption(std::move(caption)), host_(&host) {}

  void Draw(Surface& target);

  sf::Rect Rect;  // hit area; the caption is drawn at its top-left
  bool Highlighted = false;
  std::string Caption;

 private:
  MenuHost* host_;
};

// A two-choice option row. The background shows both choice labels; the widget lays the
// highlighted copy over the active one.
class TDDToggleButton {
 public:
  TDDToggleButton(MenuHost& host, const sf::Rect& firstRect, const sf::Rect& secondRect, uint8_t checkedImage,
                  uint8_t uncheckedImage)
      : FirstRect(firstRect),
        SecondRect(secondRect),
        CheckedImage(checkedImage),
        UncheckedImage(uncheckedImage),
        host_(&host) {}

  void Draw(Surface& target);

  sf::Rect FirstRect;   // first choice (on, windowed)
  sf::Rect SecondRect;  // second choice (off, full screen)
  bool Highlighted = false;
  bool Checked = false;  // true: the first choice is active
  uint8_t CheckedImage;
  uint8_t UncheckedImage;

 private:
  MenuHost* host_;
};

}  // namespace sf
