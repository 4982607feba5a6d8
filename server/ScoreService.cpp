#include "ScoreService.h"

#include <algorithm>
#include <random>
#include <string_view>

#include "PagePolicy.h"
#include "ReplayWorkers.h"
#include "ResultRecord.h"
#include "StaticFiles.h"
#include "Text.h"
#include "WorldPage.h"

namespace sf::scores {

namespace {

HttpResponse Plain(int status, std::string_view text) {
  HttpResponse r;
  r.Status = status;
  r.Body = std::string(text) + "\n";
  return r;
}

HttpResponse TooMany(std::string_view why = "too many requests; try again in a minute") {
  HttpResponse r = Plain(429, why);
  r.Headers.emplace_back("Retry-After", "60");
  return r;
}

// {"error":"<sentence>"}, for the JSON API's refusals.
HttpResponse JsonError(int status, std::string_view sentence) {
  HttpResponse r;
  r.Status = status;
  r.ContentType = "application/json";
  r.Body = "{\"error\":\"" + JsonEscape(sentence) + "\"}\n";
  return r;
}

// A listing that would read more rows than the client has left.
struct TooManyRows {};
// A result asked for by an id that names none.
struct NoSuchResult {};

std::string JsonStringOrNull(bool present, std::string_view text) {
  return present ? "\"" + JsonEscape(text) + "\"" : std::string("null");
}

// What a result's replay is, as the API names it.
const char* ReplayStatus(const StoredResult& r) {
  if (!r.Replay) return "none";
  switch (*r.Replay) {
    case ReplayState::Verified: return "verified";
    case ReplayState::Rejected: return "refused";
    case ReplayState::Pending: break;
  }
  return "checking";
}

bool HasVerifiedReplay(const StoredResult& r) { return r.Verified && r.Replay == ReplayState::Verified; }

// The replay and watch addresses of a result, as JSON members (null when it has none).
std::string ReplayMembers(const StoredResult& r, bool watch) {
  const bool replay = HasVerifiedReplay(r);
  return "\"replay\":" + JsonStringOrNull(replay, ReplayPath(r.Id)) +
         ",\"watch\":" + JsonStringOrNull(replay && watch, WatchPath(r.Id));
}

// /api/results/ID: one result. rank: in the all-time verified view, 0 for an unverified result.
std::string ResultJson(const StoredResult& r, int64_t rank, bool watch) {
  const bool refused = r.Replay == ReplayState::Rejected;
  return "{\"id\":" + std::to_string(r.Id) + ",\"name\":\"" + JsonEscape(ShownName(r.Name)) + "\",\"player\":\"" +
         JsonEscape(r.PlayerName) + "\",\"score\":" + std::to_string(r.Score) +
         ",\"level\":" + (r.Level ? std::to_string(*r.Level) : "null") + ",\"date\":\"" + FormatIso(r.Time) +
         "\",\"timestamp\":" + std::to_string(r.Time) + ",\"rank\":" + (rank > 0 ? std::to_string(rank) : "null") +
         ",\"steps\":" + (r.Steps ? std::to_string(*r.Steps) : "null") +
         ",\"verified\":" + (r.Verified ? "true" : "false") + ",\"replay_status\":\"" + ReplayStatus(r) +
         "\",\"reason\":" +
         JsonStringOrNull(refused, r.ReplayError.empty() ? "The replay was refused." : r.ReplayError) + "," +
         ReplayMembers(r, watch) + "}\n";
}

HttpResponse NoStore(HttpResponse r) {
  r.Headers.emplace_back("Cache-Control", "no-store");
  return r;
}

HttpResponse Unavailable() {
  HttpResponse r = Plain(503, "the score table is not available; try again shortly");
  r.Headers.emplace_back("Retry-After", "5");
  return r;
}

bool IsSessionId(std::string_view s) {
  return s.size() == 32 && s.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

std::optional<Period> ParsePeriod(const std::optional<std::string>& text) {
  if (!text || *text == "all") return Period::All;
  if (*text == "week") return Period::Week;
  if (*text == "day") return Period::Day;
  return std::nullopt;
}

// The game's three requests name what they want by bare words in the query.
struct GameQuery {
  bool Version = false, Submit = false, Show = false;
  std::optional<std::string> Program, Inf;
};

GameQuery ReadGameQuery(const QueryParams& params) {
  GameQuery q;
  for (const auto& [name, value] : params) {
    if (name == "version")
      q.Version = true;
    else if (name == "hs")
      q.Submit = true;
    else if (name == "show")
      q.Show = true;
    else if (name == "prg" && !q.Program)
      q.Program = value;
    else if (name == "inf" && !q.Inf)
      q.Inf = value;
  }
  return q;
}

}  // namespace

std::string SystemRandomId() {
  thread_local std::random_device device;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string id;
  for (int i = 0; i < 4; ++i) {
    uint32_t v = device();
    for (int k = 0; k < 8; ++k, v >>= 4) id.push_back(kHex[v & 15u]);
  }
  return id;
}

namespace {

// A piece of a target as the log shows it: printable ASCII as it is, anything else (controls,
// spaces, bytes above 0x7F, quotes and backslashes) as %XX, so a line is one line of plain ASCII
// whatever was sent.
void AppendLogged(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b > 0x20 && b < 0x7F && c != '"' && c != '\\') {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
}

}  // namespace

std::string LoggedTarget(std::string_view target) {
  std::string out;
  const size_t mark = target.find('?');
  AppendLogged(out, target.substr(0, mark));
  if (mark == std::string_view::npos) return out;
  std::string_view query = target.substr(mark + 1);
  char sep = '?';
  while (!query.empty()) {
    const size_t amp = query.find('&');
    std::string_view item = query.substr(0, amp);
    query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
    out.push_back(sep);
    sep = '&';
    if (item.rfind("inf=", 0) == 0 || item.rfind("p=", 0) == 0) {
      out += item.substr(0, item.find('=') + 1);
      out += "-";
    } else {
      AppendLogged(out, item);
    }
  }
  return out;
}

ScoreService::ScoreService(ScoreStore& store, ServiceConfig config, ServiceEnvironment env, Metrics* metrics,
                           ReplayWorkers* replays, const StaticFiles* web)
    : store_(store),
      config_(std::move(config)),
      env_(std::move(env)),
      metrics_(metrics),
      replays_(replays),
      web_(web),
      versionLimit_(config_.VersionPerMinute, config_.VersionBurst),
      submitLimit_(config_.SubmitPerMinute, config_.SubmitBurst),
      searchLimit_(config_.SearchPerMinute, config_.SearchBurst),
      readLimit_(config_.ReadRowsPerMinute, config_.ReadRowsPerMinute),
      replayLimit_(config_.ReplayPerMinute, config_.ReplayBurst),
      listings_(config_.ListingCacheEntries),
      results_(config_.ResultCacheEntries, size_t{8} << 20),
      replayFiles_(256, config_.ReplayCacheBytes) {}

bool ScoreService::Allow(Limit limit, const std::string& client, double cost, bool owe) {
  RateLimiter* own = nullptr;
  RateRule rule;
  const char* bucket = "";
  switch (limit) {
    case Limit::Version:
      own = &versionLimit_, rule = {config_.VersionPerMinute, config_.VersionBurst}, bucket = "version";
      break;
    case Limit::Submit:
      own = &submitLimit_, rule = {config_.SubmitPerMinute, config_.SubmitBurst}, bucket = "submit";
      break;
    case Limit::Search:
      own = &searchLimit_, rule = {config_.SearchPerMinute, config_.SearchBurst}, bucket = "search";
      break;
    case Limit::Read:
      own = &readLimit_, rule = {config_.ReadRowsPerMinute, config_.ReadRowsPerMinute}, bucket = "read";
      break;
    case Limit::Replay:
      own = &replayLimit_, rule = {config_.ReplayPerMinute, config_.ReplayBurst}, bucket = "replay";
      break;
  }
  if (rule.PerMinute <= 0) return true;
  const std::string key = ClientKey(client);  // an IPv6 /64 counts as one client
  if (store_.SharesRateLimits()) return store_.TakeTokens(bucket, key, rule, cost, env_.NowMs(), owe);
  return own->Allow(key, env_.NowMs(), cost, owe);
}

std::string ScoreService::ClientAddress(const HttpRequest& request) const {
  if (config_.TrustedProxy.empty() || request.Peer != config_.TrustedProxy) return request.Peer;
  std::string forwarded = request.Header("X-Forwarded-For");
  const size_t comma = forwarded.rfind(',');
  if (comma != std::string::npos) forwarded.erase(0, comma + 1);
  while (!forwarded.empty() && forwarded.front() == ' ') forwarded.erase(0, 1);
  while (!forwarded.empty() && forwarded.back() == ' ') forwarded.pop_back();
  if (forwarded.empty() || forwarded.size() > 64 ||
      forwarded.find_first_not_of("0123456789abcdefABCDEF.:") != std::string::npos)
    return request.Peer;
  return forwarded;
}

HttpResponse ScoreService::Handle(const HttpRequest& request) {
  const std::string client = ClientAddress(request);
  const std::string_view target = request.Target;
  const std::string_view path = target.substr(0, target.find('?'));
  const bool read = request.Method == "GET" || request.Method == "HEAD";
  HttpResponse response;
  try {
    if (path == "/api/replays") {
      response = request.Method == "POST" ? UploadReplay(request, client) : Plain(405, "POST a replay here");
    } else if (!read) {
      response = Plain(405, "only GET and HEAD here");
    } else if (path == "/cgi/version.pl") {
      response = Game(request, client);
    } else if (path == "/api/scores") {
      response = ApiScores(request, client);
    } else if (path.rfind("/api/results/", 0) == 0) {
      response = ApiResult(request, client, path.substr(13));
    } else if (path.rfind("/api/replays/", 0) == 0) {
      response = DownloadReplay(request, client, path.substr(13));
    } else if (path == "/healthz") {
      response = Health();
    } else if (path == "/metrics") {
      response.ContentType = "text/plain; version=0.0.4; charset=utf-8";
      response.Body = metrics_ ? metrics_->Render() + TableMetrics() : std::string();
    } else if (web_) {
      response = web_->Serve(request);
    } else {
      response = Plain(404, "not found");
    }
  } catch (const StoreUnavailable&) {
    response = Unavailable();
  }
  return response;  // for HEAD the HTTP layer sends the head only, with the length a GET would get
}

HttpResponse ScoreService::Game(const HttpRequest& request, const std::string& client) {
  const std::string_view target = request.Target;
  const size_t mark = target.find('?');
  const auto params = ParseQueryParams(mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1));
  if (!params) return Plain(400, "malformed query");
  const GameQuery q = ReadGameQuery(*params);
  if (q.Program != "Saltfang") return Plain(404, "unknown program");
  if (q.Version + q.Submit + q.Show != 1) return Plain(400, "ask for one thing");
  if (q.Version) return Version(request, client);
  if (q.Submit) return q.Inf ? Submission(request, client, *q.Inf) : Plain(400, "no result");
  return WorldPage(request, client);
}

void ScoreService::PruneNowAndThen() {
  const int64_t now = env_.NowSeconds();
  int64_t last = lastPrune_.load();
  if (now - last < 60 || !lastPrune_.compare_exchange_strong(last, now)) return;
  store_.Prune(now, config_.KeepUnverifiedDays * 86400);
  if (store_.SharesRateLimits()) store_.ForgetFullBuckets(env_.NowMs());
}

HttpResponse ScoreService::Version(const HttpRequest& request, const std::string& client) {
  HttpResponse r;
  if (request.Method == "HEAD") {  // changes nothing: no token, no session
    r.Body = "Saltfang|1.0|0|0||end";
    return NoStore(std::move(r));
  }
  if (!Allow(Limit::Version, client)) return TooMany();
  PruneNowAndThen();
  std::string session = CookieValue(request.Cookie, kSessionCookie);
  if (!IsSessionId(session)) {
    session = env_.RandomId();
    r.SetCookie = std::string(kSessionCookie) + "=" + session + "; Path=/; HttpOnly; SameSite=Lax";
    if (request.Peer == config_.TrustedProxy && request.Header("X-Forwarded-Proto") == "https")
      r.SetCookie += "; Secure";
  }
  const std::string token = env_.RandomId();
  store_.IssueToken(token, session, env_.NowSeconds());
  // Program, version, two reserved fields, the token the submission returns, end marker.
  r.Body = "Saltfang|1.0|0|0|" + token + "|end";
  return NoStore(std::move(r));
}

HttpResponse ScoreService::Submission(const HttpRequest& request, const std::string& client, std::string_view symbols) {
  const auto record = DecodeSubmission(symbols);
  if (!record) return Plain(400, "malformed result");
  if (record->Score > config_.MaxScore) return Plain(400, "score above the table's limit");
  if (request.Method == "HEAD") return Plain(200, "well-formed");  // nothing checked against the table, nothing stored
  if (!Allow(Limit::Submit, client)) return TooMany();
  const std::string session = CookieValue(request.Cookie, kSessionCookie);
  if (!IsSessionId(session)) return Plain(403, "no session");
  NewSubmission s;
  s.Token = record->Token;
  s.Session = session;
  s.Name = Cp1252ToUtf8(record->Name);
  s.PlayerName = Cp1252ToUtf8(record->PlayerName);
  s.Score = record->Score;
  s.Now = env_.NowSeconds();
  const SubmitOutcome outcome = store_.Submit(s);
  if (outcome.Status == SubmitStatus::BadToken) return Plain(403, "unknown, used or foreign token");
  if (metrics_) metrics_->CountSubmission(outcome.Status == SubmitStatus::Stored);
  return NoStore(Plain(200, "OK"));
}

HttpResponse ScoreService::WorldPage(const HttpRequest& request, const std::string& client) {
  const std::string_view target = request.Target;
  const auto params = ParseQueryParams(target.substr(target.find('?') + 1));
  if (!params) return Plain(400, "malformed query");
  WorldPageView view;
  const auto period = ParsePeriod(Param(*params, "period"));
  const auto shown = Param(*params, "view");
  const auto page = Param(*params, "page");
  view.Search = Param(*params, "q").value_or("");
  if (!period || (shown && *shown != "verified" && *shown != "unverified") || view.Search.size() > 64 ||
      !IsCleanUtf8(view.Search))
    return Plain(400, "malformed query");
  view.Span = *period;
  view.Verified = !shown || *shown == "verified";
  view.Watch = web_ != nullptr;
  if (page) {
    const auto n = ParseCount(*page, 1000000);
    if (!n || *n < 1) return Plain(400, "malformed page number");
    view.Page = *n;
  }
  if (!view.Search.empty() && !Allow(Limit::Search, client)) return TooMany();
  ListQuery q;
  q.Since = PeriodStart(view.Span, env_.NowSeconds());
  q.NameContains = view.Search;
  q.Verified = view.Verified;
  q.Limit = kWorldPageRows;
  q.Offset = (view.Page - 1) * kWorldPageRows;
  const std::string key = std::string("page|") + (view.Verified ? "v|" : "u|") + std::to_string(q.Since) + "|" +
                          std::to_string(view.Page) + "|" + view.Search;
  return Listing(request, client, key, q, true, "text/html; charset=utf-8",
                 [&](const ResultPage& results, const ListQuery& read) {
                   WorldPageView at = view;
                   at.Page = read.Offset / kWorldPageRows + 1;
                   return RenderWorldPage(at, results, kWorldPageRows);
                 });
}

HttpResponse ScoreService::Listing(const HttpRequest& request, const std::string& client, const std::string& key,
                                   const ListQuery& query, bool lastPage, const char* contentType,
                                   const std::function<std::string(const ResultPage&, const ListQuery&)>& render) {
  // Only the versions of the views the listing shows decide whether a kept answer still holds.
  ListingVersion version = store_.Version();
  if (query.Verified) (*query.Verified ? version.Unverified : version.Verified) = 0;
  bool made = false;
  std::shared_ptr<const CachedAnswer> answer;
  try {
    answer = listings_.Get(
        key, version,
        [&] {
          ListQuery q = query;
          const bool search = !q.NameContains.empty();
          const int64_t inPeriod = store_.Count(q.Verified, q.Since);
          if (lastPage && !search && inPeriod > 0) q.Offset = std::min(q.Offset, (inPeriod - 1) / q.Limit * q.Limit);
          // A search ranks its whole period; a page reads the rows above it.
          const int64_t rows = search ? inPeriod : std::min(q.Offset, inPeriod) + q.Limit;
          if ((search || rows > config_.FreeReadRows) && !Allow(Limit::Read, client, static_cast<double>(rows)))
            throw TooManyRows{};
          ResultPage page = store_.List(q);
          if (lastPage && page.Results.empty() && page.Total > 0 && q.Offset > 0) {
            q.Offset = (page.Total - 1) / q.Limit * q.Limit;  // a search's last page
            page = store_.List(q);
          }
          CachedAnswer a;
          a.Body = render(page, q);
          a.ETag = ETagOf(a.Body);
          return a;
        },
        &made);
  } catch (const TooManyRows&) {
    return TooMany();
  }
  if (metrics_) metrics_->CountListing(!made);
  return Kept(request, answer, contentType);
}

HttpResponse ScoreService::Kept(const HttpRequest& request, const std::shared_ptr<const CachedAnswer>& answer,
                                const char* contentType) {
  HttpResponse r;
  r.ContentType = contentType;
  r.Headers.emplace_back("ETag", answer->ETag);
  r.Headers.emplace_back("Cache-Control", kListingCacheControl);
  if (MatchesETag(request.Header("If-None-Match"), answer->ETag)) {
    r.Status = 304;
    return r;
  }
  r.Shared = std::shared_ptr<const std::string>(answer, &answer->Body);  // the kept answer itself
  if (std::string_view(contentType).rfind("text/html", 0) == 0)
    for (auto& header : WorldPageHeaders()) r.Headers.push_back(std::move(header));
  return r;
}

HttpResponse ScoreService::ApiScores(const HttpRequest& request, const std::string& client) {
  const std::string_view target = request.Target;
  const size_t mark = target.find('?');
  const auto params = ParseQueryParams(mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1));
  if (!params) return Plain(400, "malformed query");
  const auto period = ParsePeriod(Param(*params, "period"));
  const auto limit = Param(*params, "limit");
  const auto offset = Param(*params, "offset");
  const auto verified = Param(*params, "verified");
  ListQuery q;
  q.NameContains = Param(*params, "name").value_or("");
  if (!period || q.NameContains.size() > 64 || !IsCleanUtf8(q.NameContains)) return Plain(400, "malformed query");
  if (limit) {
    const auto n = ParseCount(*limit, kMaxApiLimit);
    if (!n || *n < 1) return Plain(400, "limit must be 1 to 100");
    q.Limit = *n;
  }
  if (offset) {
    const auto n = ParseCount(*offset, 1000000000);
    if (!n) return Plain(400, "malformed offset");
    q.Offset = *n;
  }
  if (verified) {
    if (*verified != "0" && *verified != "1") return Plain(400, "verified must be 0 or 1");
    q.Verified = *verified == "1";
  }
  if (!q.NameContains.empty() && !Allow(Limit::Search, client)) return TooMany();
  q.Since = PeriodStart(*period, env_.NowSeconds());
  const std::string key = std::string("api|") + (q.Verified ? (*q.Verified ? "v|" : "u|") : "a|") +
                          std::to_string(q.Since) + "|" + std::to_string(q.Offset) + "|" + std::to_string(q.Limit) +
                          "|" + q.NameContains;
  const bool watch = web_ != nullptr;
  return Listing(request, client, key, q, false, "application/json", [watch](const ResultPage& page, const ListQuery&) {
    std::string b = "{\"results\":[";
    for (size_t i = 0; i < page.Results.size(); ++i) {
      const StoredResult& s = page.Results[i];
      if (i) b += ",";
      b += "{\"id\":" + std::to_string(s.Id) + ",\"rank\":" + std::to_string(s.Rank) + ",\"name\":\"" +
           JsonEscape(ShownName(s.Name)) + "\",\"score\":" + std::to_string(s.Score) + ",\"player\":\"" +
           JsonEscape(s.PlayerName) + "\",\"time\":\"" + FormatIso(s.Time) +
           "\",\"verified\":" + (s.Verified ? "true" : "false") + "," + ReplayMembers(s, watch) + "}";
    }
    b += "],\"total\":" + std::to_string(page.Total) + "}\n";
    return b;
  });
}

