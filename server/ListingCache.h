#pragma once
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ScoreStore.h"

namespace sf::scores {

// A listing's answer as it goes out: the body and its validator.
struct CachedAnswer {
  std::string Body;
  std::string ETag;  // a strong validator: the body's hash, quoted
};

// The listings' answers kept in memory, each with the listing version of the table it was made
// from. An answer serves every request whose version it covers (made from a table at least as
// new), so it lives until the next write that changes its view. Bounded in entries and bytes;
// the least recently used go first.
class ListingCache {
 public:
  explicit ListingCache(size_t maxEntries = 1024, size_t maxBytes = size_t{64} << 20);

  // The answer kept under key if it covers version; otherwise make() makes one, which is kept. A
  // request asking for an answer being made waits for it instead of making it again. make's
  // exceptions reach its own caller only (the others then make their own). made, when given,
  // tells whether this call made the answer.
  std::shared_ptr<const CachedAnswer> Get(const std::string& key, const ListingVersion& version,
                                          const std::function<CachedAnswer()>& make, bool* made = nullptr);

  size_t Size() const;

 private:
  struct Entry {
    ListingVersion Version;
    std::shared_ptr<const CachedAnswer> Answer;
    bool Making = false;
    std::list<std::string>::iterator Use;  // place in uses_
  };
  void Trim();

  size_t maxEntries_, maxBytes_;
  mutable std::mutex mutex_;
  std::condition_variable made_;
  std::unordered_map<std::string, Entry> entries_;
  std::list<std::string> uses_;  // most recent first
  size_t bytes_ = 0;
};

// True when an answer made at `made` may serve a request that saw `wanted`: no view is older.
bool Covers(const ListingVersion& made, const ListingVersion& wanted);

// "\"<16 hex digits>\"": a 64-bit FNV-1a hash of the body. The same bytes always give the same
// tag, whichever instance behind a load balancer serves them.
std::string ETagOf(std::string_view body);

// True when an If-None-Match header names the tag (or is "*").
bool MatchesETag(std::string_view ifNoneMatch, std::string_view etag);

}  // namespace sf::scores
