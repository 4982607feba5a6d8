// saltfang-submit-probe URL NAME SCORE [PLAYER [REPLAY]]: sends one result exactly as the game does
// (the game's own OnlineScores code over its libcurl client), then the replay file when one is
// named, as the game sends a game's replay, and prints the outcome.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sdl/CurlHttp.h"
#include "web/OnlineScores.h"
#include "web/ReplayUpload.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc > 6) {
    std::fprintf(stderr, "usage: %s URL NAME SCORE [PLAYER [REPLAY]]\n", argv[0]);
    return 2;
  }
  std::vector<uint8_t> replay;
  if (argc > 5) {
    std::ifstream in(argv[5], std::ios::binary);
    replay.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      std::fprintf(stderr, "cannot read %s\n", argv[5]);
      return 2;
    }
  }
  sf::CurlHttp http;
  std::string token;
  const auto outcome = sf::SubmitOnlineScore(http, argv[2], static_cast<int32_t>(std::atol(argv[3])),
                                             argc > 4 ? argv[4] : "", argv[1], &token);
  const char* text = outcome == sf::SubmitOutcome::Sent            ? "sent"
                     : outcome == sf::SubmitOutcome::VersionFailed ? "version query failed"
                                                                   : "submission failed";
  std::printf("%s\n", text);
  if (outcome != sf::SubmitOutcome::Sent) return 1;
  if (argc > 5) {
    if (!sf::SendReplay(http, token, replay, argv[1])) {
      std::printf("replay refused\n");
      return 1;
    }
    std::printf("replay sent\n");
  }
  return 0;
}
