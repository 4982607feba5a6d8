#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Http.h"
#include "web/ScoreProtocol.h"

namespace sf {

// Full addresses of the score service (serviceUrl without a trailing "/", which is dropped if given).
std::string VersionQueryUrl(std::string_view serviceUrl = kScoreServiceUrl);
std::string SubmissionUrl(std::string_view symbols, std::string_view serviceUrl = kScoreServiceUrl);
std::string WorldHighScoresUrl(std::string_view serviceUrl = kScoreServiceUrl);

enum class SubmitOutcome {
  Sent,              // both requests answered
  VersionFailed,     // the version query failed; nothing was submitted
  SubmissionFailed,  // the version query answered but the submission failed or was refused
};

// Sends one result: the version query, whose fifth field goes back inside the encoded record, then
// the submission. Blocks until both requests end (the client's time-outs bound the wait).
// serverField, when given, receives the version reply's field (the result's one-time token).
SubmitOutcome SubmitOnlineScore(Http& http, std::string_view name, int32_t score, std::string_view playerName,
                                std::string_view serviceUrl = kScoreServiceUrl, std::string* serverField = nullptr);

}  // namespace sf