std::optional<HttpResponse> ScoreService::UploadRefusal(std::string_view token, std::string_view session) {
  if (token.empty() || token.size() > 64) return Plain(400, "no token");
  if (!IsSessionId(session)) return Plain(403, "no session");
  switch (store_.CanAttachReplay(token, session, env_.NowSeconds())) {
    case AttachStatus::BadToken: return Plain(403, "unknown, foreign or unused token");
    case AttachStatus::AlreadyHasReplay: return Plain(409, "that result has a replay already");
    case AttachStatus::OverQuota:
    case AttachStatus::Stored: break;
  }
  return std::nullopt;
}

namespace {

// The upload's token (the p parameter), empty when it has none.
std::string UploadToken(std::string_view target) {
  const size_t mark = target.find('?');
  const auto params = ParseQueryParams(mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1));
  const auto token = params ? Param(*params, "p") : std::nullopt;
  return token.value_or("");
}

}  // namespace

std::optional<HttpResponse> ScoreService::BeforeBody(const HttpRequest& head) {
  const std::string_view target = head.Target;
  if (head.Method != "POST" || target.substr(0, target.find('?')) != "/api/replays") return std::nullopt;
  try {
    return UploadRefusal(UploadToken(target), CookieValue(head.Cookie, kSessionCookie));
  } catch (const StoreUnavailable&) {
    return Unavailable();
  }
}

