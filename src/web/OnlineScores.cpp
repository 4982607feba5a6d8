#include "web/OnlineScores.h"

#include <optional>

#include "web/ScoreCodec.h"

namespace sf {

namespace {

std::string Address(std::string_view serviceUrl, std::string_view path) {
  while (!serviceUrl.empty() && serviceUrl.back() == '/') serviceUrl.remove_suffix(1);
  std::string url(serviceUrl);
  url += path;
  return url;
}

}  // namespace

std::string VersionQueryUrl(std::string_view serviceUrl) { return Address(serviceUrl, kVersionQueryPath); }

std::string SubmissionUrl(std::string_view symbols, std::string_view serviceUrl) {
  std::string url = Address(serviceUrl, kSubmissionPath);
  url += symbols;  // only alphabet symbols: nothing to escape
  return url;
}

std::string WorldHighScoresUrl(std::string_view serviceUrl) { return Address(serviceUrl, kWorldHighScoresPath); }

SubmitOutcome SubmitOnlineScore(Http& http, std::string_view name, int32_t score, std::string_view playerName,
                                std::string_view serviceUrl, std::string* serverField) {
  const std::optional<std::string> reply = http.Get(VersionQueryUrl(serviceUrl));
  if (!reply) return SubmitOutcome::VersionFailed;
  const std::string field = ServerField(*reply);
  if (serverField) *serverField = field;
  const std::string record = ResultString(name, score, field, playerName);
  const std::string symbols = BitStringToSymbols(BytesToBitString(record));
  // A failed submission is reported, not shown as a success: the player can try again.
  if (!http.Get(SubmissionUrl(symbols, serviceUrl))) return SubmitOutcome::SubmissionFailed;
  return SubmitOutcome::Sent;
}

}  // namespace sf
