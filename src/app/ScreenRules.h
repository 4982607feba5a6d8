#pragma once
#include "core/ScreenState.h"

namespace sf {

// The four help pages, which share the help panel, its buttons and their keys.
constexpr bool IsHelpPage(ScreenState s) {
  return s == scrHelpOverview || s == scrHelpNavigation || s == scrHelpEnemies || s == scrAbout;
}

// The track that belongs to a screen when the music comes round: the menu track on the intro, the
// main menu and the screens numbered 3 to 10 (the pages and questions beside the main menu), the
// game track in the game; none elsewhere (the later-numbered help pages, the dialogs of the game
// and the online exchange, the pause). The numeric ranges are the rule the music was timed with.
constexpr const char* MusicTrackFor(ScreenState s) {
  const auto n = static_cast<uint32_t>(s);
  if (s == scrIntro || s == scrMainMenu || (n >= 3 && n <= 10)) return "1.xm";
  if (s == scrGame) return "2.xm";
  return nullptr;
}

}  // namespace sf
