#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>

namespace sf::scores {

namespace {

using SteadyClock = std::chrono::steady_clock;

int RemainingMs(SteadyClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Sends everything before the deadline; false when the peer went away or was too slow.
bool SendAll(int fd, const std::string& bytes, SteadyClock::time_point deadline) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    pollfd p{fd, POLLOUT, 0};
    const int wait = RemainingMs(deadline);
    if (wait == 0 || ::poll(&p, 1, wait) <= 0) return false;
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// After an early reply the client may still be sending: stop writing and read away what comes, for
// a bounded time and amount, so closing does not reset the connection before the reply is read.
void DrainBeforeClose(int fd) {
  ::shutdown(fd, SHUT_WR);
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(500);
  char buffer[4096];
  for (size_t drained = 0; drained < 256 * 1024;) {
    pollfd p{fd, POLLIN, 0};
    const int wait = RemainingMs(deadline);
    if (wait == 0 || ::poll(&p, 1, wait) <= 0) return;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    drained += static_cast<size_t>(n);
  }
}

}  // namespace

LoopbackServer::LoopbackServer(uint16_t port, int connectionTimeoutMs) : connectionTimeoutMs_(connectionTimeoutMs) {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  const int yes = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(port);
  socklen_t len = sizeof addr;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 16) != 0 ||
      ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    const std::string why = std::strerror(errno);
    ::close(listenFd_);
    throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + why);
  }
  port_ = ntohs(addr.sin_port);
}

LoopbackServer::~LoopbackServer() { ::close(listenFd_); }

void LoopbackServer::Run(const std::function<HttpResponse(const HttpRequest&)>& handler,
                         const std::atomic<bool>& stop) {
  while (!stop.load()) {
    pollfd p{listenFd_, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ServeConnection(fd, handler);
    ::close(fd);
  }
}

void LoopbackServer::ServeConnection(int fd, const std::function<HttpResponse(const HttpRequest&)>& handler) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(connectionTimeoutMs_);
  std::string head;
  char buffer[2048];
  // Reads the head only: a GET has no body. The loop ends with the head, the size cap or the deadline.
  while (head.find("\r\n\r\n") == std::string::npos) {
    if (head.size() > kMaxRequestHead) {
      if (SendAll(fd, FormatHttpResponse({431, "text/plain", "request too large\n", ""}), deadline))
        DrainBeforeClose(fd);
      return;
    }
    pollfd p{fd, POLLIN, 0};
    const int wait = RemainingMs(deadline);
    if (wait == 0 || ::poll(&p, 1, wait) <= 0) {
      SendAll(fd, FormatHttpResponse({408, "text/plain", "too slow\n", ""}), deadline + std::chrono::seconds(1));
      return;
    }
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the peer left
    head.append(buffer, static_cast<size_t>(n));
  }
  const auto request = ParseHttpRequest(head.substr(0, head.find("\r\n\r\n") + 4));
  const HttpResponse response = request ? handler(*request) : HttpResponse{400, "text/plain", "bad request\n", ""};
  SendAll(fd, FormatHttpResponse(response), deadline + std::chrono::seconds(1));
}

}  // namespace sf::scores
