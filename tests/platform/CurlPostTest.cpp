// The libcurl client's POST against a small loopback server: the body arrives byte for byte with
// its content type and the session cookie, error answers are failures, and GETs stay GETs after it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/CurlHttp.h"

namespace sf {
namespace {

struct SeenRequest {
  std::string Head;  // request line and headers
  std::string Body;
};

// Answers a fixed list of replies, one connection each, on 127.0.0.1, and records the requests.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<std::string> replies) : replies_(std::move(replies)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(listener_, 4), 0);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedServer() {
    thread_.join();
    close(listener_);
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  std::vector<SeenRequest> Seen;

 private:
  void Serve() {
    for (const std::string& reply : replies_) {
      const int c = accept(listener_, nullptr, nullptr);
      if (c < 0) return;
      std::string data;
      char chunk[4096];
      size_t end = std::string::npos;
      while ((end = data.find("\r\n\r\n")) == std::string::npos) {
        const ssize_t n = recv(c, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        data.append(chunk, static_cast<size_t>(n));
      }
      SeenRequest seen;
      seen.Head = data.substr(0, end);
      size_t length = 0;
      const size_t at = seen.Head.find("Content-Length: ");
      if (at != std::string::npos) length = std::stoul(seen.Head.substr(at + 16));
      seen.Body = data.substr(end + 4);
      while (seen.Body.size() < length) {
        const ssize_t n = recv(c, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        seen.Body.append(chunk, static_cast<size_t>(n));
      }
      Seen.push_back(seen);
      send(c, reply.data(), reply.size(), 0);
      close(c);
    }
  }

  std::vector<std::string> replies_;
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

TEST(CurlPost, SendsTheBodyWithItsTypeAndTheSessionCookieAndFailsOnErrorAnswers) {
  std::vector<uint8_t> replay(70000);
  for (size_t i = 0; i < replay.size(); ++i) replay[i] = static_cast<uint8_t>(i * 7);  // zero bytes too
  std::optional<std::string> version, accepted, duplicate, after;
  {
    ScriptedServer server({
        "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc123; Path=/\r\nContent-Length: 9\r\nConnection: close\r\n\r\na|b|c|d|t",
        "HTTP/1.1 202 Accepted\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
        "HTTP/1.1 409 Conflict\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
        "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok",
    });
    CurlHttp http;
    version = http.Get(server.Url("/cgi/version.pl?version&prg=Saltfang"));
    accepted = http.Post(server.Url("/api/replays?p=t"), replay, "application/octet-stream");
    duplicate = http.Post(server.Url("/api/replays?p=t"), replay, "application/octet-stream");
    after = http.Get(server.Url("/page"));
    // The server thread ends after the fourth reply.
    ASSERT_EQ(server.Seen.size(), 4u);
    const SeenRequest& post = server.Seen[1];
    EXPECT_EQ(post.Head.rfind("POST /api/replays?p=t HTTP/1.1\r\n", 0), 0u) << post.Head;
    EXPECT_NE(post.Head.find("Content-Type: application/octet-stream\r\n"), std::string::npos) << post.Head;
    EXPECT_NE(post.Head.find("Cookie: sid=abc123"), std::string::npos) << post.Head;
    EXPECT_NE(post.Head.find("User-Agent: Mozilla/3.0 (compatible; Indy Library)"), std::string::npos);
    EXPECT_EQ(post.Body, std::string(replay.begin(), replay.end()));
    const SeenRequest& get = server.Seen[3];
    EXPECT_EQ(get.Head.rfind("GET /page HTTP/1.1\r\n", 0), 0u) << get.Head;
    EXPECT_NE(get.Head.find("Content-Type: text/html"), std::string::npos) << get.Head;
    EXPECT_TRUE(get.Body.empty());
  }
  EXPECT_EQ(version, "a|b|c|d|t");
  EXPECT_EQ(accepted, "");
  EXPECT_FALSE(duplicate.has_value()) << "a 409 answer is a failure";
  EXPECT_EQ(after, "ok");
}

}  // namespace
}  // namespace sf