HttpResponse ScoreService::UploadReplay(const HttpRequest& request, const std::string& client) {
  const std::string token = UploadToken(request.Target);
  const std::string session = CookieValue(request.Cookie, kSessionCookie);
  if (token.empty() || token.size() > 64) return Plain(400, "no token");
  if (request.Body.empty()) return Plain(400, "no replay");
  if (request.Body.size() > kMaxReplayBytes) return Plain(413, "replay too large: no game records that much");
  if (auto refused = UploadRefusal(token, session)) return std::move(*refused);
  if (!Allow(Limit::Submit, client)) return TooMany();
  if (replays_ && !replays_->HasRoom()) return Plain(503, "too many replays wait for verification");
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(request.Body.data()), request.Body.size());
  // Only what may be a replay is kept; a refused one keeps only its verdict.
  if (replays_) {
    const std::string why = replays_->Screen(bytes);
    if (!why.empty()) return Plain(422, why);
  }
  const std::vector<uint8_t> file(bytes.begin(), bytes.end());
  const UploadQuota quota{ClientKey(client), config_.UploadBytesPerDay};
  int64_t id = 0;
  switch (store_.AttachReplay(token, session, file, env_.NowSeconds(), &id, &quota)) {
    case AttachStatus::BadToken: return Plain(403, "unknown, foreign or unused token");
    case AttachStatus::AlreadyHasReplay: return Plain(409, "that result has a replay already");
    case AttachStatus::OverQuota: return TooMany("too many replay bytes from this address today; try again tomorrow");
    case AttachStatus::Stored: break;
  }
  if (replays_) replays_->Notify();
  return Plain(202, "queued for verification");
}

