// The storage rules every database must keep, run on SQLite and on PostgreSQL.
#include <thread>
#include <vector>

#include "Backends.h"

namespace sf::scores::testing {
namespace {

using StoreTest = BackendTest;

constexpr int64_t kNow = 1'700'000'000;

// "T3" and the like, built by appending: GCC 12 misreads "T" + std::to_string(n) as an overlapping copy.
std::string Numbered(const char* prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

NewSubmission Sub(const std::string& token, const std::string& session, const std::string& name, int32_t score,
                  int64_t now = kNow) {
  return NewSubmission{token, session, name, "Pl", score, now};
}

std::vector<std::string> Names(const ResultPage& page) {
  std::vector<std::string> names;
  for (const auto& r : page.Results) names.push_back(r.Name + ":" + std::to_string(r.Rank));
  return names;
}

TEST_P(StoreTest, MigrationsRunOnceAndReopeningKeepsEverything) {
  EXPECT_EQ(store_->SchemaVersion(), 3);
  store_->IssueToken("T1", "S1", kNow);
  ASSERT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 1200)).Status, SubmitStatus::Stored);
  store_.reset();
  store_ = Open();  // migrations find nothing left to do
  EXPECT_EQ(store_->SchemaVersion(), 3);
  EXPECT_EQ(store_->List(ListQuery{}).Total, 1);
  EXPECT_TRUE(store_->Ping());
}

TEST_P(StoreTest, TokenIsBoundToItsSessionLifetimeAndOneResult) {
  store_->IssueToken("T1", "S1", kNow);
  EXPECT_EQ(store_->Submit(Sub("T1", "S2", "Bob", 10)).Status, SubmitStatus::BadToken);  // foreign session
  EXPECT_EQ(store_->Submit(Sub("NOPE", "S1", "Bob", 10)).Status, SubmitStatus::BadToken);
  EXPECT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 10, kNow + kTokenLifetimeSeconds + 1)).Status,
            SubmitStatus::BadToken);  // expired
  const SubmitOutcome first = store_->Submit(Sub("T1", "S1", "Bob", 10));
  ASSERT_EQ(first.Status, SubmitStatus::Stored);
  // The same request again (a retry after a lost reply) is the same result; another is refused.
  EXPECT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 10)).Status, SubmitStatus::Duplicate);
  EXPECT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 10)).ResultId, first.ResultId);
  EXPECT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 99999)).Status, SubmitStatus::BadToken);
  EXPECT_EQ(store_->List(ListQuery{}).Total, 1);
}

TEST_P(StoreTest, SameResultWithinTenMinutesIsStoredOnce) {
  store_->IssueToken("T1", "S1", kNow);
  store_->IssueToken("T2", "S1", kNow + 5);
  store_->IssueToken("T3", "S2", kNow + 5);
  store_->IssueToken("T4", "S1", kNow + kDuplicateWindowSeconds + 10);
  ASSERT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 10)).Status, SubmitStatus::Stored);
  // The game's retry: a fresh token, the same session and result.
  EXPECT_EQ(store_->Submit(Sub("T2", "S1", "Bob", 10, kNow + 5)).Status, SubmitStatus::Duplicate);
  // Another player with the same name and score is a result of its own.
  EXPECT_EQ(store_->Submit(Sub("T3", "S2", "Bob", 10, kNow + 5)).Status, SubmitStatus::Stored);
  // Much later, the same again is a new game.
  EXPECT_EQ(store_->Submit(Sub("T4", "S1", "Bob", 10, kNow + kDuplicateWindowSeconds + 10)).Status,
            SubmitStatus::Stored);
  EXPECT_EQ(store_->List(ListQuery{}).Total, 3);
}

