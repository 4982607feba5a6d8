// The service's answers, without sockets, on both databases: the game's exchange, the abuse rules,
// the world page, the JSON API, replays, health and metrics.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "Backends.h"
#include "HttpMessage.h"
#include "Metrics.h"
#include "RecordedGames.h"
#include "ReplayVerifier.h"
#include "ReplayWorkers.h"
#include "ScoreService.h"
#include "StaticFiles.h"
#include "StoreSql.h"
#include "Text.h"
#include "web/OnlineScores.h"
#include "web/ScoreCodec.h"

namespace sf::scores::testing {
namespace {

// "T3" and the like, built by appending: GCC 12 misreads "T" + std::to_string(n) as an overlapping copy.
std::string Numbered(const char* prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

class ServiceTest : public BackendTest {
 protected:
  void SetUp() override {
    BackendTest::SetUp();
    config_.VersionPerMinute = 0;  // rate limits off unless a test sets them
    config_.SubmitPerMinute = 0;
    config_.ReplayPerMinute = 0;
  }
  void TearDown() override {
    web_.reset();
    if (!webDir_.empty()) std::filesystem::remove_all(webDir_);
    BackendTest::TearDown();
  }

  ScoreService Make(ReplayWorkers* replays = nullptr, const StaticFiles* web = nullptr) {
    return ScoreService(*store_, config_,
                        ServiceEnvironment{[this] { return now_; }, [this] { return nowMs_; },
                                           [this] {
                                             char id[40];
                                             std::snprintf(id, sizeof id, "%032X", ++ids_);
                                             return std::string(id);
                                           }},
                        &metrics_, replays, web);
  }
  // A browser build to serve beside the service (--web): a folder with a page.
  const StaticFiles* Web() {
    webDir_ = std::filesystem::temp_directory_path() /
              ("sf_web_" + std::to_string(::getpid()) + "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(webDir_);
    std::ofstream(webDir_ / "index.html") << "<!DOCTYPE html><title>Salt Fang</title>";
    web_ = std::make_unique<StaticFiles>(webDir_);
    return web_.get();
  }

  static HttpRequest Get(const std::string& target, const std::string& cookie = {},
                         const std::string& peer = "10.0.0.1") {
    HttpRequest r;
    r.Method = "GET";
    r.Target = target;
    r.Cookie = cookie;
    r.Peer = peer;
    return r;
  }
  // The game's replay upload for the result sent with token.
  static HttpRequest ReplayPost(const std::string& token, const std::string& cookie, std::string body) {
    HttpRequest r = Get("/api/replays?p=" + token, cookie);
    r.Method = "POST";
    r.Body = std::move(body);
    return r;
  }
  static std::string Path(const std::string& url) { return url.substr(url.find("/cgi/")); }
  static std::string Submission(const std::string& name, int32_t score, const std::string& token,
                                const std::string& player = "Pl") {
    return Path(SubmitionUrlFor(name, score, token, player));
  }
  static std::string SubmitionUrlFor(const std::string& name, int32_t score, const std::string& token,
                                     const std::string& player) {
    return SubmissionUrl(BitStringToSymbols(BytesToBitString(ResultString(name, score, token, player))), "http://x");
  }

  // The version reply's token and the cookie pair it set.
  std::pair<std::string, std::string> AskVersion(ScoreService& service, const std::string& cookie = {}) {
    const HttpResponse r = service.Handle(Get(Path(VersionQueryUrl("http://x")), cookie));
    EXPECT_EQ(r.Status, 200);
    const std::string set = r.SetCookie.substr(0, r.SetCookie.find(';'));
    return {ServerField(r.Bytes()), set.empty() ? cookie : set};
  }
  int Send(ScoreService& service, const std::string& name, int32_t score) {
    const auto [token, cookie] = AskVersion(service);
    return service.Handle(Get(Submission(name, score, token), cookie)).Status;
  }
  std::vector<StoredResult> All() { return store_->List(ListQuery{}).Results; }
  // Sends a result and its replay, and waits until the replay has been checked.
  void SendPlayed(ScoreService& service, ReplayWorkers& workers, const std::string& name, int32_t score,
                  const std::string& replay) {
    const auto [token, cookie] = AskVersion(service);
    ASSERT_EQ(service.Handle(Get(Submission(name, score, token), cookie)).Status, 200);
    ASSERT_EQ(service.Handle(ReplayPost(token, cookie, replay)).Status, 202);
    workers.Drain();
  }
  static std::string Header(const HttpResponse& r, const std::string& name) {
    for (const auto& [n, v] : r.Headers)
      if (n == name) return v;
    return {};
  }

  ServiceConfig config_;
  Metrics metrics_;
  int64_t now_ = 1'700'000'000;
  int64_t nowMs_ = 0;
  int ids_ = 0;
  std::filesystem::path webDir_;
  std::unique_ptr<StaticFiles> web_;
};

TEST_P(ServiceTest, TokenWorksOnceAndOnlyWithItsCookie) {
  ScoreService service = Make();
  const auto [token, cookie] = AskVersion(service);
  ASSERT_FALSE(token.empty());
  ASSERT_EQ(cookie.rfind("sfsid=", 0), 0u);

  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token))).Status, 403);                 // no cookie
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), "sfsid=OTHER")).Status, 403);  // foreign
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, "made-up"), cookie)).Status, 403);
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 200);
  // The same request again (its reply was lost): success, stored once. Another result: refused.
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 200);
  EXPECT_EQ(service.Handle(Get(Submission("Eve", 9999, token), cookie)).Status, 403);
  const auto all = All();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].Name, "Bob");
  EXPECT_EQ(all[0].Score, 1200);
  EXPECT_EQ(all[0].PlayerName, "Pl");

  // The same session gets a fresh token and keeps its cookie.
  const auto [second, sameCookie] = AskVersion(service, cookie);
  EXPECT_NE(second, token);
  EXPECT_EQ(sameCookie, cookie);
  EXPECT_EQ(service.Handle(Get(Submission("Cid", 50, second), cookie)).Status, 200);
}

TEST_P(ServiceTest, TokensExpire) {
  ScoreService service = Make();
  const auto [token, cookie] = AskVersion(service);
  now_ += kTokenLifetimeSeconds + 1;
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 403);
  EXPECT_TRUE(All().empty());
}

TEST_P(ServiceTest, GameRetryAfterALostReplyIsStoredOnce) {
  ScoreService service = Make();
  const auto [first, cookie] = AskVersion(service);
  ASSERT_EQ(service.Handle(Get(Submission("Bob", 1200, first), cookie)).Status, 200);
  // The game saw a failure and runs the whole exchange again: new token, same cookie jar.
  const auto [second, sameCookie] = AskVersion(service, cookie);
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, second), sameCookie)).Status, 200);
  EXPECT_EQ(All().size(), 1u);
}

TEST_P(ServiceTest, RefusesWhatIsNotASubmissionAndStoresNothing) {
  config_.MaxScore = 1000000;
  ScoreService service = Make();
  const auto [token, cookie] = AskVersion(service);
  const std::string base = "/cgi/version.pl?hs&prg=Saltfang";
  for (const std::string& target :
       {base, base + "&inf=", base + "&inf=%3Cscript%3E", base + "&inf=" + std::string(5000, 'A'), base + "&inf=%",
        base + "&inf=%zz", Submission("Bob", 1000001, token), Submission("Bob", INT32_MAX, token),
        Submission(std::string(40, 'x'), 5, token), Submission("tab\there", 5, token),
        std::string("/cgi/version.pl?version&hs&prg=Saltfang")}) {
    const int status = service.Handle(Get(target, cookie)).Status;
    EXPECT_GE(status, 400) << target;
    EXPECT_LT(status, 500) << target;
  }
  EXPECT_EQ(service.Handle(Get("/cgi/version.pl?version&prg=Other")).Status, 404);
  EXPECT_EQ(service.Handle(Get("/cgi/other.pl?version&prg=Saltfang")).Status, 404);
  HttpRequest post = Get("/cgi/version.pl?version&prg=Saltfang");
  post.Method = "POST";
  EXPECT_EQ(service.Handle(post).Status, 405);
  EXPECT_TRUE(All().empty());
  // The token was not spent by the refusals; the highest allowed score goes in.
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1000000, token), cookie)).Status, 200);
}

