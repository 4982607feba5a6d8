#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "HttpMessage.h"
#include "ScoreService.h"
#include "ScoreStore.h"
#include "web/OnlineScores.h"
#include "web/ScoreCodec.h"

namespace sf::scores {
namespace {

namespace fs = std::filesystem;

class ScoreServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = fs::temp_directory_path() / ("sf_scores_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove(file_);
  }
  void TearDown() override { fs::remove(file_); }

  static HttpRequest Get(const std::string& target, const std::string& cookie = {}) {
    return HttpRequest{"GET", target, cookie, {}};
  }
  static std::string Path(const std::string& url) { return url.substr(url.find("/cgi/")); }
  static std::string Submission(const std::string& name, int32_t score, const std::string& token) {
    return Path(SubmissionUrl(BitStringToSymbols(BytesToBitString(ResultString(name, score, token, "Pl"))), "http://x"));
  }

  // The version reply's token and the cookie pair it set.
  std::pair<std::string, std::string> AskVersion(ScoreService& service, const std::string& cookie = {}) {
    const HttpResponse r = service.Handle(Get(Path(VersionQueryUrl("http://x")), cookie));
    EXPECT_EQ(r.Status, 200);
    const std::string set = r.SetCookie.substr(0, r.SetCookie.find(';'));
    return {ServerField(r.Body), set.empty() ? cookie : set};
  }

  fs::path file_;
  int64_t now_ = 1700000000;
  int ids_ = 0;
  ScoreService MakeService(ScoreStore& store) {
    return ScoreService(
        store,
        [this] {
          char id[40];
          std::snprintf(id, sizeof id, "%032X", ++ids_);
          return std::string(id);
        },
        [this] { return now_; });
  }
};

TEST_F(ScoreServiceTest, TokenWorksOnceAndOnlyWithItsCookie) {
  ScoreStore store(file_);
  ScoreService service = MakeService(store);
  const auto [token, cookie] = AskVersion(service);
  ASSERT_FALSE(token.empty());
  ASSERT_EQ(cookie.rfind("sfsid=", 0), 0u);

  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token))).Status, 403);                // no cookie
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), "sfsid=OTHER")).Status, 403);  // foreign
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, "made-up"), cookie)).Status, 403);
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 200);
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 403);  // replay
  ASSERT_EQ(store.All().size(), 1u);
  EXPECT_EQ(store.All()[0].Name, "Bob");
  EXPECT_EQ(store.All()[0].Score, 1200);
  EXPECT_EQ(store.All()[0].PlayerName, "Pl");

  // The same session gets a fresh token and keeps its cookie.
  const auto [second, sameCookie] = AskVersion(service, cookie);
  EXPECT_NE(second, token);
  EXPECT_EQ(sameCookie, cookie);
  EXPECT_EQ(service.Handle(Get(Submission("Cid", 50, second), cookie)).Status, 200);
}

TEST_F(ScoreServiceTest, TokensExpire) {
  ScoreStore store(file_);
  ScoreService service = MakeService(store);
  const auto [token, cookie] = AskVersion(service);
  now_ += kTokenLifetimeSeconds + 1;
  AskVersion(service, cookie);  // any request clears the stale tokens
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1200, token), cookie)).Status, 403);
  EXPECT_TRUE(store.All().empty());
}

TEST_F(ScoreServiceTest, RefusesWhatIsNotASubmission) {
  ScoreStore store(file_);
  ScoreService service = MakeService(store);
  const auto [token, cookie] = AskVersion(service);
  const std::string base = "/cgi/version.pl?hs&prg=Saltfang";
  EXPECT_EQ(service.Handle(Get(base, cookie)).Status, 400);
  EXPECT_EQ(service.Handle(Get(base + "&inf=", cookie)).Status, 400);
  EXPECT_EQ(service.Handle(Get(base + "&inf=%3Cscript%3E", cookie)).Status, 400);
  EXPECT_EQ(service.Handle(Get(base + "&inf=" + std::string(5000, 'A'), cookie)).Status, 400);
  EXPECT_EQ(service.Handle(Get("/cgi/version.pl?version&prg=Other")).Status, 404);
  EXPECT_EQ(service.Handle(Get("/cgi/other.pl?version&prg=Saltfang")).Status, 404);
  EXPECT_EQ(service.Handle(Get("/cgi/version.pl?version&hs&prg=Saltfang")).Status, 400);
  EXPECT_EQ(service.Handle(HttpRequest{"POST", "/cgi/version.pl?version&prg=Saltfang", "", {}}).Status, 405);
  EXPECT_TRUE(store.All().empty());
  // The token was not spent by the refusals.
  EXPECT_EQ(service.Handle(Get(Submission("Bob", 1, token), cookie)).Status, 200);
}

TEST_F(ScoreServiceTest, WorldPageListsTheBestWithNamesEscaped) {
  {
    ScoreStore store(file_);
    ScoreService service = MakeService(store);
    for (const auto& [name, score] : {std::pair<std::string, int32_t>{"<b>&", 300}, {"Top", 900}, {"Mid", 500}}) {
      const auto [token, cookie] = AskVersion(service);
      ASSERT_EQ(service.Handle(Get(Submission(name, score, token), cookie)).Status, 200);
    }
  }
  std::ofstream(file_, std::ios::app) << "garbage line\n1\t2\n";
  ScoreStore reloaded(file_);  // the results are on disk; bad lines are skipped
  ASSERT_EQ(reloaded.All().size(), 3u);
  ScoreService service = MakeService(reloaded);
  const HttpResponse page = service.Handle(Get("/cgi/version.pl?prg=Saltfang&show&type=0"));
  EXPECT_EQ(page.Status, 200);
  EXPECT_NE(page.ContentType.find("text/html"), std::string::npos);
  EXPECT_EQ(page.Body.find("<b>&"), std::string::npos);
  const size_t top = page.Body.find(">Top<"), mid = page.Body.find(">Mid<"), low = page.Body.find("&lt;b&gt;&amp;");
  ASSERT_NE(low, std::string::npos);
  EXPECT_LT(top, mid);
  EXPECT_LT(mid, low);
}

TEST(HttpMessage, ParsesRequestHeads) {
  const auto r = ParseHttpRequest("GET /a?b HTTP/1.1\r\nHost: x\r\ncookie: a=1; sfsid=XY\r\nAccept: */*\r\n\r\n");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Method, "GET");
  EXPECT_EQ(r->Target, "/a?b");
  EXPECT_EQ(CookieValue(r->Cookie, "sfsid"), "XY");
  EXPECT_EQ(CookieValue(r->Cookie, "none"), "");
  EXPECT_EQ(r->Header("ACCEPT"), "*/*");
  for (const char* bad : {"", "GET /a HTTP/1.1\r\n", "GET /a HTTP/2\r\n\r\n", "GET  /a HTTP/1.1\r\n\r\n",
                          "GET a HTTP/1.1\r\n\r\n", "GET /a\x01 HTTP/1.1\r\n\r\n", "GET /a HTTP/1.1\r\nNoColon\r\n\r\n"}) {
    EXPECT_FALSE(ParseHttpRequest(bad)) << bad;
  }
}

}  // namespace
}  // namespace sf::scores