TEST_P(StoreTest, ListingRanksFiltersAndPages) {
  std::vector<StoredResult> old;
  const auto add = [&](const char* name, int32_t score, int64_t time) {
    StoredResult r;
    r.Name = name, r.PlayerName = "P", r.Score = score, r.Time = time;
    old.push_back(r);
  };
  add("Ann", 500, kNow - 10 * 86400);
  add("bob_x", 900, kNow - 100);
  add("Bobby", 700, kNow - 2 * 86400);
  add("Cid", 700, kNow - 3 * 86400);  // same score, earlier: ranks first
  add("100%", 50, kNow);
  ASSERT_EQ(store_->Import(old), 5);

  ListQuery all;
  EXPECT_EQ(Names(store_->List(all)), (std::vector<std::string>{"bob_x:1", "Cid:2", "Bobby:3", "Ann:4", "100%:5"}));
  ListQuery recent;
  recent.Since = kNow - 86400;
  EXPECT_EQ(Names(store_->List(recent)), (std::vector<std::string>{"bob_x:1", "100%:2"}));
  // A name search keeps the ranks of the whole listing, ignores case and takes % and _ literally.
  ListQuery search;
  search.NameContains = "BOB";
  const ResultPage found = store_->List(search);
  EXPECT_EQ(Names(found), (std::vector<std::string>{"bob_x:1", "Bobby:3"}));
  EXPECT_EQ(found.Total, 2);
  search.NameContains = "%";
  EXPECT_EQ(Names(store_->List(search)), (std::vector<std::string>{"100%:5"}));
  search.NameContains = "b_b";  // would match "bob" if _ were a wildcard
  EXPECT_EQ(store_->List(search).Total, 0);
  ListQuery page;
  page.Limit = 2;
  page.Offset = 2;
  const ResultPage second = store_->List(page);
  EXPECT_EQ(Names(second), (std::vector<std::string>{"Bobby:3", "Ann:4"}));
  EXPECT_EQ(second.Total, 5);
}

TEST_P(StoreTest, ReplayGoesWithItsSubmissionAndIsVerifiedOnce) {
  store_->IssueToken("T1", "S1", kNow);
  store_->IssueToken("T2", "S1", kNow);
  const int64_t id = store_->Submit(Sub("T1", "S1", "Bob", 1200)).ResultId;
  const std::vector<uint8_t> file = {1, 0, 2, 255, 0};
  int64_t attached = 0;
  EXPECT_EQ(store_->AttachReplay("T1", "S2", file, kNow, &attached), AttachStatus::BadToken);  // foreign cookie
  EXPECT_EQ(store_->AttachReplay("T2", "S1", file, kNow, &attached), AttachStatus::BadToken);  // unused token
  EXPECT_EQ(store_->AttachReplay("T1", "S1", file, kNow + kReplayWindowSeconds + 1, &attached), AttachStatus::BadToken);
  ASSERT_EQ(store_->AttachReplay("T1", "S1", file, kNow, &attached), AttachStatus::Stored);
  EXPECT_EQ(attached, id);
  EXPECT_EQ(store_->AttachReplay("T1", "S1", file, kNow, &attached), AttachStatus::AlreadyHasReplay);
  EXPECT_EQ(store_->ReplayStateOf(id), ReplayState::Pending);
  EXPECT_EQ(store_->ReplayFile(id), file);  // bytes as they came, zeros and all

  const auto claimed = store_->ClaimReplay(kNow);
  ASSERT_TRUE(claimed);
  EXPECT_EQ(claimed->ResultId, id);
  EXPECT_EQ(claimed->Score, 1200);
  EXPECT_EQ(claimed->File, file);
  EXPECT_FALSE(store_->ClaimReplay(kNow + 1));  // taken; not handed out twice
  // Its worker died: after the claim goes stale, another instance takes it up.
  auto other = Open();
  const auto again = other->ClaimReplay(kNow + kReplayClaimSeconds + 1);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->ResultId, id);
  other->FinishReplay(id, true, "");
  EXPECT_EQ(store_->ReplayStateOf(id), ReplayState::Verified);
  EXPECT_FALSE(store_->ClaimReplay(kNow + 10 * kReplayClaimSeconds));
  ListQuery verified;
  verified.Verified = true;
  const ResultPage page = store_->List(verified);
  ASSERT_EQ(page.Results.size(), 1u);
  EXPECT_TRUE(page.Results[0].Verified);
  EXPECT_TRUE(page.Results[0].HasReplay);
  verified.Verified = false;
  EXPECT_EQ(store_->List(verified).Total, 0);
}

