#pragma once
// Plain sockets for the tests that must send what no HTTP client would.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace sf::scores::testing {

// A connection to 127.0.0.1:port from the loopback address `from` (any of 127.0.0.0/8), with a
// receive buffer of receiveBuffer bytes when given (a slow reader's small window).
class RawClient {
 public:
  RawClient(uint16_t port, const char* from = "127.0.0.1", int receiveBuffer = 0) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &local.sin_addr);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  ~RawClient() { ::close(fd_); }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool Connected() const { return connected_; }
  bool Send(const std::string& bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  void EndWriting() { ::shutdown(fd_, SHUT_WR); }
  // Sends what the socket takes now of bytes, without waiting; returns how much that was.
  size_t SendWhatFits(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    return sent;
  }
  // Everything until the server closes.
  std::string ReadAll() {
    std::string reply;
    char buf[4096];
    for (ssize_t n; (n = ::recv(fd_, buf, sizeof buf, 0)) > 0;) reply.append(buf, static_cast<size_t>(n));
    return reply;
  }
  // One reply on a kept-alive connection: its head and a Content-Length body.
  // (no body after a HEAD).
  std::string ReadOne(bool head = false) {
    std::string reply;
    char c;
    while (reply.find("\r\n\r\n") == std::string::npos && ::recv(fd_, &c, 1, 0) == 1) reply.push_back(c);
    const size_t at = reply.find("Content-Length: ");
    size_t length = at == std::string::npos || head ? 0 : std::stoul(reply.substr(at + 16));
    std::string body(length, '\0');
    size_t got = 0;
    while (got < length) {
      const ssize_t n = ::recv(fd_, body.data() + got, length - got, 0);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    return reply + body.substr(0, got);
  }
  // True when the server has closed (or answered) within ms milliseconds.
  bool ClosedOrAnsweredWithin(int ms) {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
  }
  int Fd() const { return fd_; }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

inline std::string StatusLine(const std::string& reply) { return reply.substr(0, reply.find("\r\n")); }

// One request on a connection of its own: the bytes sent, the writing side closed, and everything
// the server answers until it closes.
inline std::string Exchange(uint16_t port, const std::string& bytes) {
  RawClient c(port);
  c.Send(bytes);
  c.EndWriting();
  return c.ReadAll();
}

}  // namespace sf::scores::testing
