// The storage rules every database must keep, run on SQLite and on PostgreSQL.

#include <thread>
#include <vector>

#include "Backends.h"
#include "StoreSql.h"

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
  EXPECT_EQ(store_->SchemaVersion(), 5);
  store_->IssueToken("T1", "S1", kNow);
  ASSERT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 1200)).Status, SubmitStatus::Stored);
  store_.reset();
  store_ = Open();  // migrations find nothing left to do
  EXPECT_EQ(store_->SchemaVersion(), 5);
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

// The counts kept per view and day answer a listing's total without reading its rows; they must
// agree with the rows whatever happens to them: submissions, old imports (before 1970 too), a
// verification, a removal.
TEST_P(StoreTest, KeptCountsAgreeWithTheRowsOfEveryViewAndPeriod) {
  const int64_t today = kNow - kNow % 86400;
  std::vector<StoredResult> old;
  for (int64_t t : {today - 1, today, today + 86399, today - 6 * 86400, today - 6 * 86400 - 1, int64_t{-1},
                    int64_t{-86400}, int64_t{-86401}, int64_t{0}}) {
    StoredResult r;
    r.Name = "Old";
    r.PlayerName = "P";
    r.Score = static_cast<int32_t>(t % 1000 + 1000);
    r.Time = t;
    old.push_back(r);
  }
  ASSERT_EQ(store_->Import(old), 9);
  for (int i = 0; i < 4; ++i) {
    store_->IssueToken(Numbered("T", i), "S", kNow);
    ASSERT_EQ(store_->Submit(Sub(Numbered("T", i), "S", Numbered("N", i), 10 + i)).Status, SubmitStatus::Stored);
  }
  ASSERT_EQ(store_->AttachReplay("T0", "S", {1}, kNow, nullptr), AttachStatus::Stored);
  ASSERT_EQ(store_->AttachReplay("T1", "S", {1}, kNow, nullptr), AttachStatus::Stored);
  for (int i = 0; i < 2; ++i) {
    const auto claimed = store_->ClaimReplay(kNow);
    ASSERT_TRUE(claimed);
    store_->FinishReplay(claimed->ResultId, true, "");
  }
  ASSERT_TRUE(store_->Remove(store_->List(ListQuery{}).Results.back().Id));
  auto other = Open();  // the counts are the database's, not an instance's
  for (const std::optional<bool> view :
       {std::optional<bool>(), std::optional<bool>(true), std::optional<bool>(false)}) {
    for (const int64_t since : {kAllTime, today, today + 86400, today - 6 * 86400, today - 7 * 86400, int64_t{-86400},
                                int64_t{0}, today - 5}) {
      ListQuery q;
      q.Verified = view;
      q.Since = since;
      q.Limit = 1000;
      const ResultPage page = other->List(q);
      const std::string what =
          (view ? (*view ? "verified" : "unverified") : "all") + std::string(" since ") + std::to_string(since);
      EXPECT_EQ(page.Total, static_cast<int64_t>(page.Results.size())) << what;
      EXPECT_EQ(other->Count(view, since), page.Total) << what;
    }
  }
  // The lowest result, removed, was the first verified one.
  EXPECT_EQ(store_->Count(std::nullopt, kAllTime), 12);
  EXPECT_EQ(store_->Count(true, kAllTime), 1);
  EXPECT_EQ(store_->Count(std::nullopt, today), 5);  // two imports, three submissions
  EXPECT_EQ(store_->Count(std::nullopt, -86400), 11);
}

