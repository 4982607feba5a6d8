#pragma once
#include <cstdint>

namespace sf {

// The screen the frame loop draws. Screens change only by assigning it.
enum ScreenStateValue : uint32_t {
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

}  // namespace sf
