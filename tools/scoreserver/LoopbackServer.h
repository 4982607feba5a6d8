#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

#include "HttpMessage.h"

namespace sf::scores {

// A one-connection-at-a-time HTTP server on 127.0.0.1. Each connection gets one request and one
// reply within a fixed time; a slow, oversized or malformed request is answered with an error
// (or dropped) and the server goes on serving.
class LoopbackServer {
 public:
  // Binds 127.0.0.1:port (0 picks a free port); throws std::runtime_error when it cannot.
  explicit LoopbackServer(uint16_t port, int connectionTimeoutMs = 5000);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  uint16_t Port() const { return port_; }

  // Serves until stop becomes true (looked at least every 100 ms).
  void Run(const std::function<HttpResponse(const HttpRequest&)>& handler, const std::atomic<bool>& stop);

 private:
  void ServeConnection(int fd, const std::function<HttpResponse(const HttpRequest&)>& handler);

  int listenFd_ = -1;
  uint16_t port_ = 0;
  int connectionTimeoutMs_;
};

}  // namespace sf::scores