// A table from before the counts were kept gets them from its rows when an instance upgrades it.
TEST_P(StoreTest, AnUpgradeCountsTheResultsAlreadyThere) {
  store_.reset();
  const std::vector<std::string> before = {
      "CREATE TABLE schema_version (version INTEGER NOT NULL)", "INSERT INTO schema_version VALUES (1), (2), (3)",
      "INSERT INTO results (time, score, name, player, verified) VALUES (" + std::to_string(kNow) +
          ", 5, 'A', '', false), (" + std::to_string(kNow - 86400) + ", 6, 'B', '', true), (-5, 7, 'C', '', false)"};
  RecreateAtMigration(3, before);
  if (HasFatalFailure()) return;
  store_ = Open();
  EXPECT_EQ(store_->SchemaVersion(), 5);
  EXPECT_EQ(store_->Count(std::nullopt, kAllTime), 3);
  EXPECT_EQ(store_->Count(false, kAllTime), 2);
  EXPECT_EQ(store_->Count(true, kNow - kNow % 86400 - 86400), 1);
  EXPECT_EQ(store_->Count(std::nullopt, -86400), 3);
  EXPECT_EQ(store_->Count(std::nullopt, 0), 2);
  store_->IssueToken("T", "S", kNow);
  ASSERT_EQ(store_->Submit(Sub("T", "S", "D", 8)).Status, SubmitStatus::Stored);
  EXPECT_EQ(store_->Count(false, kNow - kNow % 86400), 2);
}

// What a kept listing answer is checked against: it must change with everything a listing shows
// (results, their verification, their replays' states) and with nothing else.
TEST_P(StoreTest, ListingVersionMovesWithWhatListingsShowAndOnlyThen) {
  auto other = Open();
  ListingVersion v = store_->Version();
  store_->IssueToken("T1", "S1", kNow);
  store_->IssueToken("T2", "S1", kNow);
  EXPECT_EQ(store_->Version(), v) << "a token changes no listing";
  const auto moved = [&](bool verified, bool unverified) {
    const ListingVersion now = other->Version();
    const bool ok = (now.Verified > v.Verified) == verified && (now.Unverified > v.Unverified) == unverified &&
                    now.Verified >= v.Verified && now.Unverified >= v.Unverified;
    v = now;
    return ok;
  };
  const int64_t first = store_->Submit(Sub("T1", "S1", "Bob", 10)).ResultId;
  EXPECT_TRUE(moved(false, true)) << "a new result is unverified";
  EXPECT_EQ(store_->Submit(Sub("T1", "S1", "Bob", 10)).Status, SubmitStatus::Duplicate);
  EXPECT_TRUE(moved(false, false)) << "a retry stores nothing";
  ASSERT_EQ(store_->AttachReplay("T1", "S1", {1}, kNow, nullptr), AttachStatus::Stored);
  EXPECT_TRUE(moved(false, true)) << "its replay is shown as being checked";
  ASSERT_TRUE(store_->ClaimReplay(kNow));
  EXPECT_TRUE(moved(false, false)) << "a claim shows nothing";
  store_->FinishReplay(first, true, "");
  EXPECT_TRUE(moved(true, true)) << "verified: it moves from one view to the other";
  const int64_t second = store_->Submit(Sub("T2", "S1", "Ann", 20)).ResultId;
  EXPECT_TRUE(moved(false, true));
  ASSERT_EQ(store_->AttachReplay("T2", "S1", {1}, kNow, nullptr), AttachStatus::Stored);
  ASSERT_TRUE(store_->ClaimReplay(kNow));
  v = other->Version();
  store_->FinishReplay(second, false, "score differs");
  EXPECT_TRUE(moved(false, true)) << "refused: shown as such in its view";
  ASSERT_TRUE(store_->Remove(first));
  EXPECT_TRUE(moved(true, false));
  std::vector<StoredResult> old(1);
  old[0].Name = "Old";
  ASSERT_EQ(store_->Import(old), 1);
  EXPECT_TRUE(moved(false, true));
}

