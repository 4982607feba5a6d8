#include "platform/web/PageView.h"

#include <emscripten.h>

namespace sf {

void PageViewReporter::Report(const PageView& view) {
  if (told_ && view == last_ && !view.Naming) return;
  last_ = view;
  told_ = true;
  // The formatter does not know JavaScript.
  // clang-format off
  EM_ASM({
    if (Module['onGameView']) Module['onGameView']($0, $1, $2, UTF8ToString($3), $4, $5, $6, $7);
  }, view.Playing, view.Paused, view.Naming, view.Name.c_str(), view.NameRect.Left, view.NameRect.Top,
     view.NameRect.Right, view.NameRect.Bottom);
  // clang-format on
}

}  // namespace sf