TEST_P(ServiceTest, HeadChangesNothing) {
  ScoreService service = Make();
  const auto [token, cookie] = AskVersion(service);
  HttpRequest head = Get(Submission("Bob", 1200, token), cookie);
  head.Method = "HEAD";
  EXPECT_EQ(service.Handle(head).Status, 200);
  EXPECT_EQ(service.Handle(head).Status, 200);
  EXPECT_TRUE(All().empty());
  head.Target = Path(VersionQueryUrl("http://x"));
  const HttpResponse version = service.Handle(head);
  EXPECT_TRUE(version.SetCookie.empty());
  EXPECT_EQ(ids_, 2);  // the first version query's session and token only
  // The token still works for the real submission.
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 200);
}

TEST_P(ServiceTest, RateLimitsArePerClientAndRecover) {
  config_.VersionPerMinute = 60;
  config_.VersionBurst = 3;
  config_.SubmitPerMinute = 60;
  config_.SubmitBurst = 2;
  ScoreService service = Make();
  const std::string version = Path(VersionQueryUrl("http://x"));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(service.Handle(Get(version)).Status, 200);
  const HttpResponse refused = service.Handle(Get(version));
  EXPECT_EQ(refused.Status, 429);
  EXPECT_EQ(service.Handle(Get(version, "", "10.0.0.2")).Status, 200);  // another client is not affected
  nowMs_ += 1000;                                                       // one more a second
  EXPECT_EQ(service.Handle(Get(version)).Status, 200);
  EXPECT_EQ(service.Handle(Get(version)).Status, 429);

  nowMs_ += 60000;
  const auto [token, cookie] = AskVersion(service);
  EXPECT_EQ(service.Handle(Get(Submission("A", 1, token), cookie)).Status, 200);
  EXPECT_EQ(service.Handle(Get(Submission("A", 1, token), cookie)).Status, 200);
  EXPECT_EQ(service.Handle(Get(Submission("A", 1, token), cookie)).Status, 429);
}