// A result by id tells what the API shows of it: a verified replay's steps and level, read from its
// header (little-endian, at bytes 40 and 52), and a refused one's reason. Its rank among the
// verified counts only verified results before it.
TEST_P(StoreTest, FindTellsAVerifiedReplaysStepsAndLevelAndARefusalsReason) {
  std::vector<uint8_t> file(120, 0xEE);
  for (size_t i = 0; i < 4; ++i) file[40 + i] = static_cast<uint8_t>(0x04 - i);  // 0x01020304 steps
  file[52] = 7, file[53] = 0, file[54] = 0, file[55] = 0;                        // level 7
  const auto played = [&](const char* token, const char* name, int32_t score, bool verified, const char* why) {
    store_->IssueToken(token, "S", kNow);
    const int64_t id = store_->Submit(Sub(token, "S", name, score)).ResultId;
    EXPECT_EQ(store_->AttachReplay(token, "S", file, kNow, nullptr), AttachStatus::Stored);
    EXPECT_TRUE(store_->ClaimReplay(kNow));
    store_->FinishReplay(id, verified, why);
    return id;
  };
  const int64_t good = played("T1", "Good", 500, true, "");
  const int64_t bad = played("T2", "Bad", 900, false, "The replay departs from its recording at step 512.");
  store_->IssueToken("T3", "S", kNow);
  const int64_t waiting = store_->Submit(Sub("T3", "S", "Wait", 800)).ResultId;
  ASSERT_EQ(store_->AttachReplay("T3", "S", file, kNow, nullptr), AttachStatus::Stored);

  const auto g = store_->Find(good);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Steps, 0x01020304);
  EXPECT_EQ(g->Level, 7);
  EXPECT_EQ(g->ReplayError, "");
  const auto b = store_->Find(bad);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Replay, ReplayState::Rejected);
  EXPECT_EQ(b->ReplayError, "The replay departs from its recording at step 512.");
  EXPECT_FALSE(b->Steps) << "a refused replay's header is only a claim";
  EXPECT_FALSE(b->Level);
  const auto w = store_->Find(waiting);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->Replay, ReplayState::Pending);
  EXPECT_FALSE(w->Steps);
  EXPECT_EQ(store_->Find(good + 100), std::nullopt);

  // The listing gives the reason too, and ranks among the verified skip the others.
  ListQuery unverified;
  unverified.Verified = false;
  const auto rows = store_->List(unverified).Results;
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].ReplayError, "The replay departs from its recording at step 512.");
  EXPECT_EQ(rows[1].ReplayError, "");
  EXPECT_EQ(store_->VerifiedRank(500, kNow, good), 1);
  EXPECT_EQ(store_->VerifiedRank(501, kNow, 1), 1);
  EXPECT_EQ(store_->VerifiedRank(500, kNow + 1, good + 100), 2) << "the same score later";
  EXPECT_EQ(store_->VerifiedRank(500, kNow - 1, good + 100), 1) << "the same score earlier";
  EXPECT_EQ(store_->VerifiedRank(500, kNow, good - 1), 1) << "the same score and time, a lower id";
  EXPECT_EQ(store_->VerifiedRank(500, kNow, good + 1), 2);
  EXPECT_EQ(store_->VerifiedRank(10, kNow, 1000), 2);
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

// Exchanges left unfinished are forgotten: tokens after an hour, and after the kept days the
// unverified results that never got a replay or whose replay was refused. Results with a replay
// being checked, verified ones and recent ones stay.
TEST_P(StoreTest, AbandonedExchangesExpire) {
  constexpr int64_t kDays = 30 * 86400;
  const auto result = [&](const char* token, int64_t at) {
    store_->IssueToken(token, "S", at);
    return store_->Submit(Sub(token, "S", token, 10, at)).ResultId;
  };
  const int64_t old = kNow - kDays - 10;
  const int64_t bare = result("Bare", old), refused = result("Refused", old), checking = result("Checking", old),
                verified = result("Verified", old), recent = result("Recent", kNow - 100);
  for (const char* token : {"Refused", "Checking", "Verified"})
    ASSERT_EQ(store_->AttachReplay(token, "S", {1}, old, nullptr), AttachStatus::Stored);
  for (int i = 0; i < 3; ++i) {
    const auto claimed = store_->ClaimReplay(old);
    ASSERT_TRUE(claimed);
    if (claimed->ResultId != checking) store_->FinishReplay(claimed->ResultId, claimed->ResultId == verified, "no");
    if (claimed->ResultId == checking) break;
  }
  store_->Prune(kNow, 0);  // nothing kept for a limited time
  EXPECT_EQ(store_->List(ListQuery{}).Total, 5);
  store_->Prune(kNow, kDays);
  EXPECT_FALSE(store_->Find(bare));
  EXPECT_FALSE(store_->Find(refused));
  EXPECT_TRUE(store_->Find(checking));
  EXPECT_TRUE(store_->Find(verified));
  EXPECT_TRUE(store_->Find(recent));
  EXPECT_EQ(store_->Count(std::nullopt, kAllTime), 3);  // the kept counts follow
  EXPECT_EQ(store_->Sizes().Tokens, 1);                 // only the recent exchange's
}

