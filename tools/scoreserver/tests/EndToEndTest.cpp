// The game's side of the exchange against the real service on a loopback port, through libcurl.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "LoopbackServer.h"
#include "ScoreService.h"
#include "ScoreStore.h"
#include "platform/sdl/CurlHttp.h"
#include "web/OnlineScores.h"

namespace sf::scores {
namespace {

namespace fs = std::filesystem;

// A server on an ephemeral port, serving from its own thread until destroyed.
class RunningServer {
 public:
  explicit RunningServer(std::function<HttpResponse(const HttpRequest&)> handler)
      : handler_(std::move(handler)), server_(0), thread_([this] { server_.Run(handler_, stop_); }) {}
  ~RunningServer() {
    stop_ = true;
    thread_.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(server_.Port()); }

 private:
  std::function<HttpResponse(const HttpRequest&)> handler_;
  std::atomic<bool> stop_{false};
  LoopbackServer server_;
  std::thread thread_;
};

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = fs::temp_directory_path() / ("sf_e2e_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove(file_);
  }
  void TearDown() override { fs::remove(file_); }
  fs::path file_;
};

TEST_F(EndToEnd, ResultReachesTheServiceAndItsWorldPage) {
  ScoreStore store(file_);
  ScoreService service(store, SystemRandomId, [] { return int64_t{1700000000}; });
  std::vector<HttpRequest> seen;  // read after the server thread has stopped
  {
    RunningServer server([&](const HttpRequest& r) {
      seen.push_back(r);
      return service.Handle(r);
    });
    CurlHttp http;
    EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "Anonymous", server.Url()), SubmitOutcome::Sent);
    EXPECT_EQ(SubmitOnlineScore(http, "J\xF6rg", 7, "", server.Url()), SubmitOutcome::Sent);
    const auto page = http.Get(WorldHighScoresUrl(server.Url()));
    ASSERT_TRUE(page);
    EXPECT_NE(page->find(">Bob<"), std::string::npos);
    EXPECT_NE(page->find(">1200<"), std::string::npos);
    EXPECT_NE(page->find(">J\xF6rg<"), std::string::npos);
  }
  ASSERT_EQ(store.All().size(), 2u);
  EXPECT_EQ(store.All()[0].Name, "Bob");
  EXPECT_EQ(store.All()[0].PlayerName, "Anonymous");
  EXPECT_EQ(ScoreStore(file_).All().size(), 2u);

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
  // A port that was free a moment ago.
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
  ::close(fd);
  CurlHttp http;
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port))),
            SubmitOutcome::VersionFailed);
}

TEST_F(EndToEnd, ErrorStatusesAreFailures) {
  int calls = 0;
  RunningServer versionDown([&](const HttpRequest&) {
    ++calls;
    return HttpResponse{500, "text/plain", "down", ""};
  });
  CurlHttp http;
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", versionDown.Url()), SubmitOutcome::VersionFailed);

  RunningServer refuses([](const HttpRequest& r) {
    if (r.Target.find("version&") != std::string::npos) return HttpResponse{200, "text/plain", "a|b|c|d|e|f", ""};
    return HttpResponse{403, "text/plain", "no", ""};
  });
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", refuses.Url()), SubmitOutcome::SubmissionFailed);
}

TEST_F(EndToEnd, OversizedReplyIsAFailure) {
  RunningServer huge([](const HttpRequest&) { return HttpResponse{200, "text/plain", std::string(200000, 'x'), ""}; });
  CurlHttp http(HttpLimits{2000, 10000, 64 * 1024});
  EXPECT_FALSE(http.Get(huge.Url() + "/"));
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", huge.Url()), SubmitOutcome::VersionFailed);
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
            SubmitOutcome::VersionFailed);
  EXPECT_GT(pumps, 0);
  ::close(fd);
}

TEST_F(EndToEnd, ServiceSurvivesHostileConnections) {
  ScoreStore store(file_);
  ScoreService service(store, SystemRandomId, [] { return int64_t{1700000000}; });
  RunningServer server([&](const HttpRequest& r) { return service.Handle(r); });
  const auto port = static_cast<uint16_t>(std::stoi(server.Url().substr(server.Url().rfind(':') + 1)));

  const auto rawExchange = [&](const std::string& bytes) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    std::string reply;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
      (void)::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      ::shutdown(fd, SHUT_WR);
      char buf[512];
      for (ssize_t n; (n = ::recv(fd, buf, sizeof buf, 0)) > 0;) reply.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return reply.substr(0, reply.find("\r\n"));
  };
  EXPECT_EQ(rawExchange("garbage\r\n\r\n"), "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(rawExchange("GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n"),
            "HTTP/1.1 431 Request Header Fields Too Large");
  EXPECT_EQ(rawExchange("GET /cgi/version.pl?hs&prg=Saltfang&inf=00000000 HTTP/1.1\r\n\r\n"),
            "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(rawExchange(std::string("GET /\0 HTTP/1.1\r\n\r\n", 19)), "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(rawExchange(""), "");  // closed without a request

  CurlHttp http;
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", server.Url()), SubmitOutcome::Sent);  // still serving
  EXPECT_EQ(store.All().size(), 1u);
}

}  // namespace
}  // namespace sf::scores