HttpResponse ScoreService::ApiResult(const HttpRequest& request, const std::string& client, std::string_view idText) {
  const auto id = ParseCount(idText, INT64_MAX / 2);
  if (!id) return JsonError(404, "A result id is a whole number, as /api/scores gives it.");
  std::shared_ptr<const CachedAnswer> answer;
  try {
    // Kept until either view changes: that may move its rank, its replay's state or the result.
    answer = results_.Get("result|" + std::to_string(*id), store_.Version(), [&] {
      const auto result = store_.Find(*id);
      if (!result) throw NoSuchResult{};
      int64_t rank = 0;
      if (result->Verified) {
        // Counting the rank reads every verified row above the result. A client that owes rows
        // waits; a rank deeper than the free rows is paid like a page that far down.
        if (!Allow(Limit::Read, client, 0)) throw TooManyRows{};
        rank = store_.VerifiedRank(result->Score, result->Time, result->Id);
        if (rank - 1 > config_.FreeReadRows) Allow(Limit::Read, client, static_cast<double>(rank - 1), true);
      }
      CachedAnswer a;
      a.Body = ResultJson(*result, rank, web_ != nullptr);
      a.ETag = ETagOf(a.Body);
      return a;
    });
  } catch (const NoSuchResult&) {
    return JsonError(404, "There is no result " + std::to_string(*id) + ".");
  } catch (const TooManyRows&) {
    return TooMany();
  }
  return Kept(request, answer, "application/json");
}