TEST_P(ServiceTest, NameSearchesHaveTheirOwnLimitAndPlainListingsNone) {
  config_.SearchPerMinute = 60;
  config_.SearchBurst = 2;
  ScoreService service = Make();
  EXPECT_EQ(service.Handle(Get("/api/scores?name=bob")).Status, 200);
  EXPECT_EQ(service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0&q=bob")).Status, 200);
  EXPECT_EQ(service.Handle(Get("/api/scores?name=ann")).Status, 429);
  EXPECT_EQ(service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0&q=ann")).Status, 429);
  for (int i = 0; i < 10; ++i) {  // the pages themselves stay open
    EXPECT_EQ(service.Handle(Get("/api/scores")).Status, 200);
    EXPECT_EQ(service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0")).Status, 200);
  }
  EXPECT_EQ(service.Handle(Get("/api/scores?name=bob", "", "10.0.0.2")).Status, 200);  // another client
  nowMs_ += 1000;
  EXPECT_EQ(service.Handle(Get("/api/scores?name=bob")).Status, 200);
}

TEST_P(ServiceTest, ForwardedClientIsBelievedOnlyFromTheTrustedProxy) {
  config_.TrustedProxy = "127.0.0.1";
  ScoreService service = Make();
  HttpRequest r = Get("/healthz", "", "127.0.0.1");
  r.Headers.emplace_back("X-Forwarded-For", "6.6.6.6, 203.0.113.9");
  EXPECT_EQ(service.ClientAddress(r), "203.0.113.9");  // the entry the proxy itself added
  r.Peer = "10.0.0.5";
  EXPECT_EQ(service.ClientAddress(r), "10.0.0.5");
  r.Peer = "127.0.0.1";
  r.Headers.back().second = "<script>";
  EXPECT_EQ(service.ClientAddress(r), "127.0.0.1");
}

TEST_P(ServiceTest, WorldPageListsTheBestWithNamesEscaped) {
  ScoreService service = Make();
  for (const auto& [name, score] :
       {std::pair<std::string, int32_t>{"<b>&", 300}, {"Top", 900}, {"Mid", 500}, {"J\xF6rg", 100}}) {
    ASSERT_EQ(Send(service, name, score), 200);
  }
  const HttpResponse page = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified"));
  EXPECT_EQ(page.Status, 200);
  EXPECT_EQ(page.ContentType, "text/html; charset=utf-8");
  EXPECT_EQ(page.Bytes().find("<b>&"), std::string::npos);
  const size_t top = page.Bytes().find(">Top<"), mid = page.Bytes().find(">Mid<"),
               low = page.Bytes().find("&lt;b&gt;&amp;");
  ASSERT_NE(low, std::string::npos);
  EXPECT_LT(top, mid);
  EXPECT_LT(mid, low);
  EXPECT_NE(page.Bytes().find(">J\xC3\xB6rg<"), std::string::npos);  // the game's code page, shown as UTF-8

  // Verified results are the default view; nothing is verified yet.
  const HttpResponse verified = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0"));
  EXPECT_EQ(verified.Bytes().find(">Top<"), std::string::npos);
  EXPECT_NE(verified.Bytes().find("No results here yet"), std::string::npos);
}

TEST_P(ServiceTest, WorldPagePeriodsSearchAndPages) {
  ScoreService service = Make();
  for (int i = 0; i < 60; ++i) ASSERT_EQ(Send(service, Numbered("P", i), 1000 + i), 200);
  now_ += 8 * 86400;
  ASSERT_EQ(Send(service, "Fresh", 5), 200);
  const std::string base = "/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified";

  const std::string first = service.Handle(Get(base)).Bytes();
  EXPECT_NE(first.find(">P59<"), std::string::npos);
  EXPECT_EQ(first.find(">P9<"), std::string::npos);  // rank 51: on page 2
  EXPECT_NE(first.find("Page 1 of 2"), std::string::npos);
  EXPECT_NE(first.find("page=2"), std::string::npos);
  const std::string second = service.Handle(Get(base + "&page=2")).Bytes();
  EXPECT_NE(second.find(">P9<"), std::string::npos);
  EXPECT_NE(second.find(">Fresh<"), std::string::npos);

  const std::string week = service.Handle(Get(base + "&period=week")).Bytes();
  EXPECT_NE(week.find(">Fresh<"), std::string::npos);
  EXPECT_EQ(week.find(">P59<"), std::string::npos);
  const std::string searched = service.Handle(Get(base + "&q=p5")).Bytes();  // what the search form sends
  EXPECT_NE(searched.find(">P55<"), std::string::npos);
  EXPECT_EQ(searched.find(">P44<"), std::string::npos);
  EXPECT_NE(searched.find("value=\"p5\""), std::string::npos);

  for (const char* bad : {"&period=year", "&page=0", "&page=x", "&view=all", "&q=%FF", "&q=%"})
    EXPECT_EQ(service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0" + std::string(bad))).Status, 400) << bad;
}

// What a visitor reads under the table: numbers in plain words, a page past the end shown as the
// last page, and a search that found nothing said to be one.
TEST_P(ServiceTest, WorldPageCountsInPlainWordsAndNeverShowsAPagePastTheEnd) {
  ScoreService service = Make();
  const std::string base = "/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified";
  ASSERT_EQ(Send(service, "Solo", 10), 200);
  EXPECT_NE(service.Handle(Get(base)).Bytes().find("Page 1 of 1 &middot; 1 result<"), std::string::npos);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Send(service, Numbered("P", i), 20 + i), 200);
  const std::string past = service.Handle(Get(base + "&page=9")).Bytes();
  EXPECT_EQ(past.find("Page 9"), std::string::npos);
  EXPECT_NE(past.find("Page 1 of 1 &middot; 4 results<"), std::string::npos);
  EXPECT_NE(past.find(">Solo<"), std::string::npos) << "the last page's rows";
  EXPECT_EQ(past.find("rel=\"next\""), std::string::npos);

  for (int i = 3; i < 60; ++i) ASSERT_EQ(Send(service, Numbered("P", i), 20 + i), 200);
  const std::string last = service.Handle(Get(base + "&page=7")).Bytes();
  EXPECT_NE(last.find("Page 2 of 2 &middot; 61 results<"), std::string::npos);
  EXPECT_NE(last.find(">Solo<"), std::string::npos);
  EXPECT_NE(last.find("rel=\"prev\""), std::string::npos);

  const std::string none = service.Handle(Get(base + "&q=zz%3Cb%3E")).Bytes();
  EXPECT_EQ(none.find("No results here yet"), std::string::npos);
  EXPECT_NE(none.find("No name matches \u201czz&lt;b&gt;\u201d."), std::string::npos);
  EXPECT_EQ(none.find("Page 1 of 1"), std::string::npos) << "no page count for an empty search";
}

// The unverified view says which results wait for their replay to be checked, which were refused
// and which have none; the page says what the two views mean.
TEST_P(ServiceTest, UnverifiedViewTellsARefusedReplayFromOneBeingChecked) {
  ScoreService service = Make();
  for (const char* name : {"None", "Wait", "Bad", "Good"}) ASSERT_EQ(Send(service, name, 100), 200);
  // Replays for Wait (2), Bad (3) and Good (4); Bad's did not give the score, Good's did.
  const auto attach = [&](int64_t id) {
    // Each Send took two identifiers, its session and its token: result id has 2 id - 1 and 2 id.
    char token[40];
    std::snprintf(token, sizeof token, "%032X", static_cast<unsigned>(2 * id));
    char session[40];
    std::snprintf(session, sizeof session, "%032X", static_cast<unsigned>(2 * id - 1));
    return store_->AttachReplay(token, session, {1, 2}, now_, nullptr);
  };
  ASSERT_EQ(attach(3), AttachStatus::Stored);
  ASSERT_EQ(attach(4), AttachStatus::Stored);
  for (int i = 0; i < 2; ++i) {
    const auto claimed = store_->ClaimReplay(now_);
    ASSERT_TRUE(claimed);
    store_->FinishReplay(claimed->ResultId, claimed->ResultId == 4, claimed->ResultId == 4 ? "" : "score differs");
  }
  ASSERT_EQ(attach(2), AttachStatus::Stored);
  const std::string page = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified")).Bytes();
  const auto row = [&](const std::string& name) {
    const size_t at = page.find(">" + name + "<");
    if (at == std::string::npos) return std::string();
    return page.substr(at, page.find("</tr>", at) - at);
  };
  EXPECT_NE(row("None").find("no replay"), std::string::npos) << row("None");
  EXPECT_NE(row("Wait").find("being checked"), std::string::npos) << row("Wait");
  EXPECT_NE(row("Bad").find("refused"), std::string::npos) << row("Bad");
  // The refusal's reason, on a line of its own below its row; only a refusal has one.
  EXPECT_NE(page.find("refused</td></tr>\n<tr class=\"why\"><td></td><td colspan=\"5\">score differs</td></tr>"),
            std::string::npos)
      << page;
  EXPECT_EQ(page.find("class=\"why\""), page.rfind("class=\"why\""));
  EXPECT_EQ(row("Good"), "") << "verified: not in this view";
  for (const std::string& target : {std::string("/cgi/version.pl?prg=Saltfang&show&type=0"),
                                    std::string("/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified")}) {
    const std::string text = service.Handle(Get(target)).Bytes();
    EXPECT_NE(text.find("<p class=\"about\">Verified results were played again"), std::string::npos) << target;
    EXPECT_NE(text.find("refused: their replay did not give their score"), std::string::npos) << target;
  }
}

// A result sent without a name is listed as "Anonymous", as the default table names its entries;
// the table keeps the name as it came.
TEST_P(ServiceTest, ABlankNameIsShownAsAnonymousAndKeptAsSent) {
  ScoreService service = Make();
  ASSERT_EQ(Send(service, "", 300), 200);
  ASSERT_EQ(Send(service, "   ", 200), 200);
  const std::string page = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified")).Bytes();
  const size_t first = page.find("<td>Anonymous</td><td class=\"n\">300<");
  EXPECT_NE(first, std::string::npos);
  EXPECT_NE(page.find("<td>Anonymous</td><td class=\"n\">200<"), std::string::npos);
  const std::string json = service.Handle(Get("/api/scores")).Bytes();
  EXPECT_NE(json.find("\"name\":\"Anonymous\",\"score\":300"), std::string::npos) << json;
  EXPECT_NE(json.find("\"name\":\"Anonymous\",\"score\":200"), std::string::npos) << json;
  const auto all = All();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].Name, "");
  EXPECT_EQ(all[1].Name, "   ");
}

TEST_P(ServiceTest, JsonApiListsResults) {
  ScoreService service = Make();
  ASSERT_EQ(Send(service, "Q\"<x>", 300), 200);
  ASSERT_EQ(Send(service, "Top", 900), 200);
  const HttpResponse r = service.Handle(Get("/api/scores?period=all&limit=1&offset=1"));
  EXPECT_EQ(r.Status, 200);
  EXPECT_EQ(r.ContentType, "application/json");
  EXPECT_EQ(r.Bytes(),
            "{\"results\":[{\"id\":1,\"rank\":2,\"name\":\"Q\\\"\\u003cx\\u003e\",\"score\":300,\"player\":\"Pl\","
            "\"time\":\"2023-11-14T22:13:20Z\",\"verified\":false,\"replay\":null,\"watch\":null}],\"total\":2}\n");
  EXPECT_NE(service.Handle(Get("/api/scores?name=to")).Bytes().find("\"Top\""), std::string::npos);
  EXPECT_EQ(service.Handle(Get("/api/scores?verified=1")).Bytes(), "{\"results\":[],\"total\":0}\n");
  for (const char* bad : {"?limit=0", "?limit=101", "?limit=-1", "?offset=x", "?period=month", "?verified=yes"})
    EXPECT_EQ(service.Handle(Get(std::string("/api/scores") + bad)).Status, 400) << bad;
}

// Listings are answered from memory while their view of the table is unchanged, whichever
// instance changed it; the verified view stays kept while new (unverified) results come in.
TEST_P(ServiceTest, ListingsAreKeptUntilAnyInstanceChangesTheirView) {
  ScoreService service = Make();
  ASSERT_EQ(Send(service, "Ann", 500), 200);
  const std::string unverified = "/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified";
  const std::string verified = "/cgi/version.pl?prg=Saltfang&show&type=0";
  const std::string first = service.Handle(Get(unverified)).Bytes();
  service.Handle(Get(verified));
  service.Handle(Get("/api/scores?period=week"));
  const auto kept = [&] {
    const std::string text = metrics_.Render(), label = "saltfang_listings_total{source=\"kept\"} ";
    const size_t at = text.find(label);
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + label.size()));
  };
  EXPECT_EQ(kept(), 0);
  EXPECT_EQ(service.Handle(Get(unverified)).Bytes(), first);
  EXPECT_EQ(kept(), 1);

  // Another instance on the same database stores a result: the next listing shows it.
  auto otherStore = Open();
  ScoreService other(*otherStore, config_,
                     ServiceEnvironment{[this] { return now_; }, [this] { return nowMs_; },
                                        [this] {
                                          char id[40];
                                          std::snprintf(id, sizeof id, "%032X", 1000 + ++ids_);
                                          return std::string(id);
                                        }});
  ASSERT_EQ(Send(other, "Bea", 700), 200);
  const std::string second = service.Handle(Get(unverified)).Bytes();
  EXPECT_NE(second.find(">Bea<"), std::string::npos);
  EXPECT_NE(service.Handle(Get("/api/scores?period=week")).Bytes().find("\"Bea\""), std::string::npos);
  EXPECT_EQ(kept(), 1);
  service.Handle(Get(verified));
  EXPECT_EQ(kept(), 2) << "the verified view did not change";
  // Removed by moderation from yet another connection: gone from the page.
  ASSERT_TRUE(Open()->Remove(2));
  EXPECT_EQ(service.Handle(Get(unverified)).Bytes(), first);
}

