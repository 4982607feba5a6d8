// The game's side of the exchange (its OnlineScores code over the real libcurl client) against
// the real service on a loopback port.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "HttpServer.h"
#include "RawClient.h"
#include "RecordedGames.h"
#include "ReplayVerifier.h"
#include "ReplayWorkers.h"
#include "ScoreService.h"
#include "SqliteStore.h"
#include "StaticFiles.h"
#include "platform/sdl/CurlHttp.h"
#include "web/OnlineScores.h"
#include "web/ReplayUpload.h"

namespace sf::scores::testing {
namespace {

namespace fs = std::filesystem;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("sf_e2e_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    store_ = std::make_unique<SqliteStore>((dir_ / "scores.db").string());
    service_ = std::make_unique<ScoreService>(
        *store_, ServiceConfig{},
        ServiceEnvironment{[] { return int64_t{1700000000}; }, [] { return int64_t{0}; }, SystemRandomId});
  }
  void TearDown() override {
    server_.reset();
    service_.reset();
    store_.reset();
    fs::remove_all(dir_);
  }
  std::string Serve(HttpHandler handler) {
    server_ = std::make_unique<HttpServer>("127.0.0.1", 0, ServerLimits{}, std::move(handler));
    return "http://127.0.0.1:" + std::to_string(server_->Port());
  }
  // The service as saltfang-scores serves it: uploads looked at before their body is read.
  std::string ServeService() {
    ServerLimits limits;
    limits.MaxUploadBytes = kMaxReplayBytes;
    server_ = std::make_unique<HttpServer>(
        "127.0.0.1", 0, limits, [this](const HttpRequest& r) { return service_->Handle(r); }, HttpObserver{},
        [this](const HttpRequest& head) { return service_->BeforeBody(head); });
    return "http://127.0.0.1:" + std::to_string(server_->Port());
  }
  uint16_t Port() const { return server_->Port(); }
  // This process's resident memory, in KiB.
  static long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
  }
  static std::string FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return std::to_string(ntohs(addr.sin_port));
  }

  fs::path dir_;
  std::unique_ptr<SqliteStore> store_;
  std::unique_ptr<ScoreService> service_;
  std::unique_ptr<HttpServer> server_;
};

TEST_F(EndToEnd, ResultReachesTheServiceAndItsWorldPage) {
  std::mutex m;
  std::vector<HttpRequest> seen;
  const std::string url = Serve([&](const HttpRequest& r) {
    {
      std::lock_guard lock(m);
      seen.push_back(r);
    }
    return service_->Handle(r);
  });
  CurlHttp http;
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "Anonymous", url), sf::SubmitOutcome::Sent);
  EXPECT_EQ(SubmitOnlineScore(http, "J\xF6rg", 7, "", url), sf::SubmitOutcome::Sent);
  const auto page = http.Get(WorldHighScoresUrl(url) + "&view=unverified");
  ASSERT_TRUE(page);
  EXPECT_NE(page->find(">Bob<"), std::string::npos);
  EXPECT_NE(page->find(">1200<"), std::string::npos);
  EXPECT_NE(page->find(">J\xC3\xB6rg<"), std::string::npos);
  const auto results = store_->List(ListQuery{}).Results;
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].Name, "Bob");
  EXPECT_EQ(results[0].PlayerName, "Anonymous");
  server_.reset();

  std::lock_guard lock(m);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(seen[0].Cookie.empty());
  EXPECT_NE(seen[1].Cookie.find("sfsid="), std::string::npos);  // the version reply's cookie came back
  for (const HttpRequest& r : seen) {
    EXPECT_EQ(r.Method, "GET");
    EXPECT_EQ(r.Header("Accept"), "text/html, */*");
    EXPECT_EQ(r.Header("Content-Type"), "text/html");
    EXPECT_EQ(r.Header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
  }
}

TEST_F(EndToEnd, NothingListeningIsAFailedVersionQuery) {
  CurlHttp http;
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", "http://127.0.0.1:" + FreePort()),
            sf::SubmitOutcome::VersionFailed);
}

