#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "HttpMessage.h"
#include "ListingCache.h"
#include "Metrics.h"
#include "RateLimiter.h"
#include "ScoreStore.h"
#include "replay/ReplayFormat.h"

namespace sf::scores {

class ReplayWorkers;
class StaticFiles;

inline constexpr const char* kSessionCookie = "sfsid";
inline constexpr int64_t kWorldPageRows = 50;
inline constexpr int64_t kMaxApiLimit = 100;
// The largest replay any game can give (the recorder's whole room, not compressed at all).
inline constexpr size_t kMaxReplayBytes = replay::kMaxFileBytes;

struct ServiceConfig {
  int32_t MaxScore = 99999999;
  std::string TrustedProxy;  // only a request from this address may name its client in X-Forwarded-For
  double VersionPerMinute = 30, VersionBurst = 20;  // version queries per client
  double SubmitPerMinute = 10, SubmitBurst = 10;    // submissions and replays per client
  // Name searches of the world table per client: each ranks a whole period, the costliest read.
  double SearchPerMinute = 30, SearchBurst = 10;
  // Replay downloads per client: a replay never changes, so browsers and caches keep it, and a
  // client asking again and again is fetching many.
  double ReplayPerMinute = 60, ReplayBurst = 30;
  // Rows of the table a client's listings may read a minute, as much at once: a page far down
  // reads every row above it, a name search its whole period. Pages within the first
  // FreeReadRows rows and answers kept in memory cost nothing.
  double ReadRowsPerMinute = 2000000;
  int64_t FreeReadRows = 5000;
  // Listing answers kept in memory until the table's view changes; and single results' answers
  // (/api/results/ID), kept apart so that asking for many results does not push listings out.
  size_t ListingCacheEntries = 1024;
  size_t ResultCacheEntries = 4096;
  // Verified replays' files kept in memory for their downloads.
  size_t ReplayCacheBytes = size_t{32} << 20;
  // Replay bytes one client (an address, or an IPv6 /64) may store a day; 0: no limit.
  int64_t UploadBytesPerDay = 32 << 20;
  // Unverified results whose exchange was never completed (no replay, or a refused one) are
  // removed after this many days; 0 keeps them.
  int64_t KeepUnverifiedDays = 30;
};

// The listings' Cache-Control: browsers ask again each time (a 304 when the ETag still holds);
// a shared cache in front (nginx) may answer from its copy for a second.
inline constexpr const char* kListingCacheControl = "public, max-age=0, s-maxage=1";
// A stored replay never changes (a result's id is never given again): anyone may keep it for good.
inline constexpr const char* kReplayCacheControl = "public, max-age=31536000, immutable";

// Where the service gets time and fresh identifiers; tests give fixed ones.
struct ServiceEnvironment {
  std::function<int64_t()> NowSeconds;
  std::function<int64_t()> NowMs;         // wall-clock milliseconds, for the rate limits
  std::function<std::string()> RandomId;  // unguessable, URL-safe
};

// The service's answers, free of sockets: the game's version query hands out a one-time token
// bound to the caller's session cookie; a submission must bring that token back with the same
// cookie. Beside them the world page, the JSON API, replays, health and metrics. Listings and
// single results are answered from memory while their view of the table is unchanged. Rate limits are counted in
// the database when it keeps them for every instance (PostgreSQL), else by this instance.
class ScoreService {
 public:
  ScoreService(ScoreStore& store, ServiceConfig config, ServiceEnvironment env, Metrics* metrics = nullptr,
               ReplayWorkers* replays = nullptr, const StaticFiles* web = nullptr);

  HttpResponse Handle(const HttpRequest& request);
  // Looks at a request whose head has come but not its body: a refusal when the body is not
  // wanted (an upload with a wrong or spent token, or without its session), else nothing.
  std::optional<HttpResponse> BeforeBody(const HttpRequest& head);

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
  // Why an upload with this token and session is not wanted now, when it is not.
  std::optional<HttpResponse> UploadRefusal(std::string_view token, std::string_view session);
  HttpResponse ApiResult(const HttpRequest& request, const std::string& client, std::string_view id);
  HttpResponse DownloadReplay(const HttpRequest& request, const std::string& client, std::string_view id);
  HttpResponse Health();
  std::string TableMetrics();
  void PruneNowAndThen();

  enum class Limit { Version, Submit, Search, Read, Replay };
  // Takes cost from the client's bucket of that limit: the database's, or this instance's. owe:
  // for work already done, taken whatever the bucket holds (it then owes the rest).
  bool Allow(Limit limit, const std::string& client, double cost = 1.0, bool owe = false);
  // A listing's answer under key: kept in memory while its view is unchanged, else read (counted
  // against the client's rows when it reads many) and rendered. lastPage: a page past the end
  // shows the last one. render gets the page read and the query that read it.
  HttpResponse Listing(const HttpRequest& request, const std::string& client, const std::string& key,
                       const ListQuery& query, bool lastPage, const char* contentType,
                       const std::function<std::string(const ResultPage&, const ListQuery&)>& render);
  // A kept answer as it goes out, or 304 when the request names its ETag.
  static HttpResponse Kept(const HttpRequest& request, const std::shared_ptr<const CachedAnswer>& answer,
                           const char* contentType);

  ScoreStore& store_;
  ServiceConfig config_;
  ServiceEnvironment env_;
  Metrics* metrics_;
  ReplayWorkers* replays_;
  const StaticFiles* web_;
  RateLimiter versionLimit_, submitLimit_, searchLimit_, readLimit_, replayLimit_;
  ListingCache listings_, results_;
  ListingCache replayFiles_;  // verified replays' files, shared by their downloads
  std::atomic<int64_t> lastPrune_{0};
  std::mutex sizesMutex_;
  std::string sizesText_;  // the table's sizes for /metrics, as last counted
  int64_t sizesAt_ = 0;
};

// An identifier of 32 hex digits from the system's random source.
std::string SystemRandomId();

// The request target as the access log shows it: the submission's payload and tokens left out.
std::string LoggedTarget(std::string_view target);

}  // namespace sf::scores
