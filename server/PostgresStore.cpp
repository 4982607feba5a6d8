#include "PostgresStore.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "StoreSql.h"

namespace sf::scores {

namespace {

// A query's result, freed at the end of its scope.
class Result {
 public:
  explicit Result(PGresult* r) : r_(r) {}
  ~Result() { PQclear(r_); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  int Rows() const { return PQntuples(r_); }
  bool IsNull(int row, int col) const { return PQgetisnull(r_, row, col) != 0; }
  std::string Text(int row, int col) const {
    return std::string(PQgetvalue(r_, row, col), static_cast<size_t>(PQgetlength(r_, row, col)));
  }
  int64_t Int(int row, int col) const { return std::stoll(PQgetvalue(r_, row, col)); }
  bool Bool(int row, int col) const { return PQgetvalue(r_, row, col)[0] == 't'; }
  std::vector<uint8_t> Bytes(int row, int col) const {
    const auto* p = reinterpret_cast<const uint8_t*>(PQgetvalue(r_, row, col));
    return std::vector<uint8_t>(p, p + PQgetlength(r_, row, col));
  }

 private:
  PGresult* r_;
};

// A double as text that reads back as the same double.
std::string Exact(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

// A parameter: text, or binary bytes.
struct Param {
  std::string Value;
  bool Binary = false;
  Param(std::string_view v) : Value(v) {}         // NOLINT: parameters read naturally as values
  Param(const char* v) : Value(v) {}              // NOLINT
  Param(int64_t v) : Value(std::to_string(v)) {}  // NOLINT
  Param(int32_t v) : Value(std::to_string(v)) {}  // NOLINT
  Param(double v) : Value(Exact(v)) {}            // NOLINT
  Param(const std::vector<uint8_t>& bytes) : Value(bytes.begin(), bytes.end()), Binary(true) {}  // NOLINT
};

// libpq's messages end in a line break.
std::string Trimmed(std::string message) {
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  return message;
}

// A statement that did not complete: its result is released and the database is unavailable.
void ThrowUnlessDone(PGconn* conn, PGresult* r) {
  const ExecStatusType status = PQresultStatus(r);
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return;
  std::string message = r ? PQresultErrorMessage(r) : PQerrorMessage(conn);
  PQclear(r);
  throw StoreUnavailable("database: " + Trimmed(message));
}

Result Query(PGconn* conn, const char* sql, std::initializer_list<Param> params = {}) {
  std::vector<const char*> values;
  std::vector<int> lengths, formats;
  for (const Param& p : params) {
    values.push_back(p.Value.data());
    lengths.push_back(static_cast<int>(p.Value.size()));
    formats.push_back(p.Binary ? 1 : 0);
  }
  PGresult* r = PQexecParams(conn, sql, static_cast<int>(values.size()), nullptr, values.data(), lengths.data(),
                             formats.data(), 0);
  ThrowUnlessDone(conn, r);
  return Result(r);
}

// Statements without parameters; several may be given at once (migrations).
void Exec(PGconn* conn, const char* sql) {
  PGresult* r = PQexec(conn, sql);
  ThrowUnlessDone(conn, r);
  PQclear(r);
}

PGconn* Connect(const std::string& conninfo) {
  // A dead server must not hold a request for long: the reply is then a quick 503.
  const char* keys[] = {"dbname", "connect_timeout", nullptr};
  const char* values[] = {conninfo.c_str(), "2", nullptr};
  PGconn* conn = PQconnectdbParams(keys, values, 1);
  if (PQstatus(conn) != CONNECTION_OK) {
    std::string message = PQerrorMessage(conn);
    PQfinish(conn);
    throw StoreUnavailable("cannot connect to the database: " + Trimmed(message));
  }
  // Results are acknowledged only once their commit is on disk.
  Exec(conn, "SET synchronous_commit = on");
  Exec(conn, "SET client_min_messages = warning");
  return conn;
}

// bytea comes back as hex text unless asked for in binary: read the replay bytes as they are.
std::optional<std::vector<uint8_t>> ReplayData(PGconn* c, int64_t resultId) {
  const std::string id = std::to_string(resultId);
  const char* values[] = {id.c_str()};
  PGresult* raw =
      PQexecParams(c, "SELECT data FROM replays WHERE result_id = $1", 1, nullptr, values, nullptr, nullptr, 1);
  if (PQresultStatus(raw) != PGRES_TUPLES_OK) {
    PQclear(raw);
    throw StoreUnavailable(std::string("database: ") + PQerrorMessage(c));
  }
  const Result r(raw);
  if (r.Rows() == 0) return std::nullopt;
  return r.Bytes(0, 0);
}

StoredResult ReadResult(const Result& r, int row) {
  StoredResult s;
  s.Id = r.Int(row, 0);
  s.Time = r.Int(row, 1);
  s.Score = static_cast<int32_t>(r.Int(row, 2));
  s.Name = r.Text(row, 3);
  s.PlayerName = r.Text(row, 4);
  s.Verified = r.Bool(row, 5);
  s.HasReplay = !r.IsNull(row, 6);
  if (s.HasReplay) s.Replay = ParseReplayState(r.Text(row, 6));
  s.ReplayError = r.Text(row, 7);
  s.Rank = r.Int(row, 8);
  return s;
}

int64_t CountListed(PGconn* c, std::optional<bool> verified, int64_t since) {
  if (since <= kAllTime) return Query(c, TotalSql(SqlDialect::Postgres, verified, true).c_str()).Int(0, 0);
  if (IsStartOfDay(since))
    return Query(c, TotalSql(SqlDialect::Postgres, verified, false).c_str(), {DayOf(since)}).Int(0, 0);
  // A period that does not start with a day: counted row by row.
  const std::string sql = "SELECT COUNT(*) FROM results WHERE " + PeriodCondition(SqlDialect::Postgres, false) +
                          ViewCondition(SqlDialect::Postgres, verified);
  return Query(c, sql.c_str(), {since}).Int(0, 0);
}

}  // namespace

template <typename Work>
auto PostgresStore::With(bool transactional, Work&& work) {
  PGconn* conn = Acquire();
  struct Returner {
    PostgresStore* self;
    PGconn* conn;
    ~Returner() { self->Release(conn); }
  } returner{this, conn};
  if (!transactional) return work(conn);
  Exec(conn, "BEGIN");
  try {
    if constexpr (std::is_void_v<decltype(work(conn))>) {
      work(conn);
      Exec(conn, "COMMIT");
    } else {
      auto value = work(conn);
      Exec(conn, "COMMIT");
      return value;
    }
  } catch (...) {
    if (PQstatus(conn) == CONNECTION_OK) PQclear(PQexec(conn, "ROLLBACK"));
    throw;
  }
}

PostgresStore::PostgresStore(std::string conninfo, int poolSize)
    : conninfo_(std::move(conninfo)), poolSize_(poolSize < 1 ? 1 : poolSize) {
  try {
    With(true, [](PGconn* c) {
      // One instance migrates at a time; the others wait here and then find nothing to do.
      Exec(c, "SELECT pg_advisory_xact_lock(87651)");
      Exec(c, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
      const Result current = Query(c, "SELECT COALESCE(MAX(version), 0) FROM schema_version");
      const auto migrations = PostgresMigrations();
      for (size_t i = static_cast<size_t>(current.Int(0, 0)); i < migrations.size(); ++i) {
        Exec(c, migrations[i]);
        Query(c, "INSERT INTO schema_version (version) VALUES ($1)", {static_cast<int64_t>(i + 1)});
      }
    });
  } catch (const StoreUnavailable& e) {
    for (PGconn* c : idle_) PQfinish(c);
    throw std::runtime_error(std::string("cannot set up the database: ") + e.what());
  }
}

PostgresStore::~PostgresStore() {
  for (PGconn* c : idle_) PQfinish(c);
}

PGconn* PostgresStore::Acquire() {
  {
    std::unique_lock lock(mutex_);
    if (!released_.wait_for(lock, std::chrono::seconds(5), [&] { return !idle_.empty() || open_ < poolSize_; }))
      throw StoreUnavailable("every database connection is busy");
    if (!idle_.empty()) {
      PGconn* c = idle_.back();
      idle_.pop_back();
      return c;
    }
    ++open_;
  }
  try {
    return Connect(conninfo_);
  } catch (...) {
    std::lock_guard lock(mutex_);
    --open_;
    released_.notify_one();
    throw;
  }
}

void PostgresStore::Release(PGconn* conn) {
  std::lock_guard lock(mutex_);
  if (conn && PQstatus(conn) == CONNECTION_OK && PQtransactionStatus(conn) == PQTRANS_IDLE) {
    idle_.push_back(conn);
  } else {
    PQfinish(conn);  // broken or left inside a transaction: the next call opens a fresh one
    --open_;
  }
  released_.notify_one();
}

int PostgresStore::SchemaVersion() {
  return With(false, [](PGconn* c) {
    return static_cast<int>(Query(c, "SELECT COALESCE(MAX(version), 0) FROM schema_version").Int(0, 0));
  });
}

void PostgresStore::IssueToken(std::string_view token, std::string_view session, int64_t now) {
  With(false, [&](PGconn* c) {
    Query(c, "INSERT INTO tokens (token, session, issued) VALUES ($1, $2, $3)", {token, session, now});
  });
}

SubmitOutcome PostgresStore::Submit(const NewSubmission& s) {
  return With(true, [&](PGconn* c) -> SubmitOutcome {
    // The row lock keeps two submissions of one token from both going through.
    const Result token = Query(c, "SELECT session, issued, result_id FROM tokens WHERE token = $1 FOR UPDATE",
                               {std::string_view(s.Token)});
    if (token.Rows() == 0 || token.Text(0, 0) != s.Session || token.Int(0, 1) < s.Now - kTokenLifetimeSeconds)
      return {};
    if (!token.IsNull(0, 2)) {
      const int64_t id = token.Int(0, 2);
      const Result same = Query(c, "SELECT 1 FROM results WHERE id = $1 AND name = $2 AND score = $3 AND player = $4",
                                {id, std::string_view(s.Name), s.Score, std::string_view(s.PlayerName)});
      if (same.Rows() > 0) return {SubmitStatus::Duplicate, id};
      return {};
    }
    SubmitOutcome outcome;
    const Result earlier =
        Query(c,
              "SELECT id FROM results WHERE session = $1 AND time >= $2 AND name = $3 AND score = $4 AND player = $5 "
              "ORDER BY id LIMIT 1",
              {std::string_view(s.Session), s.Now - kDuplicateWindowSeconds, std::string_view(s.Name), s.Score,
               std::string_view(s.PlayerName)});
    if (earlier.Rows() > 0) {
      outcome = {SubmitStatus::Duplicate, earlier.Int(0, 0)};
    } else {
      const Result inserted = Query(
          c, "INSERT INTO results (time, score, name, player, session) VALUES ($1, $2, $3, $4, $5) RETURNING id",
          {s.Now, s.Score, std::string_view(s.Name), std::string_view(s.PlayerName), std::string_view(s.Session)});
      outcome = {SubmitStatus::Stored, inserted.Int(0, 0)};
    }
    Query(c, "UPDATE tokens SET result_id = $1 WHERE token = $2", {outcome.ResultId, std::string_view(s.Token)});
    return outcome;
  });
}

int64_t PostgresStore::Import(const std::vector<StoredResult>& results) {
  With(true, [&](PGconn* c) {
    for (const StoredResult& r : results)
      Query(c, "INSERT INTO results (time, score, name, player) VALUES ($1, $2, $3, $4)",
            {r.Time, r.Score, std::string_view(r.Name), std::string_view(r.PlayerName)});
  });
  return static_cast<int64_t>(results.size());
}

ResultPage PostgresStore::List(const ListQuery& q) {
  const std::string pattern = LikePattern(q.NameContains);
  const bool search = !pattern.empty();
  const bool allTime = q.Since <= kAllTime;
  const std::string list = ListSql(SqlDialect::Postgres, q.Verified, search, allTime);
  return With(true, [&](PGconn* c) {  // one snapshot for the rows and their count
    Exec(c, "SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY");
    ResultPage page;
    const std::string_view like(pattern);
    page.Total =
        search ? Query(c, SearchCountSql(SqlDialect::Postgres, q.Verified, allTime).c_str(), {q.Since, like}).Int(0, 0)
               : CountListed(c, q.Verified, q.Since);
    if (q.Offset >= page.Total) return page;  // past the end: nothing to walk through
    const Result rows = search ? Query(c, list.c_str(), {q.Since, like, q.Limit, q.Offset})
                               : Query(c, list.c_str(), {q.Since, q.Limit, q.Offset});
    for (int i = 0; i < rows.Rows(); ++i) page.Results.push_back(ReadResult(rows, i));
    return page;
  });
}

int64_t PostgresStore::Count(std::optional<bool> verified, int64_t since) {
  return With(false, [&](PGconn* c) { return CountListed(c, verified, since); });
}

ListingVersion PostgresStore::Version() {
  return With(false, [&](PGconn* c) {
    ListingVersion v;
    const Result r = Query(c, kVersionSql);
    for (int i = 0; i < r.Rows(); ++i) (r.Bool(i, 0) ? v.Verified : v.Unverified) = r.Int(i, 1);
    return v;
  });
}

bool PostgresStore::TakeTokens(std::string_view bucket, std::string_view client, const RateRule& rule, double cost,
                               int64_t nowMs, bool owe) {
  if (rule.PerMinute <= 0) return true;
  const double perMs = rule.PerMinute / 60000.0;
  const double burst = std::max(1.0, rule.Burst);
  // One statement: the bucket refilled up to now, then the cost taken when it holds enough (or is
  // full, for a cost above the burst); a client seen for the first time starts full. full_ms says
  // when the bucket is full again, so that pruning forgets only buckets as good as new. Unlogged:
  // no WAL, so no wait for a disk.
  return With(false, [&](PGconn* c) {
    constexpr const char* kRefilled =
        "LEAST($3::float8, b.tokens + GREATEST(0, $4::bigint - b.updated_ms) * $6::float8)";
    const std::string sql =
        std::string(
            "INSERT INTO rate_buckets AS b (bucket, client, tokens, updated_ms, full_ms) VALUES ($1, $2,"
            " $3::float8 - $5::float8, $4::bigint, $4::bigint + CEIL($5::float8 / $6::float8)::bigint)"
            " ON CONFLICT (bucket, client) DO UPDATE SET tokens = ") +
        kRefilled +
        " - $5::float8, updated_ms = GREATEST(b.updated_ms, $4::bigint), full_ms = GREATEST(b.updated_ms, "
        "$4::bigint) + CEIL(($3::float8 - " +
        kRefilled + " + $5::float8) / $6::float8)::bigint WHERE $7::boolean OR " + kRefilled +
        " >= LEAST($5::float8, $3::float8) RETURNING tokens";
    return Query(c, sql.c_str(), {bucket, client, burst, nowMs, cost, perMs, owe ? "true" : "false"}).Rows() > 0;
  });
}

std::optional<StoredResult> PostgresStore::Find(int64_t id) {
  return With(false, [&](PGconn* c) -> std::optional<StoredResult> {
    const Result r = Query(c, FindSql(SqlDialect::Postgres).c_str(), {id});
    if (r.Rows() == 0) return std::nullopt;
    StoredResult found = ReadResult(r, 0);
    if (const auto facts = ParseHeaderFacts(r.Text(0, 9))) found.Steps = facts->Steps, found.Level = facts->Level;
    return found;
  });
}

int64_t PostgresStore::VerifiedRank(int32_t score, int64_t time, int64_t id) {
  return With(false, [&](PGconn* c) {
    return Query(c, VerifiedRankSql(SqlDialect::Postgres).c_str(), {score, time, id}).Int(0, 0);
  });
}

bool PostgresStore::Remove(int64_t id) {
  return With(true, [&](PGconn* c) {
    Query(c, "DELETE FROM replays WHERE result_id = $1", {id});
    return Query(c, "DELETE FROM results WHERE id = $1 RETURNING id", {id}).Rows() > 0;
  });
}

bool PostgresStore::Ping() {
  try {
    With(false, [](PGconn* c) { Exec(c, "SELECT 1 FROM schema_version LIMIT 1"); });
    return true;
  } catch (const StoreUnavailable&) {
    return false;
  }
}

void PostgresStore::Prune(int64_t now, int64_t keepUnverifiedSeconds) {
  With(false, [&](PGconn* c) {
    Query(c, "DELETE FROM tokens WHERE issued < $1", {now - kReplayWindowSeconds});
    Query(c, "DELETE FROM upload_days WHERE day < $1", {DayOf(now) - 1});
    if (keepUnverifiedSeconds > 0)
      Query(c, ExpiredResultsSql(SqlDialect::Postgres).c_str(), {now - keepUnverifiedSeconds, kPruneBatch});
  });
}

void PostgresStore::ForgetFullBuckets(int64_t nowMs) {
  With(false, [&](PGconn* c) { Query(c, "DELETE FROM rate_buckets WHERE full_ms <= $1", {nowMs}); });
}

namespace {

// The token's result when this session may attach a replay to it now; status says why not. lock:
// the token's row stays locked to the end of the transaction.
int64_t ReplayTarget(PGconn* c, std::string_view token, std::string_view session, int64_t now, bool lock,
                     AttachStatus& status) {
  status = AttachStatus::BadToken;
  const Result t = Query(c,
                         lock ? "SELECT session, issued, result_id FROM tokens WHERE token = $1 FOR UPDATE"
                              : "SELECT session, issued, result_id FROM tokens WHERE token = $1",
                         {token});
  if (t.Rows() == 0 || t.Text(0, 0) != session || t.IsNull(0, 2) || t.Int(0, 1) < now - kReplayWindowSeconds) return 0;
  const int64_t id = t.Int(0, 2);
  status = Query(c, "SELECT 1 FROM replays WHERE result_id = $1", {id}).Rows() > 0 ? AttachStatus::AlreadyHasReplay
                                                                                   : AttachStatus::Stored;
  return id;
}

}  // namespace

AttachStatus PostgresStore::AttachReplay(std::string_view token, std::string_view session,
                                         const std::vector<uint8_t>& file, int64_t now, int64_t* resultId,
                                         const UploadQuota* quota) {
  return With(true, [&](PGconn* c) {
    AttachStatus status = AttachStatus::BadToken;
    const int64_t id = ReplayTarget(c, token, session, now, true, status);
    if (id && resultId) *resultId = id;
    if (status != AttachStatus::Stored) return status;
    if (quota && quota->BytesPerDay > 0 &&
        Query(c, AddUploadBytesSql(SqlDialect::Postgres).c_str(),
              {std::string_view(quota->Client), DayOf(now), static_cast<int64_t>(file.size()), quota->BytesPerDay})
                .Rows() == 0)
      return AttachStatus::OverQuota;
    const Result inserted = Query(c,
                                  "INSERT INTO replays (result_id, data, state, received) VALUES ($1, $2, 'pending', "
                                  "$3) ON CONFLICT (result_id) DO NOTHING RETURNING result_id",
                                  {id, file, now});
    return inserted.Rows() > 0 ? AttachStatus::Stored : AttachStatus::AlreadyHasReplay;
  });
}

AttachStatus PostgresStore::CanAttachReplay(std::string_view token, std::string_view session, int64_t now) {
  return With(false, [&](PGconn* c) {
    AttachStatus status = AttachStatus::BadToken;
    ReplayTarget(c, token, session, now, false, status);
    return status;
  });
}

std::optional<ClaimedReplay> PostgresStore::ClaimReplay(int64_t now) {
  return With(true, [&](PGconn* c) -> std::optional<ClaimedReplay> {
    // SKIP LOCKED: instances claiming at the same moment take different replays.
    const Result r = Query(c,
                           "UPDATE replays SET claimed_at = $1 WHERE result_id = (SELECT result_id FROM replays "
                           "WHERE state = 'pending' AND (claimed_at IS NULL OR claimed_at < $2) "
                           "ORDER BY received, result_id LIMIT 1 FOR UPDATE SKIP LOCKED) "
                           "RETURNING result_id, (SELECT score FROM results WHERE id = replays.result_id), "
                           "(SELECT name FROM results WHERE id = replays.result_id)",
                           {now, now - kReplayClaimSeconds});
    if (r.Rows() == 0) return std::nullopt;
    auto data = ReplayData(c, r.Int(0, 0));
    return ClaimedReplay{r.Int(0, 0), static_cast<int32_t>(r.Int(0, 1)), r.Text(0, 2),
                         data ? std::move(*data) : std::vector<uint8_t>{}};
  });
}

namespace {

// Claims a game for a result; the result that holds it already when that is another, else 0. A
// claim by another transaction in flight is waited for.
int64_t ClaimGame(PGconn* c, int64_t resultId, std::string_view fingerprint) {
  if (Query(c,
            "INSERT INTO verified_games (fingerprint, result_id) VALUES ($1, $2) ON CONFLICT (fingerprint) DO NOTHING "
            "RETURNING result_id",
            {fingerprint, resultId})
          .Rows() > 0)
    return 0;
  const int64_t holder =
      Query(c, "SELECT result_id FROM verified_games WHERE fingerprint = $1", {fingerprint}).Int(0, 0);
  return holder == resultId ? 0 : holder;
}

}  // namespace

int64_t PostgresStore::FinishReplay(int64_t resultId, bool verified, std::string_view error,
                                    std::string_view fingerprint) {
  return With(true, [&](PGconn* c) {
    const int64_t holder = verified && !fingerprint.empty() ? ClaimGame(c, resultId, fingerprint) : 0;
    const bool ok = verified && holder == 0;
    const std::string why = holder ? SameGameSentence(holder) : std::string(error);
    Query(c,
          "UPDATE replays SET state = $1, error = $2, fingerprint = NULLIF($3, ''),"
          " data = CASE WHEN $4::boolean THEN data ELSE ''::bytea END WHERE result_id = $5",
          {ok ? "verified" : "rejected", std::string_view(why), fingerprint, ok ? "true" : "false", resultId});
    Query(c, "UPDATE results SET verified = $1 WHERE id = $2", {ok ? "true" : "false", resultId});
    return holder;
  });
}

std::vector<UnfingerprintedReplay> PostgresStore::VerifiedWithoutFingerprint(int64_t afterId, int limit) {
  return With(false, [&](PGconn* c) {
    const Result ids = Query(c,
                             "SELECT result_id FROM replays WHERE state = 'verified' AND fingerprint IS NULL AND "
                             "result_id > $1 ORDER BY result_id LIMIT $2",
                             {afterId, static_cast<int64_t>(limit)});
    std::vector<UnfingerprintedReplay> out;
    for (int i = 0; i < ids.Rows(); ++i) {
      auto data = ReplayData(c, ids.Int(i, 0));
      out.push_back({ids.Int(i, 0), data ? std::move(*data) : std::vector<uint8_t>{}});
    }
    return out;
  });
}

void PostgresStore::SetFingerprint(int64_t resultId, std::string_view fingerprint) {
  With(true, [&](PGconn* c) {
    if (!fingerprint.empty()) ClaimGame(c, resultId, fingerprint);
    Query(c, "UPDATE replays SET fingerprint = $1 WHERE result_id = $2", {fingerprint, resultId});
  });
}

StoreSizes PostgresStore::Sizes() {
  return With(false, [&](PGconn* c) {
    const Result r =
        Query(c,
              "SELECT (SELECT COALESCE(SUM(n), 0) FROM result_totals),"
              " (SELECT COALESCE(SUM(n), 0) FROM result_totals WHERE verified),"
              " (SELECT COUNT(*) FROM replays), (SELECT COALESCE(SUM(octet_length(data)), 0) FROM replays),"
              " (SELECT COUNT(*) FROM tokens), (SELECT COUNT(*) FROM verified_games),"
              " pg_database_size(current_database())");
    return StoreSizes{r.Int(0, 0), r.Int(0, 1), r.Int(0, 2), r.Int(0, 3), r.Int(0, 4), r.Int(0, 5), r.Int(0, 6)};
  });
}

std::optional<std::vector<uint8_t>> PostgresStore::ReplayFile(int64_t resultId) {
  return With(false, [&](PGconn* c) { return ReplayData(c, resultId); });
}

std::optional<ReplayState> PostgresStore::ReplayStateOf(int64_t resultId) {
  return With(false, [&](PGconn* c) -> std::optional<ReplayState> {
    const Result r = Query(c, "SELECT state FROM replays WHERE result_id = $1", {resultId});
    if (r.Rows() == 0) return std::nullopt;
    return ParseReplayState(r.Text(0, 0));
  });
}

}  // namespace sf::scores
