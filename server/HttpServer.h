#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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
  int MaxConnectionsPerClient = 32;  // open connections from one address
  int MaxConnections = 20000;
  std::string UncappedPeer;  // the trusted proxy: its connections are not capped per address
  int IoThreads = 2;         // sockets: never blocked by a request's work
  int Workers = 64;          // requests' work (database calls) runs here
};

using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;
// Told about every answered request, with the time from a complete request to its reply.
using HttpObserver = std::function<void(const HttpRequest&, const HttpResponse&, double seconds)>;

// An HTTP/1.1 server on Boost.Beast: asynchronous sockets on a few threads hold any number of slow
// or idle connections cheaply; the handler runs on a separate pool of workers.
class HttpServer {
 public:
  // Binds host:port (port 0 picks a free one); throws std::runtime_error when it cannot.
  HttpServer(const std::string& host, uint16_t port, ServerLimits limits, HttpHandler handler,
             HttpObserver observer = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  uint16_t Port() const;
  // Connections open now (accepted and not yet closed).
  int OpenConnections() const;
  // Stops accepting, lets the requests already received finish (at most grace), then closes
  // every connection and returns. Returns at once when already stopped.
  void Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(4000));

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace sf::scores