TEST_P(ServiceTest, ListingsCarryAValidatorAndAnswer304WhileItHolds) {
  ScoreService service = Make();
  ASSERT_EQ(Send(service, "Ann", 500), 200);
  const std::string target = "/api/scores?verified=0";
  const HttpResponse full = service.Handle(Get(target));
  ASSERT_EQ(full.Status, 200);
  std::string etag, cache;
  for (const auto& [name, value] : full.Headers) {
    if (name == "ETag") etag = value;
    if (name == "Cache-Control") cache = value;
  }
  ASSERT_EQ(etag.size(), 18u) << etag;
  EXPECT_EQ(cache, "public, max-age=0, s-maxage=1");
  HttpRequest again = Get(target);
  again.Headers.emplace_back("If-None-Match", "\"0000000000000000\", " + etag);
  const HttpResponse same = service.Handle(again);
  EXPECT_EQ(same.Status, 304);
  EXPECT_TRUE(same.Bytes().empty());
  ASSERT_EQ(Send(service, "Bea", 700), 200);
  const HttpResponse changed = service.Handle(again);
  EXPECT_EQ(changed.Status, 200);
  EXPECT_NE(changed.Bytes().find("Bea"), std::string::npos);
  // The version query and the submission are never kept by anyone.
  const HttpResponse version = service.Handle(Get(Path(VersionQueryUrl("http://x"))));
  ASSERT_FALSE(version.Headers.empty());
  EXPECT_EQ(version.Headers.back(), (std::pair<std::string, std::string>{"Cache-Control", "no-store"}));
}

// Pages far down read every row above them and a name search its whole period: they are counted
// against the client's rows a minute. Pages near the top and answers kept in memory cost nothing.
TEST_P(ServiceTest, DeepPagesAndSearchesAreCountedByTheRowsTheyRead) {
  config_.ReadRowsPerMinute = 100;
  config_.FreeReadRows = 10;
  config_.SearchPerMinute = 0;
  std::vector<StoredResult> many(60);
  for (int i = 0; i < 60; ++i)
    many[static_cast<size_t>(i)].Name = Numbered("R", i), many[static_cast<size_t>(i)].Score = i;
  ASSERT_EQ(store_->Import(many), 60);
  ScoreService service = Make();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(service.Handle(Get("/api/scores?limit=10")).Status, 200) << "free";
  EXPECT_EQ(service.Handle(Get("/api/scores?limit=10&offset=40")).Status, 200);  // 50 rows
  EXPECT_EQ(service.Handle(Get("/api/scores?limit=10&offset=45")).Status, 429);  // 55 more: 50 left
  EXPECT_EQ(service.Handle(Get("/api/scores?limit=10&offset=40")).Status, 200) << "kept: free";
  EXPECT_EQ(service.Handle(Get("/api/scores?limit=10&offset=45", "", "10.0.0.2")).Status, 200) << "another client";
  nowMs_ += 3000;  // 5 rows back
  EXPECT_EQ(service.Handle(Get("/api/scores?limit=10&offset=44")).Status, 200);
  EXPECT_EQ(service.Handle(Get("/api/scores?name=R1")).Status, 429) << "a search reads all 60";
  nowMs_ += 36000;
  EXPECT_EQ(service.Handle(Get("/api/scores?name=R1")).Status, 200);
  // Past the end nothing is read: the answer is empty at the cost of the page's own rows.
  EXPECT_EQ(service.Handle(Get("/api/scores?limit=5&offset=1000000", "", "10.0.0.3")).Bytes(),
            "{\"results\":[],\"total\":60}\n");
}

// With PostgreSQL every instance counts against the same buckets; with SQLite each instance counts
// its own (one machine runs one).
TEST_P(ServiceTest, RateLimitsAreSharedByTheInstancesOfASharedDatabase) {
  config_.VersionPerMinute = 60;
  config_.VersionBurst = 3;
  ScoreService a = Make();
  auto otherStore = Open();
  ScoreService b(*otherStore, config_,
                 ServiceEnvironment{[this] { return now_; }, [this] { return nowMs_; },
                                    [this] {
                                      char id[40];
                                      std::snprintf(id, sizeof id, "%032X", 1000 + ++ids_);
                                      return std::string(id);
                                    }});
  const std::string version = Path(VersionQueryUrl("http://x"));
  int allowed = 0;
  for (int i = 0; i < 6; ++i) allowed += (i % 2 ? a : b).Handle(Get(version)).Status == 200;
  EXPECT_EQ(allowed, GetParam() == "postgres" ? 3 : 6);
  nowMs_ += 1000;
  EXPECT_EQ(a.Handle(Get(version)).Status, 200);
}

// Answers what it is told for every file.
class FakeVerifier : public ReplayVerifier {
 public:
  replay::Verdict Verify(std::span<const std::uint8_t> file) override {
    std::lock_guard lock(mutex_);
    ++calls;
    replay::Verdict v = next;
    v.steps = static_cast<uint32_t>(file.size());
    return v;
  }
  std::mutex mutex_;
  replay::Verdict next;
  int calls = 0;
};

TEST_P(ServiceTest, ReplaysAreAcceptedOncePerResultAndVerified) {
  FakeVerifier verifier;
  verifier.next.ok = true;
  verifier.next.score = 1200;
  verifier.next.claimedScore = 1200;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 2, 8, 60000);
  ScoreService service = Make(&workers);
  const auto [token, cookie] = AskVersion(service);
  ASSERT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 200);

  HttpRequest post = ReplayPost(token, cookie, std::string("REPLAY\0DATA", 11));
  HttpRequest noCookie = post;
  noCookie.Cookie.clear();
  EXPECT_EQ(service.Handle(noCookie).Status, 403);
  HttpRequest wrongToken = post;
  wrongToken.Target = "/api/replays?p=00000000000000000000000000000000";
  EXPECT_EQ(service.Handle(wrongToken).Status, 403);
  HttpRequest empty = post;
  empty.Body.clear();
  EXPECT_EQ(service.Handle(empty).Status, 400);
  HttpRequest huge = post;
  huge.Body.assign(kMaxReplayBytes + 1, 'x');
  EXPECT_EQ(service.Handle(huge).Status, 413);
  EXPECT_EQ(service.Handle(post).Status, 202);
  EXPECT_EQ(service.Handle(post).Status, 409);
  workers.Drain();
  EXPECT_EQ(verifier.calls, 1);

  const std::string json = service.Handle(Get("/api/scores?verified=1")).Bytes();
  EXPECT_NE(json.find("\"name\":\"Bob\""), std::string::npos);
  EXPECT_NE(json.find("\"verified\":true"), std::string::npos);
  const std::string page = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0")).Bytes();
  EXPECT_NE(page.find("/api/replays/1\""), std::string::npos);
  const HttpResponse download = service.Handle(Get("/api/replays/1"));
  EXPECT_EQ(download.Status, 200);
  EXPECT_EQ(download.ContentType, "application/octet-stream");
  EXPECT_EQ(download.Bytes(), post.Body);
  EXPECT_EQ(download.Headers.at(0).second, "attachment; filename=\"saltfang-1.replay\"");
  EXPECT_EQ(service.Handle(Get("/api/replays/2")).Status, 404);
  EXPECT_EQ(service.Handle(Get("/api/replays/x")).Status, 404);
}