TEST_F(EndToEnd, ErrorStatusesAreFailures) {
  CurlHttp http;
  const std::string down =
      Serve([](const HttpRequest&) { return HttpResponse{500, "text/plain", "down", "", {}, {}}; });
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", down), sf::SubmitOutcome::VersionFailed);
  const std::string refuses = Serve([](const HttpRequest& r) {
    if (r.Target.find("version&") != std::string::npos)
      return HttpResponse{200, "text/plain", "a|b|c|d|e|f", "", {}, {}};
    return HttpResponse{403, "text/plain", "no", "", {}, {}};
  });
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", refuses), sf::SubmitOutcome::SubmissionFailed);
}

TEST_F(EndToEnd, OversizedReplyIsAFailure) {
  const std::string url =
      Serve([](const HttpRequest&) { return HttpResponse{200, "text/plain", std::string(200000, 'x'), "", {}, {}}; });
  CurlHttp http(HttpLimits{2000, 10000, 64 * 1024});
  EXPECT_FALSE(http.Get(url + "/"));
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", url), sf::SubmitOutcome::VersionFailed);
}

TEST_F(EndToEnd, SilentServerTimesOutAndTheWindowIsPumpedMeanwhile) {
  // Accepts connections (the kernel's backlog) but never answers.
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(fd, 4), 0);
  ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
  CurlHttp http(HttpLimits{300, 600, 64 * 1024});
  int pumps = 0;
  http.SetWaitHandler([&] { ++pumps; });
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port))),
            sf::SubmitOutcome::VersionFailed);
  EXPECT_GT(pumps, 0);
  ::close(fd);
}

