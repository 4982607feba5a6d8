// The HTTP layer on real loopback sockets: deadlines, size caps, per-address caps, keep-alive,
// HEAD, and a stop that finishes the requests in flight.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "HttpServer.h"
#include "RawClient.h"

namespace sf::scores::testing {
namespace {

HttpResponse Echo(const HttpRequest& r) {
  return HttpResponse{200, "text/plain", r.Method + " " + r.Target + " " + std::to_string(r.Body.size()), "", {}, {}};
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
  const auto exchange = [&](const std::string& bytes) { return StatusLine(Exchange(server.Port(), bytes)); };
  EXPECT_EQ(exchange("GET /" + std::string(2000, 'a') + " HTTP/1.1\r\n\r\n"),
            "HTTP/1.1 431 Request Header Fields Too Large");
  EXPECT_EQ(exchange("POST /x HTTP/1.1\r\nHost: x\r\nContent-Length: 101\r\n\r\n" + std::string(101, 'b')),
            "HTTP/1.1 413 Payload Too Large");
  EXPECT_EQ(exchange("POST /api/replays?p=1 HTTP/1.1\r\nHost: x\r\nContent-Length: 1001\r\n\r\n"),
            "HTTP/1.1 413 Payload Too Large");
  EXPECT_EQ(exchange("POST /x HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n65\r\n" + std::string(101, 'c') +
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
  c.Send("POST /api/replays?p=1 HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n" +
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

// What a proxy in front and this server could read differently, or a request could leave out, is
// refused: transfer codings other than chunked alone, a coding beside a length, a missing or a
// doubled Host. Every reply says not to guess its type.
TEST(HttpServer, AmbiguousFramingAndMissingHostsAreRefused) {
  int handled = 0;
  HttpServer server("127.0.0.1", 0, ServerLimits{}, [&](const HttpRequest& r) {
    ++handled;
    return Echo(r);
  });
  const auto exchange = [&](const std::string& bytes) { return Exchange(server.Port(), bytes); };
  const std::string chunk = "\r\n\r\n3\r\nabc\r\n0\r\n\r\n";
  for (const std::string& bad : {
           "POST /x HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\nContent-Length: 3" + chunk,
           "POST /x HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\nTransfer-Encoding: chunked" + chunk,
           "POST /x HTTP/1.0\r\nHost: x\r\nTransfer-Encoding: chunked" + chunk,
           std::string("GET /x HTTP/1.1\r\n\r\n"),
           std::string("GET /x HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n"),
       })
    EXPECT_EQ(StatusLine(exchange(bad)), "HTTP/1.1 400 Bad Request") << bad;
  for (const char* coding : {"gzip, chunked", "chunked, identity", "identity", "xchunked"}) {
    const std::string status =
        StatusLine(exchange(std::string("POST /x HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: ") + coding + chunk));
    EXPECT_TRUE(status == "HTTP/1.1 501 Not Implemented" || status == "HTTP/1.1 400 Bad Request") << coding << status;
  }
  EXPECT_EQ(handled, 0);
  const std::string chunked = exchange("POST /x HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: Chunked" + chunk);
  EXPECT_EQ(StatusLine(chunked), "HTTP/1.1 200 OK");
  EXPECT_NE(chunked.find("POST /x 3"), std::string::npos);
  EXPECT_NE(chunked.find("\r\nX-Content-Type-Options: nosniff\r\n"), std::string::npos) << chunked;
  // HTTP/1.0 had no Host to send.
  EXPECT_EQ(StatusLine(exchange("GET /old HTTP/1.0\r\n\r\n")), "HTTP/1.0 200 OK");
  EXPECT_EQ(handled, 2);
}

// A client that asks before sending its body hears "100 Continue" when the body is wanted and
// the final answer at once when it is not; an expectation other than that is refused. A refused
// upload's body is never read, and what is withheld costs nothing.
TEST(HttpServer, UploadsAreAnsweredBeforeTheirBodyIsRead) {
  std::atomic<int> handled{0};
  HttpServer server(
      "127.0.0.1", 0, ServerLimits{},
      [&](const HttpRequest& r) {
        ++handled;
        return Echo(r);
      },
      {},
      [](const HttpRequest& head) -> std::optional<HttpResponse> {
        if (head.Target.find("p=good") != std::string::npos) return std::nullopt;
        return HttpResponse{403, "text/plain", "foreign token\n", "", {}, {}};
      });
  const std::string body(5000, 'r');
  {
    RawClient c(server.Port());
    c.Send("POST /api/replays?p=good HTTP/1.1\r\nHost: x\r\nContent-Length: 5000\r\nExpect: 100-continue\r\n\r\n");
    EXPECT_EQ(StatusLine(c.ReadOne()), "HTTP/1.1 100 Continue");
    c.Send(body);
    const std::string reply = c.ReadOne();
    EXPECT_EQ(StatusLine(reply), "HTTP/1.1 200 OK");
    EXPECT_NE(reply.find("POST /api/replays?p=good 5000"), std::string::npos);
  }
  {
    RawClient c(server.Port());
    c.Send("POST /api/replays?p=bad HTTP/1.1\r\nHost: x\r\nContent-Length: 5000\r\nExpect: 100-continue\r\n\r\n");
    const std::string reply = c.ReadAll();
    EXPECT_EQ(StatusLine(reply), "HTTP/1.1 403 Forbidden");
    EXPECT_NE(reply.find("Connection: close"), std::string::npos);
    EXPECT_EQ(reply.substr(reply.find("\r\n\r\n") + 4), "foreign token\n");
  }
  {
    // No Expect: part of the body is sent, the rest withheld; the answer comes all the same.
    RawClient c(server.Port());
    c.Send("POST /api/replays?p=bad HTTP/1.1\r\nHost: x\r\nContent-Length: 5000\r\n\r\n" + body.substr(0, 2000));
    EXPECT_EQ(StatusLine(c.ReadAll()), "HTTP/1.1 403 Forbidden");
  }
  {
    RawClient c(server.Port());
    c.Send("POST /x HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\nExpect: something-else\r\n\r\nabc");
    EXPECT_EQ(StatusLine(c.ReadAll()), "HTTP/1.1 417 Expectation Failed");
  }
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(server.Stats().PendingBodyBytes, 0u);
}

// Connections that never finish their heads cannot take every descriptor: past the cap the one
// that has waited longest is closed, and a request still gets through. Refused connections are
// counted.
TEST(HttpServer, HalfOpenHeadsAreShedOldestFirst) {
  ServerLimits limits;
  limits.MaxPendingHeads = 5;
  limits.MaxConnectionsPerClient = 100;
  HttpServer server("127.0.0.1", 0, limits, Echo);
  std::vector<std::unique_ptr<RawClient>> slow;
  for (int i = 0; i < 8; ++i) {
    slow.push_back(std::make_unique<RawClient>(server.Port()));
    ASSERT_TRUE(slow.back()->Send("GET /slow HTTP/1.1\r\n"));
    while (server.Stats().PendingHeads + static_cast<int>(server.Stats().ShedHeads) < i + 1) std::this_thread::yield();
  }
  // The three oldest were closed; the five newest wait on.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(slow[static_cast<size_t>(i)]->ReadAll(), "") << i;
  for (int i = 3; i < 8; ++i) EXPECT_FALSE(slow[static_cast<size_t>(i)]->ClosedOrAnsweredWithin(0)) << i;
  EXPECT_EQ(StatusLine(Get(server.Port(), "/fast")), "HTTP/1.1 200 OK");
  EXPECT_GE(server.Stats().ShedHeads, 3u);

  ServerLimits one;
  one.MaxConnectionsPerClient = 1;
  HttpServer capped("127.0.0.1", 0, one, Echo);
  RawClient first(capped.Port());
  first.Send("GET /a HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(StatusLine(first.ReadOne()), "HTTP/1.1 200 OK");
  EXPECT_EQ(Get(capped.Port(), "/b"), "");
  EXPECT_EQ(capped.Stats().RefusedPerClient, 1u);
}

// Bytes waiting are bounded for all connections together: a reply body that would pass the
// write budget is a 503 (a body many replies share counts once), and so is a body that would
// pass the read budget, before it is read.
TEST(HttpServer, BytesWaitingAreBoundedForAllConnectionsTogether) {
  ServerLimits limits;
  limits.MaxPendingWriteBytes = 12u << 20;
  limits.MaxPendingBodyBytes = 3000;
  limits.MaxConnectionsPerClient = 100;
  const auto shared = std::make_shared<const std::string>(8u << 20, 's');
  HttpServer server("127.0.0.1", 0, limits, [&](const HttpRequest& r) {
    HttpResponse response = Echo(r);
    if (r.Target == "/own") response.Body.assign(8u << 20, 'o');
    if (r.Target == "/shared") response.Shared = shared;
    return response;
  });
  const auto slowGet = [&](const char* target) {
    auto c = std::make_unique<RawClient>(server.Port(), "127.0.0.1", 4096);
    c->Send(std::string("GET ") + target + " HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(c->ClosedOrAnsweredWithin(5000));
    char head[13] = {};
    ::recv(c->Fd(), head, 12, MSG_PEEK);
    return std::make_pair(std::move(c), std::string(head));
  };
  auto [own, ownStatus] = slowGet("/own");
  EXPECT_EQ(ownStatus, "HTTP/1.1 200");
  EXPECT_EQ(slowGet("/own").second, "HTTP/1.1 503");  // a second copy would pass the budget
  auto [one, oneStatus] = slowGet("/shared");
  auto [two, twoStatus] = slowGet("/shared");
  EXPECT_EQ(oneStatus, "HTTP/1.1 503") << "the shared body is new: it would pass the budget too";
  own.reset();
  while (server.Stats().PendingWriteBytes > 0) std::this_thread::yield();
  auto [three, threeStatus] = slowGet("/shared");
  auto [four, fourStatus] = slowGet("/shared");
  EXPECT_EQ(threeStatus, "HTTP/1.1 200");
  EXPECT_EQ(fourStatus, "HTTP/1.1 200") << "the same bytes count once";
  EXPECT_EQ(server.Stats().PendingWriteBytes, shared->size());
  EXPECT_EQ(server.Stats().BusyReplies, 3u);

  RawClient first(server.Port());
  first.Send("POST /a HTTP/1.1\r\nHost: x\r\nContent-Length: 2000\r\n\r\n" + std::string(100, 'a'));
  while (server.Stats().PendingBodyBytes == 0) std::this_thread::yield();
  RawClient second(server.Port());
  second.Send("POST /b HTTP/1.1\r\nHost: x\r\nContent-Length: 2000\r\n\r\n");
  EXPECT_EQ(StatusLine(second.ReadOne()), "HTTP/1.1 503 Service Unavailable");
  first.Send(std::string(1900, 'a'));
  EXPECT_EQ(StatusLine(first.ReadOne()), "HTTP/1.1 200 OK");
  EXPECT_EQ(server.Stats().BusyBodies, 1u);
}

TEST(ClientKey, AnIpv6Slash64CountsAsOneClient) {
  EXPECT_EQ(ClientKey("203.0.113.9"), "203.0.113.9");
  EXPECT_EQ(ClientKey("2001:db8:1:2:aaaa:bbbb:cccc:dddd"), "2001:db8:1:2::/64");
  EXPECT_EQ(ClientKey("2001:db8:1:2::1"), "2001:db8:1:2::/64");
  EXPECT_EQ(ClientKey("2001:DB8:1:2:ffff::"), "2001:db8:1:2::/64");
  EXPECT_NE(ClientKey("2001:db8:1:3::1"), ClientKey("2001:db8:1:2::1"));
  EXPECT_EQ(ClientKey("::ffff:198.51.100.7"), "198.51.100.7");
  EXPECT_EQ(ClientKey("?"), "?");
  EXPECT_EQ(ClientKey("not:an:address:at:all"), "not:an:address:at:all");
}

}  // namespace
}  // namespace sf::scores::testing
