#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sf::scores {

// Per-client token buckets: a client may make `burst` requests at once and `perMinute` a minute
// on average (or spend that many tokens, for requests that cost more than one). Time comes from the
// caller, in milliseconds. The table is bounded: when full, the
// clients that have refilled completely are forgotten first (they are as good as new).
class RateLimiter {
 public:
  // perMinute 0 turns the limit off.
  RateLimiter(double perMinute, double burst, size_t maxClients = 100000);

  // Takes cost tokens from the client's bucket when it holds at least the cost; a cost above the
  // burst is taken from a full bucket, which then owes the rest. owe: takes the cost whatever the
  // bucket holds (for work already done), which then owes the rest, and says true.
  bool Allow(std::string_view client, int64_t nowMs, double cost = 1.0, bool owe = false);

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