HttpResponse ScoreService::DownloadReplay(const HttpRequest& request, const std::string& client,
                                          std::string_view idText) {
  if (!Allow(Limit::Replay, client)) return TooMany("too many replay downloads; try again in a minute");
  const auto id = ParseCount(idText, INT64_MAX / 2);
  if (!id) return Plain(404, "A replay is asked for by its result's id, a whole number.");
  const std::string none = "There is no verified replay for result " + std::to_string(*id) + ".";
  const auto result = store_.Find(*id);
  if (!result || !HasVerifiedReplay(*result)) return Plain(404, none);
  // A result's replay never changes: one copy in memory serves every download of it.
  std::shared_ptr<const CachedAnswer> file;
  try {
    file = replayFiles_.Get("replay|" + std::to_string(*id), ListingVersion{}, [&] {
      auto bytes = store_.ReplayFile(*id);
      if (!bytes) throw NoSuchResult{};
      CachedAnswer a;
      a.Body.assign(bytes->begin(), bytes->end());
      // The file never changes: its hash is a strong validator for good.
      a.ETag = ETagOf(a.Body);
      return a;
    });
  } catch (const NoSuchResult&) {
    return Plain(404, none);
  }
  HttpResponse r;
  r.ContentType = "application/octet-stream";
  r.Headers.emplace_back("Content-Disposition", "attachment; filename=\"saltfang-" + std::to_string(*id) + ".replay\"");
  r.Headers.emplace_back("ETag", file->ETag);
  r.Headers.emplace_back("Cache-Control", kReplayCacheControl);
  if (MatchesETag(request.Header("If-None-Match"), file->ETag)) {
    r.Status = 304;
    return r;
  }
  r.Shared = std::shared_ptr<const std::string>(file, &file->Body);
  return r;
}

std::string ScoreService::TableMetrics() {
  // Counting the replays' bytes reads the whole table: once every ten seconds is enough.
  const int64_t now = env_.NowMs();
  std::lock_guard lock(sizesMutex_);
  if (sizesText_.empty() || now - sizesAt_ >= 10000 || now < sizesAt_) {
    sizesText_ = StoreMetrics(store_.Sizes());
    sizesAt_ = now;
  }
  return sizesText_;
}

HttpResponse ScoreService::Health() {
  if (!store_.Ping()) return Unavailable();
  HttpResponse r = Plain(200, "ok");
  r.Headers.emplace_back("Cache-Control", "no-store");
  return r;
}

}  // namespace sf::scores
