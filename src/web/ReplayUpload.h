#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/Http.h"
#include "web/ScoreProtocol.h"

namespace sf {

inline constexpr std::string_view kReplayUploadPath = "/api/replays?p=";
inline constexpr const char* kReplayContentType = "application/octet-stream";

// The address a result's replay goes to: the token the version reply handed out, with any
// character outside the URL-safe ones percent-encoded.
std::string ReplayUploadUrl(std::string_view token, std::string_view serviceUrl = kScoreServiceUrl);

// Sends the replay of the game whose result was just submitted with that token, in the same
// session. True when the service took it (a 2xx answer). Nothing is sent without a token or a
// replay. The result stays unverified when this fails; the player is not told.
bool SendReplay(Http& http, std::string_view token, std::span<const uint8_t> replay,
                std::string_view serviceUrl = kScoreServiceUrl);

}  // namespace sf
