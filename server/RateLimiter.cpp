#include "RateLimiter.h"

#include <algorithm>

namespace sf::scores {

RateLimiter::RateLimiter(double perMinute, double burst, size_t maxClients)
    : perMs_(perMinute / 60000.0), burst_(std::max(1.0, burst)), maxClients_(std::max<size_t>(1, maxClients)) {}

bool RateLimiter::Allow(std::string_view client, int64_t nowMs, double cost, bool owe) {
  if (perMs_ <= 0) return true;
  std::lock_guard lock(mutex_);
  auto it = buckets_.find(std::string(client));
  if (it == buckets_.end()) {
    if (buckets_.size() >= maxClients_) Forget(nowMs);
    if (buckets_.size() >= maxClients_) return owe;  // every known client is still busy: refuse strangers
    it = buckets_.emplace(std::string(client), Bucket{burst_, nowMs}).first;
  }
  Bucket& b = it->second;
  if (nowMs > b.LastMs) {
    b.Tokens = std::min(burst_, b.Tokens + static_cast<double>(nowMs - b.LastMs) * perMs_);
    b.LastMs = nowMs;
  }
  if (!owe && b.Tokens < std::min(cost, burst_)) return false;
  b.Tokens -= cost;
  return true;
}

void RateLimiter::Forget(int64_t nowMs) {
  for (auto it = buckets_.begin(); it != buckets_.end();) {
    const double refilled = it->second.Tokens + static_cast<double>(nowMs - it->second.LastMs) * perMs_;
    it = refilled >= burst_ ? buckets_.erase(it) : std::next(it);
  }
}

}  // namespace sf::scores