TEST_P(ServiceTest, ReplayMustConfirmTheSubmittedScoreTwice) {
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers);
  struct Case {
    bool ok;
    int64_t score, claimed;
  };
  // Played to a different score; header claims another; did not play to the end; all agree.
  const Case cases[] = {{true, 1199, 1200}, {true, 1200, 1300}, {false, 1200, 1200}, {true, 1200, 1200}};
  for (const Case& c : cases) {
    verifier.next.ok = c.ok;
    verifier.next.score = c.score;
    verifier.next.claimedScore = c.claimed;
    verifier.next.error = c.ok ? "" : "the file ends early";
    const auto [token, cookie] = AskVersion(service);
    ASSERT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 200);
    now_ += kDuplicateWindowSeconds + 1;  // each a game of its own
    const HttpRequest post = ReplayPost(token, cookie, "R");
    ASSERT_EQ(service.Handle(post).Status, 202);
    workers.Drain();
  }
  EXPECT_EQ(store_->ReplayStateOf(1), ReplayState::Rejected);
  EXPECT_EQ(store_->ReplayStateOf(2), ReplayState::Rejected);
  EXPECT_EQ(store_->ReplayStateOf(3), ReplayState::Rejected);
  EXPECT_EQ(store_->ReplayStateOf(4), ReplayState::Verified);
  ListQuery q;
  q.Verified = true;
  EXPECT_EQ(store_->List(q).Total, 1);
}

TEST_P(ServiceTest, FullReplayQueueIsRefusedAndNothingIsStored) {
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 0, 60000);  // no room at all
  ScoreService service = Make(&workers);
  const auto [token, cookie] = AskVersion(service);
  ASSERT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 200);
  const HttpRequest post = ReplayPost(token, cookie, "R");
  EXPECT_EQ(service.Handle(post).Status, 503);
  EXPECT_FALSE(store_->ReplayStateOf(1));
}

// A verified result links its replay's download and, when the service serves the browser build,
// the replay mode that plays it there; no other result links either. The JSON API gives the same
// addresses.
TEST_P(ServiceTest, WatchLinksOnlyForVerifiedReplaysAndOnlyBesideTheBrowserBuild) {
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService plain = Make(&workers);
  ScoreService withWeb = Make(&workers, Web());
  verifier.next.ok = true;
  verifier.next.score = verifier.next.claimedScore = 900;
  SendPlayed(withWeb, workers, "Good", 900, "R");  // 1: verified
  verifier.next.score = 800;
  SendPlayed(withWeb, workers, "Bad", 900, "R");  // 2: refused
  ASSERT_EQ(Send(withWeb, "None", 700), 200);     // 3: no replay
  const auto count = [](const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  const std::string verified = "/cgi/version.pl?prg=Saltfang&show&type=0";
  const std::string unverified = verified + "&view=unverified";
  const std::string watching = withWeb.Handle(Get(verified)).Bytes();
  EXPECT_EQ(count(watching, "?watch="), 1);
  EXPECT_NE(watching.find("<a class=\"watch\" href=\"/?watch=1\""), std::string::npos);
  EXPECT_NE(watching.find("href=\"/api/replays/1\""), std::string::npos) << "the download stays";
  const std::string without = plain.Handle(Get(verified)).Bytes();
  EXPECT_EQ(count(without, "?watch="), 0);
  EXPECT_NE(without.find("href=\"/api/replays/1\""), std::string::npos);
  for (ScoreService* service : {&plain, &withWeb}) {
    const std::string page = service->Handle(Get(unverified)).Bytes();
    ASSERT_NE(page.find(">Bad"), std::string::npos);
    EXPECT_EQ(count(page, "?watch="), 0);
    EXPECT_EQ(count(page, "/api/replays/"), 0);
  }

  const std::string json = withWeb.Handle(Get("/api/scores")).Bytes();
  EXPECT_NE(json.find("\"name\":\"Good\",\"score\":900,\"player\":\"Pl\",\"time\":\"2023-11-14T22:13:20Z\","
                      "\"verified\":true,\"replay\":\"/api/replays/1\",\"watch\":\"/?watch=1\"}"),
            std::string::npos)
      << json;
  EXPECT_EQ(count(json, "\"replay\":null,\"watch\":null"), 2) << json;
  const std::string plainJson = plain.Handle(Get("/api/scores?verified=1")).Bytes();
  EXPECT_NE(plainJson.find("\"verified\":true,\"replay\":\"/api/replays/1\",\"watch\":null}"), std::string::npos)
      << plainJson;
}

// A result played again from a real replay, and one whose replay was changed after recording: the
// refusal's reason names the step and game time where it departs, on the world page's unverified
// view and in the result's JSON; the verified one tells its steps and level.
TEST_P(ServiceTest, ARefusedReplaysReasonNamesWhereItDepartsOnThePageAndInTheApi) {
  const replay::ScriptedGame& game = ShortGame();
  const std::vector<uint8_t> forged = Departing(game);
  const replay::Verdict expected = replay::PlayBack(forged, replay::Limits{});
  ASSERT_FALSE(expected.ok);
  ASSERT_GT(expected.departureStep, 0u) << expected.error;
  ASSERT_NE(expected.error.find("departs from its recording at step " + std::to_string(expected.departureStep)),
            std::string::npos)
      << expected.error;
  const auto verifier = MakeReplayVerifier(replay::Limits{});
  ReplayWorkers workers(
      *store_, *verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers, Web());
  SendPlayed(service, workers, "Bob", game.Score, AsBody(game.File));  // 1
  SendPlayed(service, workers, "Forger", game.Score, AsBody(forged));  // 2

  const std::string page = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified")).Bytes();
  const size_t row = page.find(">Forger<");
  ASSERT_NE(row, std::string::npos) << page;
  const size_t below = page.find("</tr>\n", row) + 6;
  const std::string reason =
      "<tr class=\"why\"><td></td><td colspan=\"5\">" + HtmlEscape(expected.error) + "</td></tr>";
  EXPECT_EQ(page.compare(below, reason.size(), reason), 0) << page;

  const HttpResponse honest = service.Handle(Get("/api/results/1"));
  EXPECT_EQ(honest.Status, 200);
  EXPECT_EQ(honest.ContentType, "application/json");
  EXPECT_EQ(honest.Bytes(), "{\"id\":1,\"name\":\"Bob\",\"player\":\"Pl\",\"score\":" + std::to_string(game.Score) +
                                ",\"level\":" + std::to_string(game.Level) +
                                ",\"date\":\"2023-11-14T22:13:20Z\",\"timestamp\":1700000000,\"rank\":1,\"steps\":" +
                                std::to_string(game.Steps) +
                                ",\"verified\":true,\"replay_status\":\"verified\",\"reason\":null,"
                                "\"replay\":\"/api/replays/1\",\"watch\":\"/?watch=1\"}\n");
  const HttpResponse forger = service.Handle(Get("/api/results/2"));
  EXPECT_EQ(forger.Status, 200);
  EXPECT_EQ(forger.Bytes(), "{\"id\":2,\"name\":\"Forger\",\"player\":\"Pl\",\"score\":" + std::to_string(game.Score) +
                                ",\"level\":null,\"date\":\"2023-11-14T22:13:20Z\",\"timestamp\":1700000000,"
                                "\"rank\":null,\"steps\":null,\"verified\":false,\"replay_status\":\"refused\","
                                "\"reason\":\"" +
                                JsonEscape(expected.error) + "\",\"replay\":null,\"watch\":null}\n");
  EXPECT_EQ(service.Handle(Get("/api/replays/1")).Bytes(), AsBody(game.File));
  EXPECT_EQ(service.Handle(Get("/api/replays/2")).Status, 404) << "a refused replay is not handed out";
}

// A verified game's replay is public. Sent again with a result of one's own, under any name, it
// verifies nothing: its name entry names its player, and once that is rewritten, its game (the
// seed and the inputs, whatever the clock or mouse distances) has verified a result already. The
// first result keeps its verdict.
TEST_P(ServiceTest, ACopiedReplayIsRefusedUnderAnyName) {
  const replay::ScriptedGame& game = ShortGame();
  const auto verifier = MakeReplayVerifier(replay::Limits{});
  ReplayWorkers workers(
      *store_, *verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers);
  SendPlayed(service, workers, "Bob", game.Score, AsBody(game.File));  // 1
  ASSERT_EQ(store_->ReplayStateOf(1), ReplayState::Verified);
  const std::string copy = service.Handle(Get("/api/replays/1")).Bytes();
  ASSERT_EQ(copy, AsBody(game.File));

  // 2: as it is, under another name.
  SendPlayed(service, workers, "Mallory", game.Score, copy);
  // 3: its name entry rewritten to the new name.
  SendPlayed(service, workers, "Mallory", game.Score,
             AsBody(Rewritten(
                 game.File, [](replay::BodyRecord&, uint32_t) { return true; }, "MALLORY")));
  // 4: renamed, a tick later now and then, the mouse moved further, unread buttons pressed.
  SendPlayed(service, workers, "Eve", game.Score,
             AsBody(Rewritten(
                 game.File,
                 [](replay::BodyRecord& r, uint32_t step) {
                   if (r.Type == replay::BodyRecord::Step) {
                     r.Inputs.Mouse.X *= 2;
                     r.Inputs.Mouse.Buttons[4] = static_cast<uint8_t>(step % 3 ? 0 : 0x80);
                   }
                   return true;
                 },
                 "EVE")));
  // 5: under its own name again, by anyone.
  SendPlayed(service, workers, "Bob", game.Score, copy);

  const std::string same = SameGameSentence(1);
  EXPECT_EQ(store_->Find(2)->ReplayError,
            "The replay's game was named \u201cBOB\u201d after it was played, but its result was sent as "
            "\u201cMallory\u201d.");
  for (int64_t id : {3, 4, 5}) {
    const auto r = store_->Find(id);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Replay, ReplayState::Rejected) << id;
    EXPECT_EQ(r->ReplayError, same) << id;
  }
  const auto first = store_->Find(1);
  EXPECT_TRUE(first->Verified);
  ListQuery verified;
  verified.Verified = true;
  EXPECT_EQ(store_->List(verified).Total, 1);
  EXPECT_EQ(store_->Sizes().VerifiedGames, 1);
  // The page says what a verified result proves, and what it does not; it runs no script and no
  // other site may frame it.
  const HttpResponse world = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0"));
  EXPECT_NE(world.Bytes().find("not that a person played it"), std::string::npos) << world.Bytes();
  EXPECT_EQ(Header(world, "Content-Security-Policy").rfind("default-src 'none'; style-src 'unsafe-inline';", 0), 0u);
  EXPECT_NE(Header(world, "Content-Security-Policy").find("frame-ancestors 'none'"), std::string::npos);
  EXPECT_EQ(Header(world, "X-Frame-Options"), "DENY");
  EXPECT_EQ(Header(service.Handle(Get("/api/scores")), "Content-Security-Policy"), "");
}

