#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "HttpMessage.h"
#include "ScoreStore.h"

namespace sf::scores {

// The service's counters in the Prometheus text format: requests by route and status, stored
// submissions, listings answered from memory or read, and a latency histogram.
class Metrics {
 public:
  static constexpr std::array<double, 12> kBucketsSeconds = {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05,
                                                             0.1,   0.25,   0.5,   1.0,  2.5,   5.0};

  void CountRequest(std::string_view route, int status, double seconds);
  void CountSubmission(bool stored);
  // A listing answered from memory (kept) or read from the table.
  void CountListing(bool kept);
  // More lines of the exposition, made when it is rendered (the HTTP server's own counts).
  void AddSource(std::function<std::string()> source);
  std::string Render() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::function<std::string()>> sources_;
  std::map<std::pair<std::string, int>, uint64_t> requests_;
  std::array<uint64_t, kBucketsSeconds.size()> buckets_{};
  uint64_t count_ = 0;
  double sum_ = 0;
  std::atomic<uint64_t> stored_{0}, duplicates_{0}, listingsKept_{0}, listingsRead_{0};
};

// The HTTP server's refusals and what it holds, and the database's sizes, as exposition lines.
std::string ServerMetrics(const ServerStats& stats);
std::string StoreMetrics(const StoreSizes& sizes);

// A short name of what a request asked for, for the metrics: the path of the known routes and
// "other" for the rest, so strangers cannot grow the label set.
std::string RouteOf(std::string_view target);

}  // namespace sf::scores