TEST_P(StoreTest, EachViewRanksItsOwnResultsAndPagesThroughThem) {
  // Alternately unverified and verified, best first: U900, V800, U700, V600, ...
  for (int i = 0; i < 8; ++i) {
    const std::string token = "T" + std::to_string(i);
    store_->IssueToken(token, "S1", kNow);
    const bool verify = i % 2 == 1;
    const std::string name = std::string(verify ? "V" : "U") + std::to_string(900 - 100 * i);
    const int64_t id = store_->Submit(Sub(token, "S1", name, 900 - 100 * i)).ResultId;
    if (!verify) continue;
    ASSERT_EQ(store_->AttachReplay(token, "S1", {1}, kNow, nullptr), AttachStatus::Stored);
    const auto claimed = store_->ClaimReplay(kNow);
    ASSERT_TRUE(claimed);
    store_->FinishReplay(claimed->ResultId, claimed->ResultId == id, "");
  }
  ListQuery verified;
  verified.Verified = true;
  EXPECT_EQ(Names(store_->List(verified)), (std::vector<std::string>{"V800:1", "V600:2", "V400:3", "V200:4"}));
  verified.Offset = 1;
  verified.Limit = 2;
  const ResultPage middle = store_->List(verified);
  EXPECT_EQ(Names(middle), (std::vector<std::string>{"V600:2", "V400:3"}));
  EXPECT_EQ(middle.Total, 4);
  ListQuery unverified;
  unverified.Verified = false;
  unverified.NameContains = "u5";  // a search keeps the view's ranks
  EXPECT_EQ(Names(store_->List(unverified)), (std::vector<std::string>{"U500:3"}));
  EXPECT_EQ(Names(store_->List(ListQuery{})).front(), "U900:1");
  EXPECT_EQ(store_->List(ListQuery{}).Total, 8);
}

TEST_P(StoreTest, RemoveTakesTheResultAndItsReplay) {
  store_->IssueToken("T1", "S1", kNow);
  const int64_t id = store_->Submit(Sub("T1", "S1", "Spam", 99999)).ResultId;
  ASSERT_EQ(store_->AttachReplay("T1", "S1", {1, 2, 3}, kNow, nullptr), AttachStatus::Stored);
  EXPECT_TRUE(store_->Remove(id));
  EXPECT_FALSE(store_->Remove(id));
  EXPECT_FALSE(store_->Find(id));
  EXPECT_FALSE(store_->ReplayFile(id));
  EXPECT_EQ(store_->List(ListQuery{}).Total, 0);
  // The token's result is gone: the same submission cannot bring it back as a "retry".
  EXPECT_EQ(store_->Submit(Sub("T1", "S1", "Spam", 99999)).Status, SubmitStatus::BadToken);
}

TEST_P(StoreTest, TokensIssuedByOneInstanceWorkOnAnother) {
  auto other = Open();
  store_->IssueToken("T1", "S1", kNow);
  EXPECT_EQ(other->Submit(Sub("T1", "S1", "Bob", 10)).Status, SubmitStatus::Stored);
  EXPECT_EQ(store_->List(ListQuery{}).Total, 1);
  store_->Prune(kNow + kReplayWindowSeconds + 1);
  EXPECT_EQ(other->Submit(Sub("T1", "S1", "Bob", 10)).Status, SubmitStatus::BadToken);  // pruned
}

TEST_P(StoreTest, ConcurrentSubmissionsAreAllKeptAndATokenWinsOnce) {
  constexpr int kThreads = 8, kEach = 20;
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kEach; ++i)
      store_->IssueToken(Numbered("T", t) + "_" + std::to_string(i), Numbered("S", t), kNow);
  store_->IssueToken("SHARED", "S0", kNow);
  std::vector<int> sharedWins(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      auto db = Open();
      for (int i = 0; i < kEach; ++i)
        db->Submit(Sub(Numbered("T", t) + "_" + std::to_string(i), Numbered("S", t), "N", t * 100 + i));
      // Everyone tries the same token with a different result: exactly one may win.
      sharedWins[static_cast<size_t>(t)] = db->Submit(Sub("SHARED", "S0", "Z", 7 + t)).Status == SubmitStatus::Stored;
    });
  }
  for (auto& t : threads) t.join();
  int wins = 0;
  for (int w : sharedWins) wins += w;
  EXPECT_EQ(wins, 1);
  EXPECT_EQ(store_->List(ListQuery{}).Total, kThreads * kEach + 1);
}

SF_BOTH_DATABASES(StoreTest);

}  // namespace
}  // namespace sf::scores::testing