// A table from before games had fingerprints: its verdicts stay as they were (two results
// verified by one game, as a copy could be then, both stay verified), a refused replay keeps its
// reason but no longer its bytes, and the verified games are fingerprinted when the workers start,
// so that none verifies again.
TEST_P(ServiceTest, AnUpgradeKeepsTheOldVerdictsAndFingerprintsTheOldGames) {
  const replay::ScriptedGame& game = ShortGame();
  store_.reset();
  const std::string file = AsBody(game.File);
  std::string hex;
  for (const char ch : file) {
    const auto c = static_cast<unsigned char>(ch);
    static constexpr char kHex[] = "0123456789abcdef";
    hex += kHex[c >> 4];
    hex += kHex[c & 15];
  }
  const bool pg = GetParam() == "postgres";
  const std::string blob = pg ? "'\\x" + hex + "'::bytea" : "X'" + hex + "'";
  const std::string junk = pg ? "decode(repeat('ab', 100000), 'hex')" : "randomblob(100000)";
  const std::string score = std::to_string(game.Score);
  const std::vector<std::string> before = {
      "CREATE TABLE schema_version (version INTEGER NOT NULL)", "INSERT INTO schema_version VALUES (1), (2), (3), (4)",
      "INSERT INTO results (time, score, name, player, verified) VALUES (1, " + score + ", 'Bob', '', " +
          (pg ? "true" : "1") + "), (2, " + score + ", 'Junk', '', " + (pg ? "false" : "0") + "), (3, " + score +
          ", 'Mallory', '', " + (pg ? "true" : "1") + ")",
      "INSERT INTO replays (result_id, data, state, error, received) VALUES (1, " + blob +
          ", 'verified', '', 1), (2, " + junk + ", 'rejected', 'It is junk.', 2), (3, " + blob +
          ", 'verified', '', 3)"};
  RecreateAtMigration(4, before);
  if (HasFatalFailure()) return;
  store_ = Open();
  EXPECT_EQ(store_->Sizes().ReplayBytes, 2 * static_cast<int64_t>(file.size()));
  EXPECT_EQ(store_->Find(2)->ReplayError, "It is junk.");
  const auto verifier = MakeReplayVerifier(replay::Limits{});
  ReplayWorkers workers(
      *store_, *verifier, [this] { return now_; }, 1, 8, 60000);
  workers.Drain();
  EXPECT_EQ(store_->Sizes().VerifiedGames, 1);
  EXPECT_TRUE(store_->Find(1)->Verified);
  EXPECT_TRUE(store_->Find(3)->Verified);
  ScoreService service = Make(&workers);
  SendPlayed(service, workers, "Bob", game.Score, file);  // 4
  EXPECT_EQ(store_->Find(4)->ReplayError, SameGameSentence(1));
}

// Junk sent as replays, each with a token of its own: 20 uploads of 4 MiB (more than any game
// records), 20 of the largest size a game may send that are no replay, and 20 well-formed replays
// whose game is not the one recorded. The database grows by less than a megabyte: junk is never
// stored, and a refused replay keeps only its verdict.
TEST_P(ServiceTest, JunkUploadsHardlyGrowTheDatabase) {
  const auto verifier = MakeReplayVerifier(replay::Limits{});
  ReplayWorkers workers(
      *store_, *verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers);
  const std::vector<uint8_t> forged = Departing(ShortGame());
  std::string noise(kMaxReplayBytes, '\0');
  uint32_t x = 88172645u;
  for (char& c : noise) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    c = static_cast<char>(x);
  }
  const auto upload = [&](std::string body) {
    const auto [token, cookie] = AskVersion(service);
    EXPECT_EQ(service.Handle(Get(Submission("Junk", 100, token), cookie)).Status, 200);
    now_ += 1;
    const int status = service.Handle(ReplayPost(token, cookie, std::move(body))).Status;
    workers.Drain();
    return status;
  };
  const int64_t before = store_->Sizes().DatabaseBytes;
  for (int i = 0; i < 20; ++i) EXPECT_EQ(upload(std::string(4u << 20, static_cast<char>('a' + i))), 413);
  for (int i = 0; i < 20; ++i) {
    noise[static_cast<size_t>(i)] ^= 1;
    EXPECT_EQ(upload(noise), 422);
  }
  for (int i = 0; i < 20; ++i) EXPECT_EQ(upload(AsBody(forged)), 202);
  const StoreSizes after = store_->Sizes();
  std::printf("60 junk uploads: the database grew by %lld bytes\n",
              static_cast<long long>(after.DatabaseBytes - before));
  EXPECT_LT(after.DatabaseBytes - before, 1 << 20);
  EXPECT_EQ(after.Replays, 20);
  EXPECT_EQ(after.ReplayBytes, 0);
  // The table's sizes are on /metrics.
  const std::string metrics = service.Handle(Get("/metrics")).Bytes();
  EXPECT_NE(metrics.find("saltfang_table_rows{table=\"replays\"} 20\n"), std::string::npos) << metrics;
  EXPECT_NE(metrics.find("saltfang_replay_bytes 0\n"), std::string::npos);
  EXPECT_NE(metrics.find("saltfang_database_bytes "), std::string::npos);
}

// The replay bytes of a day are counted per client: an IPv4 address, or an IPv6 /64 whatever
// address in it a request comes from.
TEST_P(ServiceTest, ReplayBytesADayAreCountedPerAddressAndSlash64) {
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 64, 60000);
  config_.UploadBytesPerDay = 2500;
  ScoreService service = Make(&workers);
  const auto upload = [&](const std::string& peer) {
    const auto [token, cookie] = AskVersion(service);
    HttpRequest submit = Get(Submission("Bob", 100, token), cookie, peer);
    EXPECT_EQ(service.Handle(submit).Status, 200);
    now_ += 601;
    HttpRequest post = ReplayPost(token, cookie, std::string(1000, 'r'));
    post.Peer = peer;
    return service.Handle(post).Status;
  };
  EXPECT_EQ(upload("2001:db8:1:2::10"), 202);
  EXPECT_EQ(upload("2001:db8:1:2:ffff::1"), 202);
  EXPECT_EQ(upload("2001:db8:1:2:aaaa:bbbb:cccc:dddd"), 429);
  EXPECT_EQ(upload("2001:db8:1:3::10"), 202);
  EXPECT_EQ(upload("192.0.2.1"), 202);
  now_ += 86400;
  EXPECT_EQ(upload("2001:db8:1:2::10"), 202);
}

