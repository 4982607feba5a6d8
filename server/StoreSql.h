#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ScoreStore.h"

// The schema of both databases, one migration per version, and the queries they share in shape.
namespace sf::scores {

// Migration i (from 0) brings the schema to version i + 1. Never edit a published migration; add one.
inline std::vector<const char*> SqliteMigrations() {
  return {
      // 1: results and one-time tokens
      "CREATE TABLE results (id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT NULL, score INTEGER NOT NULL,"
      " name TEXT NOT NULL, player TEXT NOT NULL, session TEXT NOT NULL DEFAULT '',"
      " verified INTEGER NOT NULL DEFAULT 0);"
      "CREATE INDEX results_rank ON results (score DESC, time, id);"
      "CREATE INDEX results_time ON results (time);"
      "CREATE INDEX results_session ON results (session, time);"
      "CREATE TABLE tokens (token TEXT PRIMARY KEY, session TEXT NOT NULL, issued INTEGER NOT NULL,"
      " result_id INTEGER);"
      "CREATE INDEX tokens_issued ON tokens (issued);",
      // 2: replays and their verification
      "CREATE TABLE replays (result_id INTEGER PRIMARY KEY REFERENCES results (id) ON DELETE CASCADE,"
      " data BLOB NOT NULL, state TEXT NOT NULL DEFAULT 'pending', error TEXT NOT NULL DEFAULT '',"
      " claimed_at INTEGER, received INTEGER NOT NULL);"
      "CREATE INDEX replays_pending ON replays (state, received);",
      // 3: the verified and the unverified views read their best results in rank order
      "CREATE INDEX results_rank_verified ON results (score DESC, time, id) WHERE verified = 1;"
      "CREATE INDEX results_rank_unverified ON results (score DESC, time, id) WHERE verified = 0;",
      // 4: each view's results counted in all and per day as they change, with a count of its
      // changes (replays included) that only grows; one writer, so one shard.
      "CREATE TABLE result_totals (verified INTEGER NOT NULL, shard INTEGER NOT NULL, n INTEGER NOT NULL,"
      " changes INTEGER NOT NULL, PRIMARY KEY (verified, shard));"
      "CREATE TABLE result_days (day INTEGER NOT NULL, verified INTEGER NOT NULL, shard INTEGER NOT NULL,"
      " n INTEGER NOT NULL, PRIMARY KEY (day, verified, shard));"
      "INSERT INTO result_totals SELECT verified, 0, COUNT(*), COUNT(*) FROM results WHERE true GROUP BY verified;"
      "INSERT INTO result_days SELECT time / 86400 - (time % 86400 < 0), verified, 0, COUNT(*) FROM results"
      " WHERE true GROUP BY 1, 2;"
      "CREATE TRIGGER results_counted_insert AFTER INSERT ON results BEGIN"
      " INSERT INTO result_totals VALUES (NEW.verified, 0, 1, 1) ON CONFLICT (verified, shard)"
      "  DO UPDATE SET n = n + 1, changes = changes + 1;"
      " INSERT INTO result_days VALUES (NEW.time / 86400 - (NEW.time % 86400 < 0), NEW.verified, 0, 1)"
      "  ON CONFLICT (day, verified, shard) DO UPDATE SET n = n + 1;"
      " END;"
      "CREATE TRIGGER results_counted_delete AFTER DELETE ON results BEGIN"
      " UPDATE result_totals SET n = n - 1, changes = changes + 1 WHERE verified = OLD.verified AND shard = 0;"
      " UPDATE result_days SET n = n - 1"
      "  WHERE day = OLD.time / 86400 - (OLD.time % 86400 < 0) AND verified = OLD.verified AND shard = 0;"
      " END;"
      "CREATE TRIGGER results_counted_update AFTER UPDATE OF verified, time ON results BEGIN"
      " UPDATE result_totals SET n = n - 1, changes = changes + 1 WHERE verified = OLD.verified AND shard = 0;"
      " UPDATE result_days SET n = n - 1"
      "  WHERE day = OLD.time / 86400 - (OLD.time % 86400 < 0) AND verified = OLD.verified AND shard = 0;"
      " INSERT INTO result_totals VALUES (NEW.verified, 0, 1, 1) ON CONFLICT (verified, shard)"
      "  DO UPDATE SET n = n + 1, changes = changes + 1;"
      " INSERT INTO result_days VALUES (NEW.time / 86400 - (NEW.time % 86400 < 0), NEW.verified, 0, 1)"
      "  ON CONFLICT (day, verified, shard) DO UPDATE SET n = n + 1;"
      " END;"
      "CREATE TRIGGER replays_shown_insert AFTER INSERT ON replays BEGIN"
      " UPDATE result_totals SET changes = changes + 1"
      "  WHERE shard = 0 AND verified = (SELECT verified FROM results WHERE id = NEW.result_id);"
      " END;"
      "CREATE TRIGGER replays_shown_update AFTER UPDATE OF state ON replays BEGIN"
      " UPDATE result_totals SET changes = changes + 1"
      "  WHERE shard = 0 AND verified = (SELECT verified FROM results WHERE id = NEW.result_id);"
      " END;",
      // 5: a game verifies one result: the fingerprint of every verified replay's game, claimed
      // once (kept when its result is removed); refused replays keep their reason, not their
      // bytes; each client's replay bytes a day.
      "ALTER TABLE replays ADD COLUMN fingerprint TEXT;"
      "CREATE INDEX replays_unfingerprinted ON replays (result_id) WHERE state = 'verified' AND fingerprint IS NULL;"
      "CREATE TABLE verified_games (fingerprint TEXT PRIMARY KEY, result_id INTEGER NOT NULL);"
      "UPDATE replays SET data = X'' WHERE state = 'rejected';"
      "CREATE TABLE upload_days (client TEXT NOT NULL, day INTEGER NOT NULL, bytes INTEGER NOT NULL,"
      " PRIMARY KEY (client, day));",
  };
}

inline std::vector<const char*> PostgresMigrations() {
  return {
      "CREATE TABLE results (id BIGSERIAL PRIMARY KEY, time BIGINT NOT NULL, score INTEGER NOT NULL,"
      " name TEXT NOT NULL, player TEXT NOT NULL, session TEXT NOT NULL DEFAULT '',"
      " verified BOOLEAN NOT NULL DEFAULT FALSE);"
      "CREATE INDEX results_rank ON results (score DESC, time, id);"
      "CREATE INDEX results_time ON results (time);"
      "CREATE INDEX results_session ON results (session, time);"
      "CREATE TABLE tokens (token TEXT PRIMARY KEY, session TEXT NOT NULL, issued BIGINT NOT NULL,"
      " result_id BIGINT);"
      "CREATE INDEX tokens_issued ON tokens (issued);",
      "CREATE TABLE replays (result_id BIGINT PRIMARY KEY REFERENCES results (id) ON DELETE CASCADE,"
      " data BYTEA NOT NULL, state TEXT NOT NULL DEFAULT 'pending', error TEXT NOT NULL DEFAULT '',"
      " claimed_at BIGINT, received BIGINT NOT NULL);"
      "CREATE INDEX replays_pending ON replays (state, received);",
      "CREATE INDEX results_rank_verified ON results (score DESC, time, id) WHERE verified;"
      "CREATE INDEX results_rank_unverified ON results (score DESC, time, id) WHERE NOT verified;",
      // 4: each view's results counted in all and per day as they change, with a count of its
      // changes (replays included) that only grows. Writers in parallel update rows of their
      // own shard (the result id modulo 16), so they seldom wait for each other's commits.
      // Rate buckets shared by the instances: nothing in them is worth a WAL write.
      "CREATE TABLE result_totals (verified BOOLEAN NOT NULL, shard INTEGER NOT NULL, n BIGINT NOT NULL,"
      " changes BIGINT NOT NULL, PRIMARY KEY (verified, shard));"
      "CREATE TABLE result_days (day BIGINT NOT NULL, verified BOOLEAN NOT NULL, shard INTEGER NOT NULL,"
      " n BIGINT NOT NULL, PRIMARY KEY (day, verified, shard));"
      "CREATE FUNCTION results_counted() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
      " IF TG_OP IN ('DELETE', 'UPDATE') THEN"
      "  INSERT INTO result_totals AS t SELECT verified, (id % 16)::int, -COUNT(*), COUNT(*) FROM old_rows"
      "   GROUP BY 1, 2 ON CONFLICT (verified, shard) DO UPDATE SET n = t.n + EXCLUDED.n,"
      "   changes = t.changes + EXCLUDED.changes;"
      "  INSERT INTO result_days AS d SELECT time / 86400 - (CASE WHEN time % 86400 < 0 THEN 1 ELSE 0 END),"
      "   verified, (id % 16)::int, -COUNT(*) FROM old_rows GROUP BY 1, 2, 3"
      "   ON CONFLICT (day, verified, shard) DO UPDATE SET n = d.n + EXCLUDED.n;"
      " END IF;"
      " IF TG_OP IN ('INSERT', 'UPDATE') THEN"
      "  INSERT INTO result_totals AS t SELECT verified, (id % 16)::int, COUNT(*), COUNT(*) FROM new_rows"
      "   GROUP BY 1, 2 ON CONFLICT (verified, shard) DO UPDATE SET n = t.n + EXCLUDED.n,"
      "   changes = t.changes + EXCLUDED.changes;"
      "  INSERT INTO result_days AS d SELECT time / 86400 - (CASE WHEN time % 86400 < 0 THEN 1 ELSE 0 END),"
      "   verified, (id % 16)::int, COUNT(*) FROM new_rows GROUP BY 1, 2, 3"
      "   ON CONFLICT (day, verified, shard) DO UPDATE SET n = d.n + EXCLUDED.n;"
      " END IF;"
      " RETURN NULL;"
      " END $$;"
      "CREATE TRIGGER results_counted_insert AFTER INSERT ON results REFERENCING NEW TABLE AS new_rows"
      " FOR EACH STATEMENT EXECUTE FUNCTION results_counted();"
      "CREATE TRIGGER results_counted_delete AFTER DELETE ON results REFERENCING OLD TABLE AS old_rows"
      " FOR EACH STATEMENT EXECUTE FUNCTION results_counted();"
      "CREATE TRIGGER results_counted_update AFTER UPDATE ON results REFERENCING OLD TABLE AS old_rows"
      " NEW TABLE AS new_rows FOR EACH STATEMENT EXECUTE FUNCTION results_counted();"
      "CREATE FUNCTION replays_shown() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
      " UPDATE result_totals t SET changes = t.changes + 1 FROM results r"
      "  WHERE r.id = NEW.result_id AND t.verified = r.verified AND t.shard = (r.id % 16)::int;"
      " RETURN NULL;"
      " END $$;"
      "CREATE TRIGGER replays_shown AFTER INSERT OR UPDATE OF state ON replays"
      " FOR EACH ROW EXECUTE FUNCTION replays_shown();"
      "INSERT INTO result_totals SELECT verified, (id % 16)::int, COUNT(*), COUNT(*) FROM results GROUP BY 1, 2;"
      "INSERT INTO result_days SELECT time / 86400 - (CASE WHEN time % 86400 < 0 THEN 1 ELSE 0 END), verified,"
      " (id % 16)::int, COUNT(*) FROM results GROUP BY 1, 2, 3;"
      "CREATE UNLOGGED TABLE rate_buckets (bucket TEXT NOT NULL, client TEXT NOT NULL,"
      " tokens DOUBLE PRECISION NOT NULL, updated_ms BIGINT NOT NULL, full_ms BIGINT NOT NULL,"
      " PRIMARY KEY (bucket, client));"
      "CREATE INDEX rate_buckets_full ON rate_buckets (full_ms);",
      // 5: as SQLite's.
      "ALTER TABLE replays ADD COLUMN fingerprint TEXT;"
      "CREATE INDEX replays_unfingerprinted ON replays (result_id) WHERE state = 'verified' AND fingerprint IS NULL;"
      "CREATE TABLE verified_games (fingerprint TEXT PRIMARY KEY, result_id BIGINT NOT NULL);"
      "UPDATE replays SET data = ''::bytea WHERE state = 'rejected';"
      "CREATE TABLE upload_days (client TEXT NOT NULL, day BIGINT NOT NULL, bytes BIGINT NOT NULL,"
      " PRIMARY KEY (client, day));",
  };
}

// The listing: the results of a period and view in rank order, one page of them, each with the
// state of its replay (NULL: none) and, when it was refused, the reason. The view is written into the statement (not
// bound), so the database reads the view's own index in rank order and stops after the page.
//   Without a name search, the page is taken first and ranked by its place in the whole order.
//   Parameters: since, limit, offset.
//   With a name search, the whole view is ranked and then filtered, so that a found result keeps
//   its rank among all. Parameters: since, like pattern, limit, offset (the count: the first two).
// A listing's count without a search comes from the counts kept per view and day (TotalSql).
enum class SqlDialect { Sqlite, Postgres };

// Parameter n as the dialect writes it.
inline std::string Placeholder(SqlDialect d, int n) {
  std::string p(1, d == SqlDialect::Postgres ? '$' : '?');
  p += std::to_string(n);
  return p;
}

inline std::string ViewCondition(SqlDialect d, std::optional<bool> verified) {
  if (!verified) return "";
  if (d == SqlDialect::Sqlite) return *verified ? " AND verified = 1" : " AND verified = 0";
  return *verified ? " AND verified" : " AND NOT verified";
}

// The period's condition. Over all time SQLite would otherwise read a view through the time index,
// looking up every row; the unary + keeps it on the view's own index.
inline std::string PeriodCondition(SqlDialect d, bool allTime) {
  std::string c = d == SqlDialect::Sqlite && allTime ? "+time >= " : "time >= ";
  c += Placeholder(d, 1);
  return c;
}

inline std::string NameCondition(SqlDialect d) {
  std::string c = d == SqlDialect::Postgres ? "name ILIKE " : "name LIKE ";
  c += Placeholder(d, 2);
  c += " ESCAPE '\\'";
  return c;
}

inline std::string ListSql(SqlDialect d, std::optional<bool> verified, bool search, bool allTime) {
  const std::string columns = "SELECT id, time, score, name, player, verified";
  const std::string replayState =
      ", (SELECT state FROM replays p WHERE p.result_id = t.id),"
      " (SELECT error FROM replays p WHERE p.result_id = t.id AND p.state = 'rejected')";
  const std::string rankOrder = "ORDER BY score DESC, time, id";
  const std::string inView = " FROM results WHERE " + PeriodCondition(d, allTime) + ViewCondition(d, verified);
  if (!search) {
    return columns + replayState + ", " + Placeholder(d, 3) + " + ROW_NUMBER() OVER (" + rankOrder + ") FROM (" +
           columns + inView + " " + rankOrder + " LIMIT " + Placeholder(d, 2) + " OFFSET " + Placeholder(d, 3) +
           ") t " + rankOrder;
  }
  return columns + replayState + ", rank FROM (" + columns + ", ROW_NUMBER() OVER (" + rankOrder + ") AS rank" +
         inView + ") t WHERE " + NameCondition(d) + " " + rankOrder + " LIMIT " + Placeholder(d, 3) + " OFFSET " +
         Placeholder(d, 4);
}

// The count of a name search: the matching results of the view in the period.
inline std::string SearchCountSql(SqlDialect d, std::optional<bool> verified, bool allTime) {
  return "SELECT COUNT(*) FROM results WHERE " + PeriodCondition(d, allTime) + ViewCondition(d, verified) + " AND " +
         NameCondition(d);
}

// The results of a view over all time (no parameter), or since a day (parameter: the day, counted
// from 1970-01-01), from the counts kept as results come and go.
inline std::string TotalSql(SqlDialect d, std::optional<bool> verified, bool allTime) {
  if (allTime) return "SELECT COALESCE(SUM(n), 0) FROM result_totals WHERE true" + ViewCondition(d, verified);
  return "SELECT COALESCE(SUM(n), 0) FROM result_days WHERE day >= " + Placeholder(d, 1) + ViewCondition(d, verified);
}

// One result by id (parameter 1), with its replay's state and reason for a refusal as a listing
// gives them, a rank of 0, and for a verified replay its header's bytes 40 to 55 in hex (the
// steps, the final score and the final level; see docs/replay-format.md).
inline std::string FindSql(SqlDialect d) {
  const std::string header =
      d == SqlDialect::Postgres ? "encode(substring(p.data from 41 for 16), 'hex')" : "hex(substr(p.data, 41, 16))";
  return "SELECT r.id, r.time, r.score, r.name, r.player, r.verified, p.state,"
         " CASE WHEN p.state = 'rejected' THEN p.error END, 0,"
         " CASE WHEN p.state = 'verified' THEN " +
         header + " END FROM results r LEFT JOIN replays p ON p.result_id = r.id WHERE r.id = " + Placeholder(d, 1);
}

// The verified results before one (parameters: its score, time and id) in the all-time verified
// view's order, plus one: two range reads of that view's index, which stop at the result.
inline std::string VerifiedRankSql(SqlDialect d) {
  const std::string view = ViewCondition(d, true), score = Placeholder(d, 1), time = Placeholder(d, 2),
                    id = Placeholder(d, 3);
  return "SELECT 1 + (SELECT COUNT(*) FROM results WHERE score > " + score + view +
         ") + (SELECT COUNT(*) FROM results WHERE score = " + score + view + " AND (time < " + time +
         " OR (time = " + time + " AND id < " + id + ")))";
}

// The steps and the final level in a replay header's bytes 40 to 55 as FindSql gives them in hex
// (either case); nothing when the text is not 32 hex digits.
struct HeaderFacts {
  int64_t Steps = 0;
  int32_t Level = 0;
};
inline std::optional<HeaderFacts> ParseHeaderFacts(std::string_view hex) {
  if (hex.size() != 32) return std::nullopt;
  uint8_t bytes[16];
  for (size_t i = 0; i < 16; ++i) {
    int v = 0;
    for (char c : hex.substr(2 * i, 2)) {
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) return std::nullopt;
      v = v * 16 + digit;
    }
    bytes[i] = static_cast<uint8_t>(v);
  }
  const auto le32 = [&](size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
  };
  return HeaderFacts{le32(0), static_cast<int32_t>(le32(12))};
}

