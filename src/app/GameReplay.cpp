// The replay of the current game: recorded as it is played, sent after its result.
#include "app/Form.h"
#include "game/Game.h"
#include "replay/ReplayRecorder.h"
#include "web/ReplayUpload.h"

namespace sf {

bool TForm1::SendGameReplay(const std::string& token) {
  if (!currentGame_ || !recorder_ || token.empty()) return false;
  const std::vector<uint8_t> file = recorder_->Finish(*currentGame_);
  return SendReplay(platform_.http, token, file, files_.ScoreService);
}

}  // namespace sf
