// The HTTP layer on real loopback sockets: deadlines, size caps, per-address caps, keep-alive,
// HEAD, and a stop that finishes the requests in flight.
#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "HttpServer.h"
#include "RawClient.h"

namespace sf::scores::testing {
namespace {

HttpResponse Echo(const HttpRequest& r) {
  return HttpResponse{200, "text/plain", r.Method + " " + r.Target + " " + std::to_string(r.Body.size()), "", {}};
}

std::string Get(uint16_t port, const std::string& target, const char* from = "127.0.0.1") {
  RawClient c(port, from);
  c.Send("GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  return c.ReadAll();
}

TEST(HttpServer, SlowHeadsAreCutOffWhileOthersAreServed) {
  ServerLimits limits;
  limits.HeadDeadline = std::chrono::milliseconds(300);
  limits.MaxConnectionsPerClient = 1000;
  HttpServer server("127.0.0.1", 0, limits, Echo);
  const std::string head = "GET /slow HTTP/1.1\r\nHost: x\r\nX-Padding: " + std::string(200, 'p') + "\r\n\r\n";
  std::vector<std::unique_ptr<RawClient>> slow;
  for (int i = 0; i < 50; ++i) slow.push_back(std::make_unique<RawClient>(server.Port()));
  // While 50 connections trickle their heads, a normal request is answered.
  for (auto& c : slow) ASSERT_TRUE(c->Send("G"));
  EXPECT_EQ(StatusLine(Get(server.Port(), "/fast")), "HTTP/1.1 200 OK");
  // Each slow client keeps sending a byte whenever 50 ms pass quietly; the server still closes it
  // long before the head is complete, without an answer.
  for (auto& c : slow) {
    size_t sent = 1;
    while (sent < head.size() && !c->ClosedOrAnsweredWithin(50)) c->Send(std::string(1, head[sent++]));
    EXPECT_LT(sent, head.size());
    EXPECT_EQ(c->ReadAll(), "");
  }
}

TEST(HttpServer, OversizedAndMalformedRequestsGetA4xx) {
  ServerLimits limits;
  limits.MaxHeadBytes = 1024;
  limits.MaxBodyBytes = 100;
  limits.MaxUploadBytes = 1000;
  int handled = 0;
  HttpServer server("127.0.0.1", 0, limits, [&](const HttpRequest& r) {
    ++handled;
    return Echo(r);
  });
  const auto exchange = [&](const std::string& bytes) {
    RawClient c(server.Port());
    c.Send(bytes);
    c.EndWriting();
    return StatusLine(c.ReadAll());
  };
  EXPECT_EQ(exchange("GET /" + std::string(2000, 'a') + " HTTP/1.1\r\n\r\n"),
            "HTTP/1.1 431 Request Header Fields Too Large");
  EXPECT_EQ(exchange("POST /x HTTP/1.1\r\nContent-Length: 101\r\n\r\n" + std::string(101, 'b')),
            "HTTP/1.1 413 Payload Too Large");
  EXPECT_EQ(exchange("POST /api/replays?p=1 HTTP/1.1\r\nContent-Length: 1001\r\n\r\n"),
            "HTTP/1.1 413 Payload Too Large");
  EXPECT_EQ(exchange("POST /x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n65\r\n" + std::string(101, 'c') +
                     "\r\n0\r\n\r\n"),
            "HTTP/1.1 413 Payload Too Large");
  for (const std::string& bad :
       {std::string("garbage\r\n\r\n"), std::string("GET /a HTTP/2\r\n\r\n"),
        std::string("GET /a\x01 HTTP/1.1\r\n\r\n"), std::string("GET /\0 HTTP/1.1\r\n\r\n", 19),
        std::string("GET /a HTTP/1.1\r\nNoColon\r\n\r\n"),
        std::string("POST /x HTTP/1.1\r\nContent-Length: abc\r\n\r\n")})
    EXPECT_EQ(exchange(bad), "HTTP/1.1 400 Bad Request") << bad;
  EXPECT_EQ(exchange(""), "");  // closed without a request
  EXPECT_EQ(handled, 0);
  // An upload within its cap reaches the handler whole.
  RawClient c(server.Port());
  c.Send("POST /api/replays?p=1 HTTP/1.1\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n" +
         std::string(1000, 'd'));
  const std::string reply = c.ReadAll();
  EXPECT_EQ(StatusLine(reply), "HTTP/1.1 200 OK");
  EXPECT_NE(reply.find("POST /api/replays?p=1 1000"), std::string::npos);
}

TEST(HttpServer, ConnectionsPerAddressAreCapped) {
  ServerLimits limits;
  limits.MaxConnectionsPerClient = 3;
  limits.UncappedPeer = "127.0.0.3";
  HttpServer server("127.0.0.1", 0, limits, Echo);
  std::vector<std::unique_ptr<RawClient>> held;
  for (int i = 0; i < 3; ++i) {
    held.push_back(std::make_unique<RawClient>(server.Port()));
    held.back()->Send("GET /keep HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(StatusLine(held.back()->ReadOne()), "HTTP/1.1 200 OK");  // kept alive, still counted
  }
  EXPECT_EQ(Get(server.Port(), "/fourth"), "");                                         // closed unanswered
  EXPECT_EQ(StatusLine(Get(server.Port(), "/other", "127.0.0.2")), "HTTP/1.1 200 OK");  // another address
  std::vector<std::unique_ptr<RawClient>> proxy;
  for (int i = 0; i < 5; ++i) proxy.push_back(std::make_unique<RawClient>(server.Port(), "127.0.0.3"));
  EXPECT_EQ(StatusLine(Get(server.Port(), "/proxied", "127.0.0.3")), "HTTP/1.1 200 OK");
  proxy.clear();
  held.pop_back();  // one closes: room for one more, once the server has seen it go
  while (server.OpenConnections() > 2) std::this_thread::yield();
  EXPECT_EQ(StatusLine(Get(server.Port(), "/again")), "HTTP/1.1 200 OK");
}

TEST(HttpServer, KeepAliveAndHead) {
  HttpServer server("127.0.0.1", 0, ServerLimits{}, Echo);
  RawClient c(server.Port());
  c.Send("GET /one HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_NE(c.ReadOne().find("GET /one 0"), std::string::npos);
  c.Send("HEAD /two HTTP/1.1\r\nHost: x\r\n\r\n");
  const std::string head = c.ReadOne(true);
  EXPECT_NE(head.find("Content-Length: 11\r\n"), std::string::npos);  // what a GET would get
  EXPECT_EQ(head.substr(head.find("\r\n\r\n") + 4), "");
  c.Send("GET /three HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  EXPECT_NE(c.ReadAll().find("GET /three 0"), std::string::npos);
}

TEST(HttpServer, StopFinishesTheRequestsInFlight) {
  std::mutex m;
  std::condition_variable cv;
  bool entered = false, release = false;
  auto server = std::make_unique<HttpServer>("127.0.0.1", 0, ServerLimits{}, [&](const HttpRequest& r) {
    std::unique_lock lock(m);
    entered = true;
    cv.notify_all();
    cv.wait(lock, [&] { return release; });
    return Echo(r);
  });
  const uint16_t port = server->Port();
  std::string reply;
  std::thread client([&] { reply = Get(port, "/busy"); });
  {
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return entered; });
  }
  std::thread stopper([&] { server->Stop(std::chrono::milliseconds(30000)); });
  {
    std::lock_guard lock(m);
    release = true;
  }
  cv.notify_all();
  client.join();
  stopper.join();
  EXPECT_EQ(StatusLine(reply), "HTTP/1.1 200 OK");
  EXPECT_NE(reply.find("Connection: close"), std::string::npos);
  RawClient late(port);  // nobody listens any more
  if (late.Connected()) {
    late.Send("GET /late HTTP/1.1\r\n\r\n");
    EXPECT_EQ(late.ReadAll(), "");
  }
}

}  // namespace
}  // namespace sf::scores::testing
