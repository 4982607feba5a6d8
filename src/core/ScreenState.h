#pragma once
#include <cstdint>

namespace sf {

// The screen the frame loop draws. The values are the program's historic numbers: gaps (6, 9 to
// 30, ...) belong to screens the program no longer has. Only the application changes it; the
// lower layers ask it for intents (show the main menu, the game is over) instead.
enum class ScreenState : uint32_t {
  scrIntro = 0,
  scrMainMenu = 1,
  scrGame = 2,
  scrOptions = 3,
  scrHighScores = 4,
  scrHelpOverview = 5,
  scrExitQuestion = 7,
  scrClearQuestion = 8,
  scrKeyCapture = 31,
  scrPause = 33,
  scrEnterName = 34,
  scrSendQuestion = 35,
  scrQuitGameQuestion = 36,
  scrConnectFailed = 38,
  scrPleaseWait = 39,
  scrHelpNavigation = 51,
  scrHelpEnemies = 52,
  scrAbout = 53,
};
// The values keep their short names (scrMainMenu) without the type in front.
using enum ScreenState;

}  // namespace sf
