#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "HttpMessage.h"

namespace sf::scores {

struct ServerLimits {
  // The whole request head must arrive within this time of the connection (or of the previous
  // reply on a kept-alive connection): a client sending a byte a second is cut off.
  std::chrono::milliseconds HeadDeadline{10000};
  std::chrono::milliseconds BodyDeadline{30000};
  std::chrono::milliseconds WriteDeadline{30000};
  size_t MaxHeadBytes = 8192;
  size_t MaxBodyBytes = 16 * 1024;
  size_t MaxUploadBytes = 4u << 20;  // for requests to UploadPath
  std::string UploadPath = "/api/replays";
  // Open connections from one client: an IPv4 address, or an IPv6 /64 (ClientKey).
  int MaxConnectionsPerClient = 32;
  int MaxConnections = 20000;
  // Connections waiting for a request head, whoever opened them: past this many, the one that has
  // waited longest is closed.
  int MaxPendingHeads = 4096;
  // Bytes of reply bodies being written, all connections together: a body that many replies
  // share counts once. A reply that would pass it gets 503 and the connection closes.
  size_t MaxPendingWriteBytes = 256u << 20;
  // Bytes of request bodies being read or handled, all connections together: an upload that
  // would pass it gets 503 before its body is read.
  size_t MaxPendingBodyBytes = 64u << 20;
  std::string UncappedPeer;  // the trusted proxy: its connections are not capped per address
  int IoThreads = 2;         // sockets: never blocked by a request's work
  int Workers = 64;          // requests' work (database calls) runs here
};

using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;
// Told about every answered request, with the time from a complete request to its reply.
using HttpObserver = std::function<void(const HttpRequest&, const HttpResponse&, double seconds)>;
// Asked about a request to UploadPath once its head has come, before its body is read (the
// request has no body then): a refusal ends the exchange without reading the body; nothing lets
// the body come (with "100 Continue" when the client waits for it).
using HeadHandler = std::function<std::optional<HttpResponse>(const HttpRequest&)>;

// An HTTP/1.1 server on Boost.Beast: asynchronous sockets on a few threads hold any number of slow
// or idle connections cheaply; the handler runs on a separate pool of workers. Memory is bounded
// by the limits above: heads and bodies by their caps, reply bodies by a budget all connections
// share, with shared bodies written from the one copy.
class HttpServer {
 public:
  // Binds host:port (port 0 picks a free one); throws std::runtime_error when it cannot.
  HttpServer(const std::string& host, uint16_t port, ServerLimits limits, HttpHandler handler,
             HttpObserver observer = {}, HeadHandler beforeBody = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  uint16_t Port() const;
  // Connections open now (accepted and not yet closed).
  int OpenConnections() const;
  ServerStats Stats() const;
  // Stops accepting, lets the requests already received finish (at most grace), then closes
  // every connection and returns. Returns at once when already stopped.
  void Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(4000));

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace sf::scores