// A browser asking again with the validator gets a 304 without a body, and the connection goes on.
TEST_F(EndToEnd, AListingsValidatorGivesA304OnTheSameConnection) {
  const std::string url = ServeService();
  RawClient c(static_cast<uint16_t>(std::stoi(url.substr(url.rfind(':') + 1))));
  c.Send("GET /api/scores HTTP/1.1\r\nHost: x\r\n\r\n");
  const std::string first = c.ReadOne();
  ASSERT_EQ(StatusLine(first), "HTTP/1.1 200 OK");
  const size_t at = first.find("ETag: ");
  ASSERT_NE(at, std::string::npos);
  const std::string etag = first.substr(at + 6, first.find("\r\n", at) - at - 6);
  c.Send("GET /api/scores HTTP/1.1\r\nHost: x\r\nIf-None-Match: " + etag + "\r\n\r\n");
  const std::string second = c.ReadOne();
  EXPECT_EQ(StatusLine(second), "HTTP/1.1 304 Not Modified");
  EXPECT_NE(second.find("ETag: " + etag), std::string::npos);
  EXPECT_EQ(second.substr(second.find("\r\n\r\n") + 4), "");
  c.Send("GET /api/scores HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  const std::string third = c.ReadAll();
  EXPECT_EQ(StatusLine(third), "HTTP/1.1 200 OK");
  EXPECT_EQ(third.substr(third.find("\r\n\r\n") + 4), "{\"results\":[],\"total\":0}\n");
}

TEST_F(EndToEnd, ServiceSurvivesHostileConnections) {
  const std::string url = ServeService();
  const auto port = static_cast<uint16_t>(std::stoi(url.substr(url.rfind(':') + 1)));
  const auto exchange = [&](const std::string& bytes) { return StatusLine(Exchange(port, bytes)); };
  EXPECT_EQ(exchange("garbage\r\n\r\n"), "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(exchange("GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n"),
            "HTTP/1.1 431 Request Header Fields Too Large");
  EXPECT_EQ(exchange("GET /cgi/version.pl?hs&prg=Saltfang&inf=00000000 HTTP/1.1\r\n\r\n"), "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(exchange(""), "");

  CurlHttp http;
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", url), sf::SubmitOutcome::Sent);  // still serving
  EXPECT_EQ(store_->List(ListQuery{}).Total, 1);
}

// The whole way: the game's own code sends a result and its replay, the service plays it again,
// and the world page links it to the browser build's replay mode; the result's JSON and its replay
// come over HTTP, the replay kept for good, with a 304 for a browser that has it already.
TEST_F(EndToEnd, AVerifiedReplayIsWatchableAndKeptForGood) {
  const auto verifier = MakeReplayVerifier(replay::Limits{});
  ReplayWorkers workers(
      *store_, *verifier, [] { return int64_t{1700000000}; }, 1, 8, 60000);
  fs::create_directories(dir_ / "web");
  std::ofstream(dir_ / "web" / "index.html") << "<!DOCTYPE html><title>Salt Fang</title>";
  const StaticFiles web(dir_ / "web");
  service_ = std::make_unique<ScoreService>(
      *store_, ServiceConfig{},
      ServiceEnvironment{[] { return int64_t{1700000000}; }, [] { return int64_t{0}; }, SystemRandomId}, nullptr,
      &workers, &web);
  const std::string url = ServeService();
  const replay::ScriptedGame& game = ShortGame();
  CurlHttp http;
  std::string token;
  ASSERT_EQ(SubmitOnlineScore(http, "Bob", game.Score, "Pl", url, &token), sf::SubmitOutcome::Sent);
  ASSERT_TRUE(SendReplay(http, token, game.File, url));
  workers.Drain();

  const auto page = http.Get(WorldHighScoresUrl(url));
  ASSERT_TRUE(page);
  EXPECT_NE(page->find("<a class=\"watch\" href=\"/?watch=1\""), std::string::npos) << *page;
  const auto json = http.Get(url + "/api/results/1");
  ASSERT_TRUE(json);
  EXPECT_NE(json->find("\"rank\":1,\"steps\":" + std::to_string(game.Steps) + ",\"verified\":true"), std::string::npos)
      << *json;
  EXPECT_NE(json->find("\"watch\":\"/?watch=1\""), std::string::npos) << *json;

  RawClient c(static_cast<uint16_t>(std::stoi(url.substr(url.rfind(':') + 1))));
  c.Send("GET /api/replays/1 HTTP/1.1\r\nHost: x\r\n\r\n");
  const std::string first = c.ReadOne();
  ASSERT_EQ(StatusLine(first), "HTTP/1.1 200 OK");
  EXPECT_NE(first.find("\r\nCache-Control: public, max-age=31536000, immutable\r\n"), std::string::npos) << first;
  EXPECT_EQ(first.substr(first.find("\r\n\r\n") + 4), AsBody(game.File));
  const size_t at = first.find("ETag: ");
  ASSERT_NE(at, std::string::npos);
  const std::string etag = first.substr(at + 6, first.find("\r\n", at) - at - 6);
  c.Send("GET /api/replays/1 HTTP/1.1\r\nHost: x\r\nIf-None-Match: " + etag + "\r\n\r\n");
  const std::string second = c.ReadOne();
  EXPECT_EQ(StatusLine(second), "HTTP/1.1 304 Not Modified");
  EXPECT_EQ(second.substr(second.find("\r\n\r\n") + 4), "");
  c.Send("GET /api/results/2 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  const std::string missing = c.ReadAll();
  EXPECT_EQ(StatusLine(missing), "HTTP/1.1 404 Not Found");
  EXPECT_EQ(missing.substr(missing.find("\r\n\r\n") + 4), "{\"error\":\"There is no result 2.\"}\n");
  server_.reset();  // before the workers and the folder it serves go
  service_.reset();
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;  // the sanitizer's own memory is not the service's
#else
constexpr bool kSanitized = false;
#endif

// The browser build's largest file (its data, 7 MB and hardly compressible) read by 96 slow
// clients, 32 from each of three addresses, with small receive windows and reading nothing: every
// reply sends the one copy kept in memory, so the service stays small, and a player is answered
// at once meanwhile.
TEST_F(EndToEnd, SlowReadersOfTheLargestFileShareOneCopy) {
  fs::create_directories(dir_ / "web");
  std::string data(7u << 20, '\0');
  uint32_t x = 2463534242u;
  for (char& c : data) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    c = static_cast<char>(x);
  }
  std::ofstream(dir_ / "web" / "saltfang.data", std::ios::binary) << data;
  data.clear();
  data.shrink_to_fit();
  const StaticFiles web(dir_ / "web");
  service_ = std::make_unique<ScoreService>(
      *store_, ServiceConfig{},
      ServiceEnvironment{[] { return int64_t{1700000000}; }, [] { return int64_t{0}; }, SystemRandomId}, nullptr,
      nullptr, &web);
  ServeService();
  const long before = ResidentKiB();
  std::vector<std::unique_ptr<RawClient>> readers;
  for (int i = 0; i < 96; ++i) {
    static constexpr const char* kFrom[] = {"127.0.0.2", "127.0.0.3", "127.0.0.4"};
    readers.push_back(std::make_unique<RawClient>(Port(), kFrom[i % 3], 4096));
    ASSERT_TRUE(readers.back()->Send("GET /saltfang.data HTTP/1.1\r\nHost: x\r\n\r\n"));
  }
  for (auto& r : readers) ASSERT_TRUE(r->ClosedOrAnsweredWithin(10000));  // every reply is under way
  const long during = ResidentKiB();
  const auto start = std::chrono::steady_clock::now();
  RawClient player(Port(), "127.0.0.5");
  player.Send("GET /healthz HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  const std::string reply = player.ReadAll();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(StatusLine(reply), "HTTP/1.1 200 OK");
  EXPECT_LT(ms, 100.0);
  std::printf("96 slow readers of a 7 MiB file: resident %ld MiB (+%ld MiB); a player's request %.1f ms\n",
              during / 1024, (during - before) / 1024, ms);
  EXPECT_LT(during - before, 64 * 1024) << "KiB more while the readers wait";
  if (!kSanitized) {
    EXPECT_LT(during, 300 * 1024) << "KiB resident";
  }
  readers.clear();
  server_.reset();  // before the folder it serves goes
}

// Uploads with a wrong token, 32 from each of three addresses, each sending a megabyte of a
// 2 MB body and withholding the rest: each is refused on its head, nothing of the body is kept.
TEST_F(EndToEnd, WithheldUploadBodiesWithAWrongTokenCostNoMemory) {
  ServeService();
  const long before = ResidentKiB();
  const std::string part(1u << 20, 'x');
  std::vector<std::unique_ptr<RawClient>> uploads;
  for (int i = 0; i < 96; ++i) {
    static constexpr const char* kFrom[] = {"127.0.0.2", "127.0.0.3", "127.0.0.4"};
    uploads.push_back(std::make_unique<RawClient>(Port(), kFrom[i % 3]));
    ASSERT_TRUE(
        uploads.back()->Send("POST /api/replays?p=00000000000000000000000000000000 HTTP/1.1\r\nHost: x\r\n"
                             "Cookie: sfsid=0123456789ABCDEF0123456789ABCDEF\r\nContent-Length: 2000000\r\n\r\n"));
    uploads.back()->SendWhatFits(part);
  }
  for (auto& u : uploads) EXPECT_EQ(StatusLine(u->ReadOne()), "HTTP/1.1 403 Forbidden");
  const long after = ResidentKiB();
  std::printf("96 withheld uploads with a wrong token: resident +%ld MiB\n", (after - before) / 1024);
  // Bodies read before the refusal would cost their megabyte each, 96 MiB; a sanitizer's
  // quarantine of freed memory adds its own share to what the service holds.
  EXPECT_LT(after - before, (kSanitized ? 48 : 16) * 1024) << "KiB more";
  EXPECT_EQ(server_->Stats().PendingBodyBytes, 0u);
  EXPECT_EQ(store_->Sizes().Replays, 0);
}

}  // namespace
}  // namespace sf::scores::testing