// Results imported from the old table's file came through no exchange: however old, and without
// replays, they are history, not abandoned submissions, and pruning keeps them.
TEST_P(StoreTest, ImportedResultsNeverExpire) {
  StoredResult r;
  r.Name = "Ann", r.PlayerName = "P", r.Score = 500, r.Time = kNow - 400 * 86400;
  ASSERT_EQ(store_->Import({r}), 1);
  store_->Prune(kNow, 30 * 86400);
  EXPECT_EQ(Names(store_->List(ListQuery{})), (std::vector<std::string>{"Ann:1"}));
}

// A client's replay bytes a day: an upload that would pass them is refused and not stored; the
// next day, or another client, has its own.
TEST_P(StoreTest, ReplayBytesADayArePerClient) {
  const UploadQuota a{"10.0.0.1", 2500}, b{"10.0.0.2", 2500};
  const std::vector<uint8_t> file(1000, 7);
  const auto attach = [&](const std::string& token, const UploadQuota& q, int64_t at) {
    store_->IssueToken(token, "S", at);
    store_->Submit(Sub(token, "S", token, 10, at));
    return store_->AttachReplay(token, "S", file, at, nullptr, &q);
  };
  EXPECT_EQ(attach("A1", a, kNow), AttachStatus::Stored);
  EXPECT_EQ(attach("A2", a, kNow), AttachStatus::Stored);
  EXPECT_EQ(attach("A3", a, kNow), AttachStatus::OverQuota);
  EXPECT_FALSE(store_->ReplayStateOf(store_->Find(3)->Id));
  EXPECT_EQ(attach("B1", b, kNow), AttachStatus::Stored);
  EXPECT_EQ(attach("A4", a, kNow + 86400), AttachStatus::Stored);
  EXPECT_EQ(store_->Sizes().Replays, 4);
}

// One game verifies one result, whichever instance checks which copy first.
TEST_P(StoreTest, AGameIsClaimedByOneResultOnly) {
  auto other = Open();
  for (const char* token : {"T1", "T2", "T3"}) {
    store_->IssueToken(token, "S", kNow);
    store_->Submit(Sub(token, "S", token, 10));
    ASSERT_EQ(store_->AttachReplay(token, "S", {1}, kNow, nullptr), AttachStatus::Stored);
  }
  EXPECT_EQ(store_->FinishReplay(1, true, "", "00aa"), 0);
  EXPECT_EQ(other->FinishReplay(2, true, "", "00aa"), 1);
  EXPECT_EQ(other->FinishReplay(3, true, "", "00bb"), 0);
  EXPECT_TRUE(store_->Find(1)->Verified);
  EXPECT_FALSE(store_->Find(2)->Verified);
  EXPECT_EQ(store_->Find(2)->ReplayError, SameGameSentence(1));
  EXPECT_EQ(store_->ReplayFile(2)->size(), 0u) << "a refused replay keeps its verdict only";
  EXPECT_TRUE(store_->Find(3)->Verified);
  store_->Remove(1);  // moderation: the game stays claimed
  store_->IssueToken("T4", "S", kNow);
  store_->Submit(Sub("T4", "S", "T4", 10));
  ASSERT_EQ(store_->AttachReplay("T4", "S", {1}, kNow, nullptr), AttachStatus::Stored);
  EXPECT_EQ(store_->FinishReplay(4, true, "", "00aa"), 1);
}

SF_BOTH_DATABASES(StoreTest);

}  // namespace
}  // namespace sf::scores::testing
