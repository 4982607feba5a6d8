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
  };
}

// The listing: ranks within the period and view, then the name filter, then the page.
// Parameters: since, verified (-1 any, 0, 1), like pattern ('' for any), limit, offset.
inline constexpr const char* kSqliteListSql =
    "SELECT id, time, score, name, player, verified,"
    " EXISTS (SELECT 1 FROM replays p WHERE p.result_id = t.id AND p.state = 'verified'), rank FROM ("
    "  SELECT id, time, score, name, player, verified,"
    "   ROW_NUMBER() OVER (ORDER BY score DESC, time, id) AS rank"
    "  FROM results WHERE time >= ?1 AND (?2 < 0 OR verified = ?2)) t"
    " WHERE ?3 = '' OR name LIKE ?3 ESCAPE '\\' ORDER BY rank LIMIT ?4 OFFSET ?5";
inline constexpr const char* kSqliteCountSql =
    "SELECT COUNT(*) FROM results WHERE time >= ?1 AND (?2 < 0 OR verified = ?2)"
    " AND (?3 = '' OR name LIKE ?3 ESCAPE '\\')";

inline constexpr const char* kPostgresListSql =
    "SELECT id, time, score, name, player, verified,"
    " EXISTS (SELECT 1 FROM replays p WHERE p.result_id = t.id AND p.state = 'verified'), rank FROM ("
    "  SELECT id, time, score, name, player, verified,"
    "   ROW_NUMBER() OVER (ORDER BY score DESC, time, id) AS rank"
    "  FROM results WHERE time >= $1 AND ($2::int < 0 OR verified = ($2::int = 1))) t"
    " WHERE $3 = '' OR name ILIKE $3 ESCAPE '\\' ORDER BY rank LIMIT $4 OFFSET $5";
inline constexpr const char* kPostgresCountSql =
    "SELECT COUNT(*) FROM results WHERE time >= $1 AND ($2::int < 0 OR verified = ($2::int = 1))"
    " AND ($3 = '' OR name ILIKE $3 ESCAPE '\\')";

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
