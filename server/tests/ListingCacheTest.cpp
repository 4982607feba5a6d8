// The listings' answers kept in memory: which version an answer serves, failures that must not
// stick, the bound, and the validators.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ListingCache.h"

namespace sf::scores::testing {
namespace {

CachedAnswer Body(std::string body) { return CachedAnswer{std::move(body), ""}; }

TEST(ListingCache, AnAnswerServesTheVersionsItCoversOnly) {
  ListingCache cache;
  int made = 0;
  const auto make = [&](std::string body) {
    return [&made, body] {
      ++made;
      return Body(body);
    };
  };
  EXPECT_EQ(cache.Get("k", {5, 7}, make("first"))->Body, "first");
  EXPECT_EQ(cache.Get("k", {5, 7}, make("again"))->Body, "first");
  EXPECT_EQ(cache.Get("k", {4, 7}, make("older"))->Body, "first") << "made from a newer table: still right";
  EXPECT_EQ(made, 1);
  EXPECT_EQ(cache.Get("k", {5, 8}, make("newer"))->Body, "newer") << "one view changed since";
  EXPECT_EQ(cache.Get("other", {5, 8}, make("o"))->Body, "o");
  EXPECT_EQ(made, 3);
}

TEST(ListingCache, AFailedAnswerIsNotKeptAndTheNextAskMakesIt) {
  ListingCache cache;
  EXPECT_THROW(cache.Get("k", {1, 1}, []() -> CachedAnswer { throw std::runtime_error("database down"); }),
               std::runtime_error);
  EXPECT_EQ(cache.Size(), 0u);
  bool made = false;
  EXPECT_EQ(cache
                .Get(
                    "k", {1, 1}, [] { return Body("back"); }, &made)
                ->Body,
            "back");
  EXPECT_TRUE(made);
  cache.Get(
      "k", {1, 1}, [] { return Body("x"); }, &made);
  EXPECT_FALSE(made);
}

TEST(ListingCache, TheLeastRecentlyUsedGoFirstWhenFull) {
  ListingCache cache(3, 1000);
  for (const char* key : {"a", "b", "c"}) cache.Get(key, {}, [&] { return Body(key); });
  cache.Get("a", {}, [] { return Body("a again"); });  // used: b is now the oldest
  cache.Get("d", {}, [] { return Body("d"); });
  EXPECT_EQ(cache.Size(), 3u);
  bool made = false;
  cache.Get(
      "a", {}, [] { return Body("a again"); }, &made);
  EXPECT_FALSE(made);
  cache.Get(
      "b", {}, [] { return Body("b again"); }, &made);
  EXPECT_TRUE(made);
  // Bytes bound too: one answer larger than all the room leaves only itself.
  cache.Get("big", {}, [] { return Body(std::string(2000, 'x')); });
  EXPECT_EQ(cache.Size(), 1u);
}

TEST(ListingCache, ValidatorsFollowTheBodyAndIfNoneMatchLists) {
  const std::string tag = ETagOf("body");
  EXPECT_EQ(tag.size(), 18u);
  EXPECT_EQ(tag, ETagOf("body"));
  EXPECT_NE(tag, ETagOf("bodY"));
  EXPECT_TRUE(MatchesETag(tag, tag));
  EXPECT_TRUE(MatchesETag("\"x\", W/" + tag, tag));
  EXPECT_TRUE(MatchesETag("*", tag));
  EXPECT_FALSE(MatchesETag("", tag));
  EXPECT_FALSE(MatchesETag("\"x\"", tag));
}

}  // namespace
}  // namespace sf::scores::testing
