#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sf::scores {

// A one-time token lives this long after the version reply that handed it out.
inline constexpr int64_t kTokenLifetimeSeconds = 600;
// The same result from the same session within this time is stored once.
inline constexpr int64_t kDuplicateWindowSeconds = 600;
// A replay may follow its submission within this time.
inline constexpr int64_t kReplayWindowSeconds = 3600;
// A claimed replay not finished within this time is taken up again (its instance died).
inline constexpr int64_t kReplayClaimSeconds = 120;

// The database cannot answer now (down, disk full, locked): the request gets 503 and nothing is
// acknowledged.
struct StoreUnavailable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class ReplayState { Pending, Verified, Rejected };

struct StoredResult {
  int64_t Id = 0;
  int64_t Time = 0;  // seconds since 1970, UTC
  int32_t Score = 0;
  std::string Name;        // UTF-8
  std::string PlayerName;  // UTF-8
  bool Verified = false;
  bool HasReplay = false;
  std::optional<ReplayState> Replay;  // its replay's state; nothing when it has none
  std::string ReplayError;            // why its replay was refused: a sentence; empty otherwise
  int64_t Rank = 0;                   // place within the listing's period and view, from 1
  // Of the game its verified replay plays (read from the replay's header, which the check found
  // true); nothing for any other result. Filled by Find only.
  std::optional<int64_t> Steps;
  std::optional<int32_t> Level;
};

// The start of the "all time" period: before any result.
inline constexpr int64_t kAllTime = INT64_MIN / 2;

struct ListQuery {
  int64_t Since = kAllTime;      // only results at or after this time
  std::string NameContains;      // empty: any; matched without regard to ASCII case
  std::optional<bool> Verified;  // nothing: verified and unverified together
  int64_t Limit = 50;
  int64_t Offset = 0;
};

struct ResultPage {
  std::vector<StoredResult> Results;
  int64_t Total = 0;  // matching results in all pages
};

struct NewSubmission {
  std::string Token;
  std::string Session;
  std::string Name;        // UTF-8
  std::string PlayerName;  // UTF-8
  int32_t Score = 0;
  int64_t Now = 0;
};

enum class SubmitStatus {
  Stored,     // a new result
  Duplicate,  // the same result came before (a retry): not stored again, still a success
  BadToken,   // unknown, expired, foreign or spent on another result
};

struct SubmitOutcome {
  SubmitStatus Status = SubmitStatus::BadToken;
  int64_t ResultId = 0;
};

enum class AttachStatus {
  Stored,
  BadToken,
  AlreadyHasReplay,
  OverQuota,  // the client's replays of the day would pass its bytes a day
};

// The bytes of replays one client (an address, or an IPv6 /64) may store in a day (UTC).
struct UploadQuota {
  std::string Client;
  int64_t BytesPerDay = 0;  // 0: no limit
};

// What the service keeps of the database's size, for /metrics.
struct StoreSizes {
  int64_t Results = 0, VerifiedResults = 0;
  int64_t Replays = 0, ReplayBytes = 0;  // the replays kept, and their bytes (a refused one keeps none)
  int64_t Tokens = 0;
  int64_t VerifiedGames = 0;  // fingerprints of the games that verified a result
  int64_t DatabaseBytes = 0;  // the whole database on disk
};

// A verified replay's file still without its game's fingerprint (verified before fingerprints
// were kept).
struct UnfingerprintedReplay {
  int64_t ResultId = 0;
  std::vector<uint8_t> File;
};

// The sentence a replay is refused with when its game verified another result already.
inline std::string SameGameSentence(int64_t holder) {
  return "This game was verified already, for result " + std::to_string(holder) +
         ": a game's replay verifies one result only, whatever name it is sent under.";
}

// How many times the results of each view, or their replays, have changed: counts that only grow.
// A listing made after the same counts shows the same, whichever instance made it.
struct ListingVersion {
  int64_t Verified = 0;
  int64_t Unverified = 0;
  bool operator==(const ListingVersion&) const = default;
};

// A token bucket: PerMinute tokens a minute, at most Burst at once.
struct RateRule {
  double PerMinute = 0;  // 0: no limit
  double Burst = 1;
};

struct ClaimedReplay {
  int64_t ResultId = 0;
  int32_t Score = 0;
  std::string Name;  // the result's name, UTF-8
  std::vector<uint8_t> File;
};

// Everything the service keeps, in one database shared by all its instances: results, one-time
// tokens with their sessions, and replays with their verification state. Every call may throw
// StoreUnavailable; a call that returns has committed durably.
class ScoreStore {
 public:
  virtual ~ScoreStore() = default;