// The changes of each view so far: rows of verified (0/1 or f/t) and the sum.
inline const char* kVersionSql = "SELECT verified, SUM(changes) FROM result_totals GROUP BY verified";

// The day (from 1970-01-01) that holds a time, and whether a time is the start of one.
inline int64_t DayOf(int64_t time) { return time >= 0 ? time / 86400 : (time - 86399) / 86400; }
inline bool IsStartOfDay(int64_t time) { return time == DayOf(time) * 86400; }

// "%text%" with the pattern characters of text escaped; empty for no filter.
inline std::string LikePattern(std::string_view text) {
  if (text.empty()) return {};
  std::string p = "%";
  for (char c : text) {
    if (c == '%' || c == '_' || c == '\\') p.push_back('\\');
    p.push_back(c);
  }
  p.push_back('%');
  return p;
}

inline std::optional<ReplayState> ParseReplayState(std::string_view s) {
  if (s == "pending") return ReplayState::Pending;
  if (s == "verified") return ReplayState::Verified;
  if (s == "rejected") return ReplayState::Rejected;
  return std::nullopt;
}

// The most results one pruning removes: a prune never holds the database for long.
inline constexpr int64_t kPruneBatch = 5000;

// The unverified results older than a time (parameter 1) whose exchange was never completed: no
// replay, or a refused one. Only results of an exchange (a session's submission) expire: imported
// ones, and those kept from before sessions were, have none and stay. At most a batch
// (parameter 2) a statement, oldest first.
inline std::string ExpiredResultsSql(SqlDialect d) {
  return std::string("DELETE FROM results WHERE id IN (SELECT r.id FROM results r WHERE r.time < ") +
         Placeholder(d, 1) + ViewCondition(d, false) + " AND r.session <> ''" +
         " AND NOT EXISTS (SELECT 1 FROM replays p WHERE p.result_id = r.id AND p.state <> 'rejected')"
         " ORDER BY r.time LIMIT " +
         Placeholder(d, 2) + ")";
}

// Adds bytes (parameter 3) to a client's (1) day (2) unless that passes the day's limit (4):
// a row comes back when they were added.
inline std::string AddUploadBytesSql(SqlDialect d) {
  const bool pg = d == SqlDialect::Postgres;
  const std::string p1 = Placeholder(d, 1) + (pg ? "::text" : ""), p2 = Placeholder(d, 2) + (pg ? "::bigint" : ""),
                    p3 = Placeholder(d, 3) + (pg ? "::bigint" : ""), p4 = Placeholder(d, 4) + (pg ? "::bigint" : "");
  return "INSERT INTO upload_days AS u (client, day, bytes) SELECT " + p1 + ", " + p2 + ", " + p3 + " WHERE " + p3 +
         " <= " + p4 +
         " ON CONFLICT (client, day) DO UPDATE SET bytes = u.bytes + excluded.bytes WHERE u.bytes + "
         "excluded.bytes <= " +
         p4 + " RETURNING bytes";
}

}  // namespace sf::scores
