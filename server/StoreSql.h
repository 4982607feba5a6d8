#pragma once
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
  };
}

// The listing: the results of a period and view in rank order, one page of them, and the count
// of all. The view is written into the statement (not bound), so the database reads the view's own
// index in rank order and stops after the page.
//   Without a name search, the page is taken first and ranked by its place in the whole order.
//   Parameters: since, limit, offset (the count: since).
//   With a name search, the whole view is ranked and then filtered, so that a found result keeps
//   its rank among all. Parameters: since, like pattern, limit, offset (the count: the first two).
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

// The period's condition. Over all time SQLite would otherwise count a view by walking the time
// index and looking up every row; the unary + keeps it on the view's own index.
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
  const std::string hasVerifiedReplay =
      ", EXISTS (SELECT 1 FROM replays p WHERE p.result_id = t.id AND p.state = 'verified')";
  const std::string rankOrder = "ORDER BY score DESC, time, id";
  const std::string inView = " FROM results WHERE " + PeriodCondition(d, allTime) + ViewCondition(d, verified);
  if (!search) {
    return columns + hasVerifiedReplay + ", " + Placeholder(d, 3) + " + ROW_NUMBER() OVER (" + rankOrder + ") FROM (" +
           columns + inView + " " + rankOrder + " LIMIT " + Placeholder(d, 2) + " OFFSET " + Placeholder(d, 3) +
           ") t " + rankOrder;
  }
  return columns + hasVerifiedReplay + ", rank FROM (" + columns + ", ROW_NUMBER() OVER (" + rankOrder + ") AS rank" +
         inView + ") t WHERE " + NameCondition(d) + " " + rankOrder + " LIMIT " + Placeholder(d, 3) + " OFFSET " +
         Placeholder(d, 4);
}

inline std::string CountSql(SqlDialect d, std::optional<bool> verified, bool search, bool allTime) {
  return "SELECT COUNT(*) FROM results WHERE " + PeriodCondition(d, allTime) + ViewCondition(d, verified) +
         (search ? " AND " + NameCondition(d) : "");
}

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

}  // namespace sf::scores
