#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sf::scores {

// Per-client token buckets: a client may make `burst` requests at once and `perMinute` a minute
// on average. Time comes from the caller, in milliseconds. The table is bounded: when full, the
// clients that have refilled completely are forgotten first (they are as good as new).
class RateLimiter {
 public:
  // perMinute 0 turns the limit off.
  RateLimiter(double perMinute, double burst, size_t maxClients = 100000);

  bool Allow(std::string_view client, int64_t nowMs);

 private:
  struct Bucket {
    double Tokens = 0;
    int64_t LastMs = 0;
  };
  void Forget(int64_t nowMs);

  double perMs_;
  double burst_;
  size_t maxClients_;
  std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace sf::scores