// The service plays no game whose clock runs at twice or at half the game's pace.
TEST_P(ServiceTest, AReplayAtTwiceOrHalfThePaceIsRefused) {
  const replay::ScriptedGame& game = ShortGame();
  const auto verifier = MakeReplayVerifier(replay::Limits{});
  ReplayWorkers workers(
      *store_, *verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers);
  SendPlayed(service, workers, "Bob", game.Score,
             AsBody(Retimed(game, [](uint32_t gap) { return gap > 1000 ? gap : gap / 2; })));
  SendPlayed(service, workers, "Bob", game.Score,
             AsBody(Retimed(game, [](uint32_t gap) { return gap > 1000 ? gap : gap * 2; })));
  EXPECT_EQ(store_->ReplayStateOf(1), ReplayState::Rejected);
  EXPECT_NE(store_->Find(1)->ReplayError.find("runs faster than the game"), std::string::npos)
      << store_->Find(1)->ReplayError;
  EXPECT_EQ(store_->ReplayStateOf(2), ReplayState::Rejected);
  EXPECT_NE(store_->Find(2)->ReplayError.find("runs slower than the game"), std::string::npos)
      << store_->Find(2)->ReplayError;
  // At its own pace the same game verifies.
  SendPlayed(service, workers, "Bob", game.Score, AsBody(game.File));
  EXPECT_EQ(store_->ReplayStateOf(3), ReplayState::Verified);
}

// A verified result's rank is its place among all verified results, as the listing ranks it (ties:
// the earlier first, then the lower id); it moves when a better result is verified, and an
// unverified one has none. The answer is kept until the table changes, with a validator.
TEST_P(ServiceTest, AResultsRankIsItsPlaceAmongTheVerifiedAndFollowsTheTable) {
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers);
  const auto play = [&](const char* name, int32_t score, bool confirmed) {
    verifier.next.ok = true;
    verifier.next.claimedScore = score;
    verifier.next.score = confirmed ? score : score - 1;
    SendPlayed(service, workers, name, score, "R");
  };
  play("A", 500, true);  // 1
  play("B", 900, true);  // 2
  play("C", 500, true);  // 3: A's score and time
  now_ -= 100;
  play("D", 500, true);                     // 4: A's score, earlier
  play("E", 950, false);                    // 5: refused
  ASSERT_EQ(Send(service, "F", 990), 200);  // 6: no replay
  ScoreService noWorkers = Make();
  const auto [token, cookie] = AskVersion(noWorkers);
  ASSERT_EQ(noWorkers.Handle(Get(Submission("G", 999, token), cookie)).Status, 200);  // 7: being checked
  ASSERT_EQ(noWorkers.Handle(ReplayPost(token, cookie, "R")).Status, 202);

  const auto field = [&](int64_t id, const std::string& name) {
    const std::string body = service.Handle(Get("/api/results/" + std::to_string(id))).Bytes();
    const size_t at = body.find("\"" + name + "\":");
    if (at == std::string::npos) return body;
    const size_t from = at + name.size() + 3;
    return body.substr(from, body.find_first_of(",}", from) - from);
  };
  EXPECT_EQ(field(2, "rank"), "1");
  EXPECT_EQ(field(4, "rank"), "2");
  EXPECT_EQ(field(1, "rank"), "3");
  EXPECT_EQ(field(3, "rank"), "4");
  const std::string listing = service.Handle(Get("/api/scores?verified=1")).Bytes();
  for (int64_t id : {1, 2, 3, 4})
    EXPECT_NE(listing.find("{\"id\":" + std::to_string(id) + ",\"rank\":" + field(id, "rank") + ","), std::string::npos)
        << "the listing ranks " << id << " alike: " << listing;
  EXPECT_EQ(field(5, "rank"), "null");
  EXPECT_EQ(field(5, "replay_status"), "\"refused\"");
  EXPECT_EQ(field(5, "reason"), "\"The replay scored 949 (its header claims 950) but the result says 950.\"");
  EXPECT_EQ(field(6, "replay_status"), "\"none\"");
  EXPECT_EQ(field(6, "reason"), "null");
  EXPECT_EQ(field(7, "replay_status"), "\"checking\"");
  EXPECT_EQ(field(7, "verified"), "false");
  EXPECT_EQ(field(7, "rank"), "null");

  const HttpResponse first = service.Handle(Get("/api/results/1"));
  EXPECT_EQ(Header(first, "Cache-Control"), kListingCacheControl);
  HttpRequest again = Get("/api/results/1");
  again.Headers.emplace_back("If-None-Match", Header(first, "ETag"));
  const HttpResponse same = service.Handle(again);
  EXPECT_EQ(same.Status, 304);
  EXPECT_TRUE(same.Bytes().empty());
  play("H", 1000, true);  // a better result, verified by way of another instance's store would do alike
  const HttpResponse moved = service.Handle(again);
  EXPECT_EQ(moved.Status, 200);
  EXPECT_NE(moved.Bytes().find("\"rank\":4,"), std::string::npos) << moved.Bytes();
}

TEST_P(ServiceTest, AnUnknownOrMalformedResultIdIsA404WithASentence) {
  ScoreService service = Make();
  ASSERT_EQ(Send(service, "Ann", 5), 200);
  EXPECT_EQ(service.Handle(Get("/api/results/1")).Status, 200);
  const HttpResponse unknown = service.Handle(Get("/api/results/2"));
  EXPECT_EQ(unknown.Status, 404);
  EXPECT_EQ(unknown.ContentType, "application/json");
  EXPECT_EQ(unknown.Bytes(), "{\"error\":\"There is no result 2.\"}\n");
  for (const char* bad : {"/api/results/", "/api/results/x", "/api/results/-1", "/api/results/1x", "/api/results/1/2",
                          "/api/results/+1", "/api/results/99999999999999999999999"}) {
    const HttpResponse r = service.Handle(Get(bad));
    EXPECT_EQ(r.Status, 404) << bad;
    EXPECT_EQ(r.ContentType, "application/json") << bad;
    EXPECT_EQ(r.Bytes(), "{\"error\":\"A result id is a whole number, as /api/scores gives it.\"}\n") << bad;
  }
  // Removed by moderation: the answer kept in memory goes with it.
  ASSERT_TRUE(Open()->Remove(1));
  EXPECT_EQ(service.Handle(Get("/api/results/1")).Bytes(), "{\"error\":\"There is no result 1.\"}\n");
}

