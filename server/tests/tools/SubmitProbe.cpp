// saltfang-submit-probe URL NAME SCORE [PLAYER]: sends one result exactly as the game does (the
// game's own OnlineScores code over its libcurl client) and prints the outcome.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sdl/CurlHttp.h"
#include "web/OnlineScores.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: %s URL NAME SCORE [PLAYER]\n", argv[0]);
    return 2;
  }
  sf::CurlHttp http;
  const auto outcome =
      sf::SubmitOnlineScore(http, argv[2], static_cast<int32_t>(std::atol(argv[3])), argc > 4 ? argv[4] : "", argv[1]);
  const char* text = outcome == sf::SubmitOutcome::Sent            ? "sent"
                     : outcome == sf::SubmitOutcome::VersionFailed ? "version query failed"
                                                                   : "submission failed";
  std::printf("%s\n", text);
  return outcome == sf::SubmitOutcome::Sent ? 0 : 1;
}
