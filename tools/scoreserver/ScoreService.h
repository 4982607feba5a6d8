#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>

#include "HttpMessage.h"
#include "ScoreStore.h"

namespace sf::scores {

inline constexpr const char* kSessionCookie = "sfsid";
inline constexpr int64_t kTokenLifetimeSeconds = 600;
inline constexpr size_t kMaxOpenTokens = 4096;  // the oldest unused token gives way beyond this
inline constexpr size_t kWorldPageRows = 100;

// The service's answers, free of sockets: the version reply hands out a one-time token bound to the
// caller's session cookie; a submission must bring that token back with the same cookie.
class ScoreService {
 public:
  // randomId gives a fresh unguessable identifier; now gives seconds since 1970.
  ScoreService(ScoreStore& store, std::function<std::string()> randomId, std::function<int64_t()> now);

  HttpResponse Handle(const HttpRequest& request);

 private:
  struct IssuedToken {
    std::string Session;
    int64_t Issued = 0;
  };

  HttpResponse Version(const HttpRequest& request);
  HttpResponse Submission(const HttpRequest& request, std::string_view symbols);
  HttpResponse WorldPage() const;
  void ForgetExpired();

  ScoreStore& store_;
  std::function<std::string()> randomId_;
  std::function<int64_t()> now_;
  std::unordered_map<std::string, IssuedToken> tokens_;
  std::deque<std::string> tokenOrder_;  // issue order, for expiry and the cap
};

// An identifier of 32 hex digits from the system's random source.
std::string SystemRandomId();

// Escapes text for HTML element content and attribute values.
std::string HtmlEscape(std::string_view text);

}  // namespace sf::scores
