#include "Metrics.h"

#include <cstdio>

namespace sf::scores {

void Metrics::CountRequest(std::string_view route, int status, double seconds) {
  std::lock_guard lock(mutex_);
  ++requests_[{std::string(route), status}];
  for (size_t i = 0; i < kBucketsSeconds.size(); ++i)
    if (seconds <= kBucketsSeconds[i]) ++buckets_[i];
  ++count_;
  sum_ += seconds;
}

void Metrics::CountSubmission(bool stored) { ++(stored ? stored_ : duplicates_); }

void Metrics::CountListing(bool kept) { ++(kept ? listingsKept_ : listingsRead_); }

void Metrics::AddSource(std::function<std::string()> source) {
  std::lock_guard lock(mutex_);
  sources_.push_back(std::move(source));
}

std::string Metrics::Render() const {
  std::lock_guard lock(mutex_);
  std::string out;
  out +=
      "# HELP saltfang_http_requests_total Requests answered, by route and status.\n"
      "# TYPE saltfang_http_requests_total counter\n";
  for (const auto& [key, n] : requests_)
    out += "saltfang_http_requests_total{route=\"" + key.first + "\",status=\"" + std::to_string(key.second) + "\"} " +
           std::to_string(n) + "\n";
  out +=
      "# HELP saltfang_submissions_total Submissions accepted: stored, or recognised as a retry.\n"
      "# TYPE saltfang_submissions_total counter\n"
      "saltfang_submissions_total{outcome=\"stored\"} " +
      std::to_string(stored_.load()) +
      "\n"
      "saltfang_submissions_total{outcome=\"duplicate\"} " +
      std::to_string(duplicates_.load()) + "\n";
  out +=
      "# HELP saltfang_listings_total Listings answered from memory (kept) or read from the table.\n"
      "# TYPE saltfang_listings_total counter\n"
      "saltfang_listings_total{source=\"kept\"} " +
      std::to_string(listingsKept_.load()) +
      "\n"
      "saltfang_listings_total{source=\"read\"} " +
      std::to_string(listingsRead_.load()) + "\n";
  out +=
      "# HELP saltfang_http_request_duration_seconds Time from a complete request to its reply.\n"
      "# TYPE saltfang_http_request_duration_seconds histogram\n";
  char line[160];
  for (size_t i = 0; i < kBucketsSeconds.size(); ++i) {
    std::snprintf(line, sizeof line, "saltfang_http_request_duration_seconds_bucket{le=\"%g\"} %llu\n",
                  kBucketsSeconds[i], static_cast<unsigned long long>(buckets_[i]));
    out += line;
  }
  std::snprintf(line, sizeof line,
                "saltfang_http_request_duration_seconds_bucket{le=\"+Inf\"} %llu\n"
                "saltfang_http_request_duration_seconds_sum %.6f\n"
                "saltfang_http_request_duration_seconds_count %llu\n",
                static_cast<unsigned long long>(count_), sum_, static_cast<unsigned long long>(count_));
  out += line;
  for (const auto& source : sources_) out += source();
  return out;
}

std::string ServerMetrics(const ServerStats& s) {
  const auto line = [](const char* name, const char* labels, unsigned long long value) {
    char text[160];
    std::snprintf(text, sizeof text, "%s%s %llu\n", name, labels, value);
    return std::string(text);
  };
  std::string out =
      "# HELP saltfang_connections_refused_total Connections closed on arrival: the server's or the client's cap "
      "was reached.\n"
      "# TYPE saltfang_connections_refused_total counter\n";
  out += line("saltfang_connections_refused_total", "{reason=\"capacity\"}", s.RefusedAtCapacity);
  out += line("saltfang_connections_refused_total", "{reason=\"per_client\"}", s.RefusedPerClient);
  out +=
      "# HELP saltfang_heads_shed_total Connections closed while waiting for a request head, to make room.\n"
      "# TYPE saltfang_heads_shed_total counter\n";
  out += line("saltfang_heads_shed_total", "", s.ShedHeads);
  out +=
      "# HELP saltfang_busy_total Requests answered 503 because too many bytes waited: replies to write, bodies to "
      "read.\n"
      "# TYPE saltfang_busy_total counter\n";
  out += line("saltfang_busy_total", "{what=\"reply\"}", s.BusyReplies);
  out += line("saltfang_busy_total", "{what=\"body\"}", s.BusyBodies);
  out += "# TYPE saltfang_open_connections gauge\n";
  out += line("saltfang_open_connections", "", static_cast<unsigned long long>(s.OpenConnections));
  out += "# TYPE saltfang_pending_heads gauge\n";
  out += line("saltfang_pending_heads", "", static_cast<unsigned long long>(s.PendingHeads));
  out += "# TYPE saltfang_pending_bytes gauge\n";
  out += line("saltfang_pending_bytes", "{what=\"reply\"}", s.PendingWriteBytes);
  out += line("saltfang_pending_bytes", "{what=\"body\"}", s.PendingBodyBytes);
  return out;
}

std::string StoreMetrics(const StoreSizes& s) {
  std::string out =
      "# HELP saltfang_table_rows Rows of the database's tables.\n"
      "# TYPE saltfang_table_rows gauge\n";
  const auto row = [&](const char* table, int64_t n) {
    out += "saltfang_table_rows{table=\"" + std::string(table) + "\"} " + std::to_string(n) + "\n";
  };
  row("results", s.Results);
  row("results_verified", s.VerifiedResults);
  row("replays", s.Replays);
  row("tokens", s.Tokens);
  row("verified_games", s.VerifiedGames);
  out +=
      "# HELP saltfang_replay_bytes Bytes of the replays kept (a refused one keeps none).\n"
      "# TYPE saltfang_replay_bytes gauge\n"
      "saltfang_replay_bytes " +
      std::to_string(s.ReplayBytes) +
      "\n"
      "# HELP saltfang_database_bytes The database's size on disk.\n"
      "# TYPE saltfang_database_bytes gauge\n"
      "saltfang_database_bytes " +
      std::to_string(s.DatabaseBytes) + "\n";
  return out;
}

std::string RouteOf(std::string_view target) {
  const std::string_view path = target.substr(0, target.find('?'));
  if (path == "/cgi/version.pl") {
    const std::string_view query = target.size() > path.size() ? target.substr(path.size() + 1) : "";
    // The bare words of the game's queries ("version", "hs", "show"), with or without a value.
    const auto has = [&](std::string_view word) {
      for (std::string_view rest = query; !rest.empty();) {
        const size_t amp = rest.find('&');
        const std::string_view item = rest.substr(0, amp);
        if (item.substr(0, item.find('=')) == word) return true;
        rest.remove_prefix(amp == std::string_view::npos ? rest.size() : amp + 1);
      }
      return false;
    };
    if (has("version")) return "version";
    if (has("hs")) return "submit";
    if (has("show")) return "world_page";
    return "other";
  }
  if (path == "/api/scores" || path == "/healthz" || path == "/metrics") return std::string(path.substr(1));
  if (path == "/api/replays") return "api/replays_upload";
  if (path.rfind("/api/replays/", 0) == 0) return "api/replays_download";
  if (path.rfind("/api/results/", 0) == 0) return "api/results";
  return "static";
}

}  // namespace sf::scores
