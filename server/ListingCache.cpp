#include "ListingCache.h"

#include <algorithm>
#include <iterator>

#include "core/Fnv.h"

namespace sf::scores {

ListingCache::ListingCache(size_t maxEntries, size_t maxBytes)
    : maxEntries_(std::max<size_t>(1, maxEntries)), maxBytes_(maxBytes) {}

bool Covers(const ListingVersion& made, const ListingVersion& wanted) {
  return made.Verified >= wanted.Verified && made.Unverified >= wanted.Unverified;
}

std::shared_ptr<const CachedAnswer> ListingCache::Get(const std::string& key, const ListingVersion& version,
                                                      const std::function<CachedAnswer()>& make, bool* made) {
  if (made) *made = false;
  std::unique_lock lock(mutex_);
  while (true) {
    const auto it = entries_.find(key);
    if (it == entries_.end()) break;
    Entry& e = it->second;
    if (e.Answer && Covers(e.Version, version)) {
      uses_.splice(uses_.begin(), uses_, e.Use);
      return e.Answer;
    }
    if (!e.Making) break;
    made_.wait(lock);  // someone makes it now: its answer will do, unless older than ours
  }
  auto [it, added] = entries_.try_emplace(key);
  if (added) {
    uses_.push_front(key);
    it->second.Use = uses_.begin();
  }
  it->second.Making = true;
  lock.unlock();

  std::shared_ptr<const CachedAnswer> answer;
  try {
    answer = std::make_shared<const CachedAnswer>(make());
  } catch (...) {
    lock.lock();
    const auto failed = entries_.find(key);
    failed->second.Making = false;
    if (!failed->second.Answer) {
      uses_.erase(failed->second.Use);
      entries_.erase(failed);
    }
    made_.notify_all();
    throw;
  }
  if (made) *made = true;
  lock.lock();
  Entry& e = entries_.find(key)->second;  // kept while Making: Trim leaves it alone
  if (e.Answer) bytes_ -= e.Answer->Body.size();
  e.Answer = answer;
  e.Version = version;
  e.Making = false;
  bytes_ += answer->Body.size();
  uses_.splice(uses_.begin(), uses_, e.Use);
  Trim();
  made_.notify_all();
  return answer;
}

void ListingCache::Trim() {
  // From the least recently used; the most recent (the answer just made) stays.
  auto victim = uses_.end();
  while ((entries_.size() > maxEntries_ || bytes_ > maxBytes_) && !uses_.empty() &&
         std::prev(victim) != uses_.begin()) {
    --victim;
    const auto it = entries_.find(*victim);
    if (it->second.Making) continue;
    if (it->second.Answer) bytes_ -= it->second.Answer->Body.size();
    victim = uses_.erase(victim);
    entries_.erase(it);
  }
}

size_t ListingCache::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

std::string ETagOf(std::string_view body) {
  Fnv1a h;
  h.Bytes(body);
  std::string tag = "\"";
  tag += h.Hex();
  tag += '"';
  return tag;
}

bool MatchesETag(std::string_view ifNoneMatch, std::string_view etag) {
  while (!ifNoneMatch.empty()) {
    const size_t comma = ifNoneMatch.find(',');
    std::string_view item = ifNoneMatch.substr(0, comma);
    ifNoneMatch.remove_prefix(comma == std::string_view::npos ? ifNoneMatch.size() : comma + 1);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (item.rfind("W/", 0) == 0) item.remove_prefix(2);  // a weak comparison, as for GET
    if (item == "*" || item == etag) return true;
  }
  return false;
}

}  // namespace sf::scores
