#include "SqliteStore.h"

#include <sqlite3.h>

#include <exception>
#include <utility>

#include "StoreSql.h"

namespace sf::scores {

namespace {

[[noreturn]] void Fail(sqlite3* db, const char* what) {
  throw StoreUnavailable(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "no database"));
}

void Exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw StoreUnavailable(std::string("database: ") + message);
  }
}

// One prepared statement; binds count from 1, columns from 0.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail(db, "prepare");
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int i, int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
  }
  Statement& Bind(int i, std::string_view v) {
    sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindBlob(int i, const std::vector<uint8_t>& v) {
    sqlite3_bind_blob(stmt_, i, v.empty() ? "" : static_cast<const void*>(v.data()), static_cast<int>(v.size()),
                      SQLITE_TRANSIENT);
    return *this;
  }
  // True while there is a row.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, "step");
  }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  void Run() {
    while (Step()) {
    }
  }
  int64_t Int(int c) const { return sqlite3_column_int64(stmt_, c); }
  bool IsNull(int c) const { return sqlite3_column_type(stmt_, c) == SQLITE_NULL; }
  std::string Text(int c) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, c))) : std::string();
  }
  std::vector<uint8_t> Blob(int c) const {
    const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(stmt_, c));
    return p ? std::vector<uint8_t>(p, p + sqlite3_column_bytes(stmt_, c)) : std::vector<uint8_t>();
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

sqlite3* OpenConnection(const std::string& path, bool reader) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw std::runtime_error("cannot open the database " + path + ": " + message);
  }
  sqlite3_busy_timeout(db, 5000);
  try {
    Exec(db, "PRAGMA foreign_keys=ON");
    if (reader) {
      Exec(db, "PRAGMA query_only=ON");
    } else {
      // WAL keeps readers and the writer apart; FULL syncs the log at every commit, so an
      // acknowledged result survives a power cut.
      Exec(db, "PRAGMA journal_mode=WAL");
      Exec(db, "PRAGMA synchronous=FULL");
    }
  } catch (const std::exception& e) {
    sqlite3_close(db);
    throw std::runtime_error("cannot open the database " + path + ": " + e.what());
  }
  return db;
}

StoredResult ReadResult(const Statement& s) {
  StoredResult r;
  r.Id = s.Int(0);
  r.Time = s.Int(1);
  r.Score = static_cast<int32_t>(s.Int(2));
  r.Name = s.Text(3);
  r.PlayerName = s.Text(4);
  r.Verified = s.Int(5) != 0;
  r.HasReplay = !s.IsNull(6);
  if (r.HasReplay) r.Replay = ParseReplayState(s.Text(6));
  r.ReplayError = s.Text(7);
  r.Rank = s.Int(8);
  return r;
}

// The listing's count from the kept counts: over all time, or since the start of a day.
int64_t CountFromTotals(sqlite3* db, std::optional<bool> verified, int64_t since) {
  const bool allTime = since <= kAllTime;
  Statement count(db, TotalSql(SqlDialect::Sqlite, verified, allTime).c_str());
  if (!allTime) count.Bind(1, DayOf(since));
  count.Step();
  return count.Int(0);
}

// Counted row by row, for a period that does not start with a day.
int64_t CountRows(sqlite3* db, std::optional<bool> verified, int64_t since) {
  Statement count(db, ("SELECT COUNT(*) FROM results WHERE " + PeriodCondition(SqlDialect::Sqlite, false) +
                       ViewCondition(SqlDialect::Sqlite, verified))
                          .c_str());
  count.Bind(1, since).Step();
  return count.Int(0);
}

int64_t CountListed(sqlite3* db, std::optional<bool> verified, int64_t since) {
  return since <= kAllTime || IsStartOfDay(since) ? CountFromTotals(db, verified, since)
                                                  : CountRows(db, verified, since);
}

}  // namespace