// A replay never changes: browsers and caches may keep it for good and revalidate it by its strong
// ETag. An answer that there is none (yet) is never kept.
TEST_P(ServiceTest, ReplaysAreKeptForGoodAndRevalidatedByTheirETag) {
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers);
  verifier.next.ok = true;
  verifier.next.score = verifier.next.claimedScore = 100;
  SendPlayed(service, workers, "One", 100, std::string("REPLAY\0ONE", 10));  // 1
  SendPlayed(service, workers, "Two", 100, "REPLAY TWO");                    // 2
  verifier.next.ok = false;
  SendPlayed(service, workers, "Bad", 100, "REPLAY BAD");  // 3: refused

  const HttpResponse first = service.Handle(Get("/api/replays/1"));
  ASSERT_EQ(first.Status, 200);
  EXPECT_EQ(Header(first, "Cache-Control"), "public, max-age=31536000, immutable");
  const std::string etag = Header(first, "ETag");
  ASSERT_EQ(etag.size(), 18u) << etag;
  EXPECT_EQ(etag.front(), '"') << "a strong validator";
  EXPECT_EQ(service.Handle(Get("/api/replays/1")).Headers, first.Headers) << "the same every time";
  EXPECT_NE(Header(service.Handle(Get("/api/replays/2")), "ETag"), etag);

  HttpRequest again = Get("/api/replays/1");
  again.Headers.emplace_back("If-None-Match", etag);
  const HttpResponse same = service.Handle(again);
  EXPECT_EQ(same.Status, 304);
  EXPECT_TRUE(same.Bytes().empty());
  EXPECT_EQ(Header(same, "ETag"), etag);
  EXPECT_EQ(Header(same, "Cache-Control"), "public, max-age=31536000, immutable");
  again.Headers.back().second = "\"0000000000000000\"";
  EXPECT_EQ(service.Handle(again).Bytes(), std::string("REPLAY\0ONE", 10));

  for (const char* none : {"/api/replays/3", "/api/replays/9", "/api/replays/x"}) {
    const HttpResponse r = service.Handle(Get(none));
    EXPECT_EQ(r.Status, 404) << none;
    EXPECT_EQ(Header(r, "Cache-Control"), "") << none;
    EXPECT_EQ(Header(r, "ETag"), "") << none;
  }
}

TEST_P(ServiceTest, ReplayDownloadsHaveARateLimitOfTheirOwn) {
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 8, 60000);
  config_.ReplayPerMinute = 60;
  config_.ReplayBurst = 2;
  ScoreService service = Make(&workers);
  verifier.next.ok = true;
  verifier.next.score = verifier.next.claimedScore = 100;
  SendPlayed(service, workers, "One", 100, "R");
  EXPECT_EQ(service.Handle(Get("/api/replays/1")).Status, 200);
  EXPECT_EQ(service.Handle(Get("/api/replays/1")).Status, 200);
  const HttpResponse refused = service.Handle(Get("/api/replays/1"));
  EXPECT_EQ(refused.Status, 429);
  EXPECT_EQ(refused.Bytes(), "too many replay downloads; try again in a minute\n");
  EXPECT_EQ(Header(refused, "Retry-After"), "60");
  EXPECT_EQ(service.Handle(Get("/api/replays/9")).Status, 429) << "asking for ones that do not exist counts too";
  // Nothing else is limited by it, and another client has its own.
  EXPECT_EQ(service.Handle(Get("/api/results/1")).Status, 200);
  EXPECT_EQ(service.Handle(Get("/api/scores")).Status, 200);
  EXPECT_EQ(service.Handle(Get("/api/replays/1", "", "10.0.0.2")).Status, 200);
  nowMs_ += 1000;  // one more a second
  EXPECT_EQ(service.Handle(Get("/api/replays/1")).Status, 200);
  EXPECT_EQ(service.Handle(Get("/api/replays/1")).Status, 429);
}

// Counting a rank reads every verified row above the result, which is known only once counted: a
// rank deeper than the free rows is paid from the client's rows afterwards, even into debt; a
// client that owes rows waits, and answers kept in memory cost nothing.
TEST_P(ServiceTest, DeepRanksArePaidFromTheClientsRows) {
  config_.ReadRowsPerMinute = 20;
  config_.FreeReadRows = 3;
  FakeVerifier verifier;
  ReplayWorkers workers(
      *store_, verifier, [this] { return now_; }, 1, 8, 60000);
  ScoreService service = Make(&workers);
  verifier.next.ok = true;
  for (int i = 0; i < 12; ++i) {
    verifier.next.score = verifier.next.claimedScore = 100 - i;
    SendPlayed(service, workers, Numbered("V", i), 100 - i, "R");  // id i + 1, rank i + 1
  }
  const auto get = [&](int id, const char* client = "10.0.0.1") {
    return service.Handle(Get("/api/results/" + std::to_string(id), "", client)).Status;
  };
  for (int i = 0; i < 5; ++i) EXPECT_EQ(get(4), 200) << "three rows above: free";
  EXPECT_EQ(get(12), 200);  // 11 rows: 9 left
  EXPECT_EQ(get(11), 200);  // 10 rows: owes 1
  EXPECT_EQ(get(2), 429) << "a client that owes waits";
  EXPECT_EQ(get(12), 200) << "kept: free";
  EXPECT_EQ(get(10, "10.0.0.2"), 200) << "another client";
  nowMs_ += 3000;  // one row back: owes nothing
  EXPECT_EQ(get(2), 200);
}

TEST_P(ServiceTest, HealthAndMetrics) {
  ScoreService service = Make();
  EXPECT_EQ(service.Handle(Get("/healthz")).Status, 200);
  ASSERT_EQ(Send(service, "Bob", 5), 200);
  metrics_.CountRequest(RouteOf("/cgi/version.pl?hs&prg=Saltfang&inf=AAAA"), 200, 0.003);
  metrics_.CountRequest(RouteOf("/whatever/../x"), 404, 7.0);
  const std::string text = service.Handle(Get("/metrics")).Bytes();
  EXPECT_NE(text.find("saltfang_http_requests_total{route=\"submit\",status=\"200\"} 1\n"), std::string::npos);
  EXPECT_NE(text.find("saltfang_http_requests_total{route=\"static\",status=\"404\"} 1\n"), std::string::npos);
  EXPECT_NE(text.find("saltfang_submissions_total{outcome=\"stored\"} 1\n"), std::string::npos);
  EXPECT_NE(text.find("saltfang_http_request_duration_seconds_bucket{le=\"0.005\"} 1\n"), std::string::npos);
  EXPECT_NE(text.find("saltfang_http_request_duration_seconds_bucket{le=\"+Inf\"} 2\n"), std::string::npos);
  EXPECT_NE(text.find("saltfang_http_request_duration_seconds_count 2\n"), std::string::npos);
  EXPECT_NE(text.find("saltfang_table_rows{table=\"results\"} 1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("saltfang_table_rows{table=\"tokens\"} 1\n"), std::string::npos) << text;

  // What the HTTP server turned away and holds, as the service adds it to the same page.
  ServerStats stats;
  stats.RefusedAtCapacity = 1;
  stats.RefusedPerClient = 2;
  stats.ShedHeads = 3;
  stats.BusyReplies = 4;
  stats.PendingHeads = 5;
  metrics_.AddSource([stats] { return ServerMetrics(stats); });
  const std::string more = service.Handle(Get("/metrics")).Bytes();
  for (const char* line :
       {"saltfang_connections_refused_total{reason=\"capacity\"} 1\n",
        "saltfang_connections_refused_total{reason=\"per_client\"} 2\n", "saltfang_heads_shed_total 3\n",
        "saltfang_busy_total{what=\"reply\"} 4\n", "saltfang_pending_heads 5\n"})
    EXPECT_NE(more.find(line), std::string::npos) << line << more;
}

TEST(AccessLog, LeavesThePayloadAndTokensOut) {
  EXPECT_EQ(LoggedTarget("/cgi/version.pl?hs&prg=Saltfang&inf=ABCDEFGH"), "/cgi/version.pl?hs&prg=Saltfang&inf=-");
  EXPECT_EQ(LoggedTarget("/api/replays?p=0123"), "/api/replays?p=-");
  // One line of plain ASCII whatever was sent: controls, spaces, quotes and bytes above 0x7F
  // are written as %XX, in the path as in the query.
  EXPECT_EQ(LoggedTarget("/x?a=b c\"d"), "/x?a=b%20c%22d");
  EXPECT_EQ(LoggedTarget("/\xC3\xB6\x1B[31m\\?q=J\xF6rg\n"), "/%C3%B6%1B[31m%5C?q=J%F6rg%0A");
  EXPECT_EQ(RouteOf("/cgi/version.pl?version&prg=Saltfang"), "version");
  EXPECT_EQ(RouteOf("/cgi/version.pl?prg=Saltfang&show&type=0"), "world_page");
  EXPECT_EQ(RouteOf("/cgi/version.pl?prg=Saltfang&show=&type=0&q=x"), "world_page");
}

SF_BOTH_DATABASES(ServiceTest);

}  // namespace
}  // namespace sf::scores::testing
