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
