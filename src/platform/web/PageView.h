#pragma once
#include <string>

#include "core/Rect.h"

namespace sf {

// What the page around the picture needs to know of the game: whether its touch buttons mean
// anything (a game played or paused), and whether the name field takes letters, with its text
// and place, so the page's input element (which opens a phone's keyboard) lies over it.
struct PageView {
  bool Playing = false;
  bool Paused = false;
  bool Naming = false;
  std::string Name;
  Rect NameRect;

  bool operator==(const PageView&) const = default;
};

// Tells the page (Module.onGameView) the view after a pass of the loop: when it changed, and
// after every pass while the name field takes letters, so the page's input catches up with the
// field's rules even when a letter was refused and nothing changed.
class PageViewReporter {
 public:
  void Report(const PageView& view);

 private:
  PageView last_;
  bool told_ = false;
};

}  // namespace sf
