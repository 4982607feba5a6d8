#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "HttpMessage.h"
#include "Metrics.h"
#include "RateLimiter.h"
#include "ScoreStore.h"

namespace sf::scores {

class ReplayWorkers;
class StaticFiles;

inline constexpr const char* kSessionCookie = "sfsid";
inline constexpr int64_t kWorldPageRows = 50;
inline constexpr int64_t kMaxApiLimit = 100;
inline constexpr size_t kMaxReplayBytes = 4u << 20;

struct ServiceConfig {
  int32_t MaxScore = 99999999;
  std::string TrustedProxy;  // only a request from this address may name its client in X-Forwarded-For
  double VersionPerMinute = 30, VersionBurst = 20;  // version queries per client
  double SubmitPerMinute = 10, SubmitBurst = 10;    // submissions and replays per client
  // Name searches of the world table per client: each ranks a whole period, the costliest read.
  double SearchPerMinute = 30, SearchBurst = 10;
};

// Where the service gets time and fresh identifiers; tests give fixed ones.
struct ServiceEnvironment {
  std::function<int64_t()> NowSeconds;
  std::function<int64_t()> NowMs;         // for the rate limits
  std::function<std::string()> RandomId;  // unguessable, URL-safe
};

// The service's answers, free of sockets: the game's version query hands out a one-time token
// bound to the caller's session cookie; a submission must bring that token back with the same
// cookie. Beside them the world page, the JSON API, replays, health and metrics.
class ScoreService {
 public:
  ScoreService(ScoreStore& store, ServiceConfig config, ServiceEnvironment env, Metrics* metrics = nullptr,
               ReplayWorkers* replays = nullptr, const StaticFiles* web = nullptr);

  HttpResponse Handle(const HttpRequest& request);

  // The client a request speaks for: the connection's address, or the last X-Forwarded-For entry
  // when the connection comes from the trusted proxy.
  std::string ClientAddress(const HttpRequest& request) const;

 private:
  HttpResponse Game(const HttpRequest& request, const std::string& client);
  HttpResponse Version(const HttpRequest& request, const std::string& client);
  HttpResponse Submission(const HttpRequest& request, const std::string& client, std::string_view symbols);
  HttpResponse WorldPage(const HttpRequest& request, const std::string& client);
  HttpResponse ApiScores(const HttpRequest& request, const std::string& client);
  HttpResponse UploadReplay(const HttpRequest& request, const std::string& client);
  HttpResponse DownloadReplay(const HttpRequest& request, std::string_view id);
  HttpResponse Health();
  void PruneNowAndThen();

  ScoreStore& store_;
  ServiceConfig config_;
  ServiceEnvironment env_;
  Metrics* metrics_;
  ReplayWorkers* replays_;
  const StaticFiles* web_;
  RateLimiter versionLimit_, submitLimit_, searchLimit_;
  std::atomic<int64_t> lastPrune_{0};
};

// An identifier of 32 hex digits from the system's random source.
std::string SystemRandomId();

// The request target as the access log shows it: the submission's payload and tokens left out.
std::string LoggedTarget(std::string_view target);

}  // namespace sf::scores