  virtual int SchemaVersion() = 0;
  virtual void IssueToken(std::string_view token, std::string_view session, int64_t now) = 0;
  virtual SubmitOutcome Submit(const NewSubmission& submission) = 0;
  // Adds results as they are (old data); returns how many were added.
  virtual int64_t Import(const std::vector<StoredResult>& results) = 0;
  // A page of a listing. Its Total without a name search comes from counts kept as results
  // change, so it costs what the page costs; a name search reads the whole period.
  virtual ResultPage List(const ListQuery& query) = 0;
  // The results of a view (nothing: both) at or after since, from the kept counts.
  virtual int64_t Count(std::optional<bool> verified, int64_t since) = 0;
  virtual ListingVersion Version() = 0;
  virtual std::optional<StoredResult> Find(int64_t id) = 0;
  // The place of a verified result (its score, time and id) in the all-time verified view, from 1:
  // the verified results before it, counted on that view's index, so it reads as many rows as
  // its rank.
  virtual int64_t VerifiedRank(int32_t score, int64_t time, int64_t id) = 0;
  virtual bool Remove(int64_t id) = 0;
  // True when the database answers a query.
  virtual bool Ping() = 0;
  // Forgets tokens too old to be used for anything and the days of upload quotas gone by; with
  // keepUnverifiedSeconds, also removes the unverified results older than that whose exchange
  // was never completed: sent without a replay, or with one that was refused (at most a batch a
  // call, so that no call holds the database long).
  virtual void Prune(int64_t now, int64_t keepUnverifiedSeconds = 0) = 0;

  // Stores the replay of the result whose submission used this token in this session, counting
  // its bytes against the client's quota of the day when one is given.
  virtual AttachStatus AttachReplay(std::string_view token, std::string_view session, const std::vector<uint8_t>& file,
                                    int64_t now, int64_t* resultId, const UploadQuota* quota = nullptr) = 0;
  // Whether AttachReplay would take a replay for this token and session now (Stored), without
  // storing anything: an upload is refused before its body is read.
  virtual AttachStatus CanAttachReplay(std::string_view token, std::string_view session, int64_t now) = 0;
  // Takes one pending replay nobody works on (or whose worker went silent), marking it claimed.
  virtual std::optional<ClaimedReplay> ClaimReplay(int64_t now) = 0;
  // Records the check's verdict. A refused replay keeps its reason only, not its bytes. A verified
  // one with its game's fingerprint verifies its result only when no other result was verified by
  // the same game: otherwise it is refused with SameGameSentence, and the other's id returned.
  virtual int64_t FinishReplay(int64_t resultId, bool verified, std::string_view error,
                               std::string_view fingerprint = {}) = 0;
  // Verified replays without a fingerprint, after a result id, in id order; and a fingerprint given
  // to one (empty: none can be had), which claims its game unless another result holds it.
  virtual std::vector<UnfingerprintedReplay> VerifiedWithoutFingerprint(int64_t afterId, int limit) = 0;
  virtual void SetFingerprint(int64_t resultId, std::string_view fingerprint) = 0;
  virtual StoreSizes Sizes() = 0;
  // The replay file of a result, when it has one.
  virtual std::optional<std::vector<uint8_t>> ReplayFile(int64_t resultId) = 0;
  virtual std::optional<ReplayState> ReplayStateOf(int64_t resultId) = 0;

  // True when the database keeps the rate limits' buckets, so that every instance counts against
  // the same ones; otherwise each instance counts for itself.
  virtual bool SharesRateLimits() const { return false; }
  // Takes cost tokens from the client's bucket of that name when it holds at least the cost (or,
  // for a cost above the burst, when it is full: the bucket then owes the rest); false otherwise.
  // owe: takes the cost whatever the bucket holds, which then owes the rest (for work already
  // done), and says true. nowMs: wall-clock milliseconds. Only for a database that shares rate
  // limits.
  virtual bool TakeTokens(std::string_view bucket, std::string_view client, const RateRule& rule, double cost,
                          int64_t nowMs, bool owe) {
    (void)bucket, (void)client, (void)rule, (void)cost, (void)nowMs, (void)owe;
    return true;
  }
  // Forgets the buckets that are full again by nowMs: they are as good as none.
  virtual void ForgetFullBuckets(int64_t nowMs) { (void)nowMs; }
};

// "sqlite:PATH" (or a bare path) or "postgresql://..." / "postgres://..."; applies the migrations.
// Throws std::runtime_error with a clear sentence when it cannot open the database.
std::unique_ptr<ScoreStore> OpenStore(const std::string& url);

}  // namespace sf::scores