SqliteStore::SqliteStore(const std::string& path) : path_(path), memory_(path == ":memory:") {
  writer_ = OpenConnection(path_, false);
  try {
    const auto migrations = SqliteMigrations();
    Exec(writer_, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    for (size_t i = 0; i < migrations.size(); ++i) {
      const int version = static_cast<int>(i) + 1;
      Exec(writer_, "BEGIN IMMEDIATE");
      Statement current(writer_, "SELECT COALESCE(MAX(version), 0) FROM schema_version");
      current.Step();
      if (current.Int(0) < version) {
        Exec(writer_, migrations[i]);
        Statement(writer_, "INSERT INTO schema_version (version) VALUES (?)").Bind(1, version).Run();
      }
      Exec(writer_, "COMMIT");
    }
  } catch (const std::exception& e) {
    sqlite3_close(writer_);
    throw std::runtime_error("cannot set up the database " + path_ + ": " + e.what());
  }
  writerThread_ = std::thread([this] { WriterLoop(); });
}

SqliteStore::~SqliteStore() {
  {
    std::lock_guard lock(jobsMutex_);
    stopping_ = true;
  }
  jobsReady_.notify_all();
  writerThread_.join();
  for (sqlite3* db : idleReaders_) sqlite3_close(db);
  sqlite3_close(writer_);
}

void SqliteStore::Write(std::function<void(sqlite3*)> work) {
  Job job{std::move(work), {}};
  std::future<void> done = job.Done.get_future();
  {
    std::lock_guard lock(jobsMutex_);
    jobs_.push_back(std::move(job));
  }
  jobsReady_.notify_one();
  done.get();  // rethrows the job's failure or the commit's
}

void SqliteStore::WriterLoop() {
  std::vector<Job> batch;
  while (true) {
    {
      std::unique_lock lock(jobsMutex_);
      jobsReady_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      batch.swap(jobs_);
    }
    std::vector<std::exception_ptr> errors(batch.size());
    std::exception_ptr batchError;
    try {
      Exec(writer_, "BEGIN IMMEDIATE");
      for (size_t i = 0; i < batch.size() && !batchError; ++i) {
        Exec(writer_, "SAVEPOINT job");
        try {
          batch[i].Work(writer_);
          Exec(writer_, "RELEASE job");
        } catch (...) {
          errors[i] = std::current_exception();
          if (sqlite3_get_autocommit(writer_)) {
            // The database rolled the whole transaction back (disk full, I/O error): every job of
            // the batch is undone.
            batchError = errors[i];
          } else {
            Exec(writer_, "ROLLBACK TO job");
            Exec(writer_, "RELEASE job");
          }
        }
      }
      if (!batchError) Exec(writer_, "COMMIT");
    } catch (...) {
      batchError = std::current_exception();
    }
    if (batchError && !sqlite3_get_autocommit(writer_)) sqlite3_exec(writer_, "ROLLBACK", nullptr, nullptr, nullptr);
    for (size_t i = 0; i < batch.size(); ++i) {
      if (batchError)
        batch[i].Done.set_exception(batchError);
      else if (errors[i])
        batch[i].Done.set_exception(errors[i]);
      else
        batch[i].Done.set_value();
    }
    batch.clear();
  }
}

void SqliteStore::Read(const std::function<void(sqlite3*)>& work) {
  if (memory_) {  // one connection holds the whole database
    Write(work);
    return;
  }
  sqlite3* db = nullptr;
  {
    std::lock_guard lock(readersMutex_);
    if (!idleReaders_.empty()) {
      db = idleReaders_.back();
      idleReaders_.pop_back();
    }
  }
  if (!db) {
    try {
      db = OpenConnection(path_, true);
    } catch (const std::exception& e) {
      throw StoreUnavailable(e.what());
    }
  }
  struct GiveBack {
    SqliteStore* self;
    sqlite3* db;
    ~GiveBack() {
      std::lock_guard lock(self->readersMutex_);
      self->idleReaders_.push_back(db);
    }
  } giveBack{this, db};
  work(db);
}

int SqliteStore::SchemaVersion() {
  int64_t version = 0;
  Read([&](sqlite3* db) {
    Statement s(db, "SELECT COALESCE(MAX(version), 0) FROM schema_version");
    s.Step();
    version = s.Int(0);
  });
  return static_cast<int>(version);
}

void SqliteStore::IssueToken(std::string_view token, std::string_view session, int64_t now) {
  Write([&](sqlite3* db) {
    Statement(db, "INSERT INTO tokens (token, session, issued) VALUES (?, ?, ?)")
        .Bind(1, token)
        .Bind(2, session)
        .Bind(3, now)
        .Run();
  });
}

SubmitOutcome SqliteStore::Submit(const NewSubmission& s) {
  SubmitOutcome outcome;
  Write([&](sqlite3* db) {
    outcome = SubmitOutcome{};
    Statement token(db, "SELECT session, issued, result_id FROM tokens WHERE token = ?");
    token.Bind(1, s.Token);
    if (!token.Step() || token.Text(0) != s.Session || token.Int(1) < s.Now - kTokenLifetimeSeconds) return;
    if (!token.IsNull(2)) {
      // A spent token counts again only for the very result it was spent on (a retried request).
      Statement same(db, "SELECT 1 FROM results WHERE id = ? AND name = ? AND score = ? AND player = ?");
      if (same.Bind(1, token.Int(2)).Bind(2, s.Name).Bind(3, s.Score).Bind(4, s.PlayerName).Step())
        outcome = {SubmitStatus::Duplicate, token.Int(2)};
      return;
    }
    Statement earlier(db,
                      "SELECT id FROM results WHERE session = ? AND time >= ? AND name = ? AND score = ? AND "
                      "player = ? ORDER BY id LIMIT 1");
    earlier.Bind(1, s.Session)
        .Bind(2, s.Now - kDuplicateWindowSeconds)
        .Bind(3, s.Name)
        .Bind(4, s.Score)
        .Bind(5, s.PlayerName);
    if (earlier.Step()) {
      outcome = {SubmitStatus::Duplicate, earlier.Int(0)};
    } else {
      Statement(db, "INSERT INTO results (time, score, name, player, session) VALUES (?, ?, ?, ?, ?)")
          .Bind(1, s.Now)
          .Bind(2, s.Score)
          .Bind(3, s.Name)
          .Bind(4, s.PlayerName)
          .Bind(5, s.Session)
          .Run();
      outcome = {SubmitStatus::Stored, sqlite3_last_insert_rowid(db)};
    }
    Statement(db, "UPDATE tokens SET result_id = ? WHERE token = ?").Bind(1, outcome.ResultId).Bind(2, s.Token).Run();
  });
  return outcome;
}

int64_t SqliteStore::Import(const std::vector<StoredResult>& results) {
  Write([&](sqlite3* db) {
    Statement insert(db, "INSERT INTO results (time, score, name, player) VALUES (?, ?, ?, ?)");
    for (const StoredResult& r : results) {
      insert.Reset();
      insert.Bind(1, r.Time).Bind(2, r.Score).Bind(3, r.Name).Bind(4, r.PlayerName).Run();
    }
  });
  return static_cast<int64_t>(results.size());
}

ResultPage SqliteStore::List(const ListQuery& q) {
  ResultPage page;
  const std::string pattern = LikePattern(q.NameContains);
  const bool search = !pattern.empty();
  const bool allTime = q.Since <= kAllTime;
  const std::string list = ListSql(SqlDialect::Sqlite, q.Verified, search, allTime);
  Read([&](sqlite3* db) {
    page = ResultPage{};
    // The rows and their count from one snapshot (in memory, the writer's transaction is one).
    const bool own = sqlite3_get_autocommit(db) != 0;
    if (own) Exec(db, "BEGIN");
    struct End {
      sqlite3* db;
      bool own;
      ~End() {
        if (own) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      }
    } end{db, own};
    if (search) {
      Statement count(db, SearchCountSql(SqlDialect::Sqlite, q.Verified, allTime).c_str());
      count.Bind(1, q.Since).Bind(2, pattern).Step();
      page.Total = count.Int(0);
    } else {
      page.Total = CountListed(db, q.Verified, q.Since);
    }
    if (q.Offset >= page.Total) return;  // past the end: nothing to walk through
    Statement rows(db, list.c_str());
    if (search) {
      rows.Bind(1, q.Since).Bind(2, pattern).Bind(3, q.Limit).Bind(4, q.Offset);
    } else {
      rows.Bind(1, q.Since).Bind(2, q.Limit).Bind(3, q.Offset);
    }
    while (rows.Step()) page.Results.push_back(ReadResult(rows));
  });
  return page;
}

int64_t SqliteStore::Count(std::optional<bool> verified, int64_t since) {
  int64_t n = 0;
  Read([&](sqlite3* db) { n = CountListed(db, verified, since); });
  return n;
}

ListingVersion SqliteStore::Version() {
  ListingVersion v;
  Read([&](sqlite3* db) {
    Statement s(db, kVersionSql);
    while (s.Step()) (s.Int(0) != 0 ? v.Verified : v.Unverified) = s.Int(1);
  });
  return v;
}

std::optional<StoredResult> SqliteStore::Find(int64_t id) {
  std::optional<StoredResult> found;
  Read([&](sqlite3* db) {
    Statement s(db, FindSql(SqlDialect::Sqlite).c_str());
    if (!s.Bind(1, id).Step()) return;
    found = ReadResult(s);
    if (const auto facts = ParseHeaderFacts(s.Text(9))) found->Steps = facts->Steps, found->Level = facts->Level;
  });
  return found;
}

int64_t SqliteStore::VerifiedRank(int32_t score, int64_t time, int64_t id) {
  int64_t rank = 0;
  Read([&](sqlite3* db) {
    Statement s(db, VerifiedRankSql(SqlDialect::Sqlite).c_str());
    s.Bind(1, score).Bind(2, time).Bind(3, id).Step();
    rank = s.Int(0);
  });
  return rank;
}

bool SqliteStore::Remove(int64_t id) {
  bool removed = false;
  Write([&](sqlite3* db) {
    Statement(db, "DELETE FROM replays WHERE result_id = ?").Bind(1, id).Run();
    Statement(db, "DELETE FROM results WHERE id = ?").Bind(1, id).Run();
    removed = sqlite3_changes(db) > 0;
  });
  return removed;
}

bool SqliteStore::Ping() {
  try {
    Read([](sqlite3* db) { Statement(db, "SELECT COUNT(*) FROM schema_version").Run(); });
    return true;
  } catch (const StoreUnavailable&) {
    return false;
  }
}

void SqliteStore::Prune(int64_t now, int64_t keepUnverifiedSeconds) {
  Write([&](sqlite3* db) {
    Statement(db, "DELETE FROM tokens WHERE issued < ?").Bind(1, now - kReplayWindowSeconds).Run();
    Statement(db, "DELETE FROM upload_days WHERE day < ?").Bind(1, DayOf(now) - 1).Run();
  });
  if (keepUnverifiedSeconds <= 0) return;
  Write([&](sqlite3* db) {
    Statement(db, ExpiredResultsSql(SqlDialect::Sqlite).c_str())
        .Bind(1, now - keepUnverifiedSeconds)
        .Bind(2, kPruneBatch)
        .Run();
  });
}

namespace {

// The token's result when this session may attach a replay to it now; status says why not.
int64_t ReplayTarget(sqlite3* db, std::string_view token, std::string_view session, int64_t now, AttachStatus& status) {
  status = AttachStatus::BadToken;
  Statement t(db, "SELECT session, issued, result_id FROM tokens WHERE token = ?");
  t.Bind(1, token);
  if (!t.Step() || t.Text(0) != session || t.IsNull(2) || t.Int(1) < now - kReplayWindowSeconds) return 0;
  const int64_t id = t.Int(2);
  status = Statement(db, "SELECT 1 FROM replays WHERE result_id = ?").Bind(1, id).Step()
               ? AttachStatus::AlreadyHasReplay
               : AttachStatus::Stored;
  return id;
}

}  // namespace

AttachStatus SqliteStore::AttachReplay(std::string_view token, std::string_view session,
                                       const std::vector<uint8_t>& file, int64_t now, int64_t* resultId,
                                       const UploadQuota* quota) {
  AttachStatus status = AttachStatus::BadToken;
  Write([&](sqlite3* db) {
    const int64_t id = ReplayTarget(db, token, session, now, status);
    if (id && resultId) *resultId = id;
    if (status != AttachStatus::Stored) return;
    if (quota && quota->BytesPerDay > 0 &&
        !Statement(db, AddUploadBytesSql(SqlDialect::Sqlite).c_str())
             .Bind(1, quota->Client)
             .Bind(2, DayOf(now))
             .Bind(3, static_cast<int64_t>(file.size()))
             .Bind(4, quota->BytesPerDay)
             .Step()) {
      status = AttachStatus::OverQuota;
      return;
    }
    Statement(db, "INSERT INTO replays (result_id, data, state, received) VALUES (?, ?, 'pending', ?)")
        .Bind(1, id)
        .BindBlob(2, file)
        .Bind(3, now)
        .Run();
  });
  return status;
}

AttachStatus SqliteStore::CanAttachReplay(std::string_view token, std::string_view session, int64_t now) {
  AttachStatus status = AttachStatus::BadToken;
  Read([&](sqlite3* db) { ReplayTarget(db, token, session, now, status); });
  return status;
}

std::optional<ClaimedReplay> SqliteStore::ClaimReplay(int64_t now) {
  std::optional<ClaimedReplay> claimed;
  Write([&](sqlite3* db) {
    claimed.reset();
    Statement s(db,
                "SELECT p.result_id, r.score, r.name, p.data FROM replays p JOIN results r ON r.id = p.result_id "
                "WHERE p.state = 'pending' AND (p.claimed_at IS NULL OR p.claimed_at < ?) "
                "ORDER BY p.received, p.result_id LIMIT 1");
    if (!s.Bind(1, now - kReplayClaimSeconds).Step()) return;
    claimed = ClaimedReplay{s.Int(0), static_cast<int32_t>(s.Int(1)), s.Text(2), s.Blob(3)};
    Statement(db, "UPDATE replays SET claimed_at = ? WHERE result_id = ?").Bind(1, now).Bind(2, s.Int(0)).Run();
  });
  return claimed;
}

namespace {

// Claims a game for a result; the result that holds it already when that is another, else 0.
int64_t ClaimGame(sqlite3* db, int64_t resultId, std::string_view fingerprint) {
  Statement(db,
            "INSERT INTO verified_games (fingerprint, result_id) VALUES (?, ?) ON CONFLICT (fingerprint) DO NOTHING")
      .Bind(1, fingerprint)
      .Bind(2, resultId)
      .Run();
  if (sqlite3_changes(db) > 0) return 0;
  Statement holder(db, "SELECT result_id FROM verified_games WHERE fingerprint = ?");
  holder.Bind(1, fingerprint).Step();
  return holder.Int(0) == resultId ? 0 : holder.Int(0);
}

}  // namespace

int64_t SqliteStore::FinishReplay(int64_t resultId, bool verified, std::string_view error,
                                  std::string_view fingerprint) {
  int64_t holder = 0;
  Write([&](sqlite3* db) {
    holder = verified && !fingerprint.empty() ? ClaimGame(db, resultId, fingerprint) : 0;
    const bool ok = verified && holder == 0;
    const std::string why = holder ? SameGameSentence(holder) : std::string(error);
    Statement update(db,
                     "UPDATE replays SET state = ?, error = ?, fingerprint = ?,"
                     " data = CASE WHEN ? THEN data ELSE X'' END WHERE result_id = ?");
    update.Bind(1, ok ? "verified" : "rejected").Bind(2, why);
    if (!fingerprint.empty()) update.Bind(3, fingerprint);
    update.Bind(4, ok ? 1 : 0).Bind(5, resultId).Run();
    Statement(db, "UPDATE results SET verified = ? WHERE id = ?").Bind(1, ok ? 1 : 0).Bind(2, resultId).Run();
  });
  return holder;
}

std::vector<UnfingerprintedReplay> SqliteStore::VerifiedWithoutFingerprint(int64_t afterId, int limit) {
  std::vector<UnfingerprintedReplay> out;
  Read([&](sqlite3* db) {
    out.clear();
    Statement s(db,
                "SELECT result_id, data FROM replays WHERE state = 'verified' AND fingerprint IS NULL AND result_id > ?"
                " ORDER BY result_id LIMIT ?");
    s.Bind(1, afterId).Bind(2, limit);
    while (s.Step()) out.push_back({s.Int(0), s.Blob(1)});
  });
  return out;
}

void SqliteStore::SetFingerprint(int64_t resultId, std::string_view fingerprint) {
  Write([&](sqlite3* db) {
    if (!fingerprint.empty()) ClaimGame(db, resultId, fingerprint);
    Statement(db, "UPDATE replays SET fingerprint = ? WHERE result_id = ?")
        .Bind(1, fingerprint)
        .Bind(2, resultId)
        .Run();
  });
}

StoreSizes SqliteStore::Sizes() {
  StoreSizes sizes;
  Read([&](sqlite3* db) {
    Statement s(db,
                "SELECT (SELECT COALESCE(SUM(n), 0) FROM result_totals),"
                " (SELECT COALESCE(SUM(n), 0) FROM result_totals WHERE verified = 1),"
                " (SELECT COUNT(*) FROM replays), (SELECT COALESCE(SUM(length(data)), 0) FROM replays),"
                " (SELECT COUNT(*) FROM tokens), (SELECT COUNT(*) FROM verified_games)");
    s.Step();
    sizes = StoreSizes{s.Int(0), s.Int(1), s.Int(2), s.Int(3), s.Int(4), s.Int(5), 0};
    Statement pages(db, "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
    if (pages.Step()) sizes.DatabaseBytes = pages.Int(0);
  });
  return sizes;
}

std::optional<std::vector<uint8_t>> SqliteStore::ReplayFile(int64_t resultId) {
  std::optional<std::vector<uint8_t>> file;
  Read([&](sqlite3* db) {
    Statement s(db, "SELECT data FROM replays WHERE result_id = ?");
    if (s.Bind(1, resultId).Step()) file = s.Blob(0);
  });
  return file;
}

std::optional<ReplayState> SqliteStore::ReplayStateOf(int64_t resultId) {
  std::optional<ReplayState> state;
  Read([&](sqlite3* db) {
    Statement s(db, "SELECT state FROM replays WHERE result_id = ?");
    if (s.Bind(1, resultId).Step()) state = ParseReplayState(s.Text(0));
  });
  return state;
}

}  // namespace sf::scores
