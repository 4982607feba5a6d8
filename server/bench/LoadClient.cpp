// saltfang-load: players for the service's bench, on loopback only.
//
//   saltfang-load --servers HOST:PORT[,HOST:PORT] --players N --seconds S [--acked FILE] [--prefix P]
//                 [--slow N]
//
// Each player repeats the game's exchange on kept-alive connections: the version query, then the
// submission with a result of its own (unique names, so every acknowledged one can be looked up
// later). With two servers the version query goes to one and the submission to the other. --slow N
// first opens N connections from 127.0.0.2-127.0.0.11 that send their request heads a byte a
// second, the whole run long. Prints throughput, latencies and the statuses seen; --acked lists
// every result that got a 200, one name a line.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "web/OnlineScores.h"
#include "web/ScoreCodec.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Server {
  std::string Host;
  uint16_t Port = 0;
};

int Connect(const Server& s, const char* from = nullptr) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (from) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &local.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
  }
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(s.Port);
  ::inet_pton(AF_INET, s.Host.c_str(), &addr.sin_addr);
  timeval tv{10, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

struct Reply {
  int Status = 0;  // 0: no reply (connection failed)
  std::string Body, SetCookie;
  bool Close = false;
};

// One GET on a kept-alive connection; reconnects when needed.
class Connection {
 public:
  explicit Connection(Server s) : server_(std::move(s)) {}
  ~Connection() {
    if (fd_ >= 0) ::close(fd_);
  }
  Reply Get(const std::string& target, const std::string& cookie) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (fd_ < 0) fd_ = Connect(server_);
      if (fd_ < 0) return {};
      std::string request = "GET " + target + " HTTP/1.1\r\nHost: bench\r\n";
      if (!cookie.empty()) request += "Cookie: " + cookie + "\r\n";
      request += "\r\n";
      Reply r;
      if (::send(fd_, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size()) &&
          Read(r)) {
        if (r.Close) Reset();
        return r;
      }
      Reset();  // a kept-alive connection the server closed: try once on a fresh one
    }
    return {};
  }

 private:
  void Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    buffer_.clear();
  }
  bool Fill() {
    char chunk[8192];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buffer_.append(chunk, static_cast<size_t>(n));
    return true;
  }
  bool Read(Reply& r) {
    size_t end;
    while ((end = buffer_.find("\r\n\r\n")) == std::string::npos)
      if (!Fill()) return false;
    const std::string head = buffer_.substr(0, end);
    buffer_.erase(0, end + 4);
    if (head.size() < 12) return false;
    r.Status = std::atoi(head.c_str() + 9);
    size_t length = 0;
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (const size_t at = lower.find("content-length: "); at != std::string::npos)
      length = std::strtoul(head.c_str() + at + 16, nullptr, 10);
    if (const size_t at = lower.find("set-cookie: "); at != std::string::npos)
      r.SetCookie = head.substr(at + 12, head.find_first_of(";\r", at) - at - 12);
    r.Close = lower.find("connection: close") != std::string::npos;
    while (buffer_.size() < length)
      if (!Fill()) return false;
    r.Body = buffer_.substr(0, length);
    buffer_.erase(0, length);
    return true;
  }

  Server server_;
  int fd_ = -1;
  std::string buffer_;
};

struct Totals {
  std::mutex Mutex;
  std::vector<double> SubmitMs, ExchangeMs;
  std::map<int, long> Statuses;
  std::vector<std::string> Acked;
};

std::optional<Server> ParseServer(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  return Server{text.substr(0, colon), static_cast<uint16_t>(std::atoi(text.c_str() + colon + 1))};
}

double Percentile(std::vector<double>& v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Server> servers;
  int players = 64, slow = 0;
  double seconds = 10;
  std::string ackedFile, prefix = "b";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    if (flag == "--servers") {
      for (size_t start = 0; start <= value.size();) {
        const size_t comma = value.find(',', start);
        if (auto s = ParseServer(value.substr(start, comma - start))) servers.push_back(*s);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (flag == "--players")
      players = std::atoi(value.c_str());
    else if (flag == "--seconds")
      seconds = std::atof(value.c_str());
    else if (flag == "--acked")
      ackedFile = value;
    else if (flag == "--prefix")
      prefix = value;
    else if (flag == "--slow")
      slow = std::atoi(value.c_str());
  }
  if (servers.empty()) {
    std::fprintf(stderr,
                 "usage: %s --servers HOST:PORT[,HOST:PORT] [--players N] [--seconds S] [--acked FILE] "
                 "[--prefix P] [--slow N]\n",
                 argv[0]);
    return 2;
  }
  const auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  std::atomic<bool> stop{false};

  // Slow senders: a byte of a request head each second from ten other loopback addresses.
  std::atomic<long> slowOpen{0}, slowReopened{0};
  std::thread slowThread;
  if (slow > 0) {
    slowThread = std::thread([&] {
      const std::string head =
          "GET /cgi/version.pl?version&prg=Saltfang HTTP/1.1\r\nHost: slow\r\nX-Pad: " + std::string(4000, 'x') +
          "\r\n\r\n";
      struct Slow {
        int Fd = -1;
        size_t Sent = 0;
        std::string From;
      };
      std::vector<Slow> conns(static_cast<size_t>(slow));
      for (size_t i = 0; i < conns.size(); ++i) conns[i].From = "127.0.0." + std::to_string(2 + i % 10);
      while (!stop) {
        long open = 0;
        for (Slow& c : conns) {
          if (c.Fd < 0) {
            c.Fd = Connect(servers[0], c.From.c_str());
            c.Sent = 0;
            if (c.Fd >= 0) ++slowReopened;
          }
          if (c.Fd < 0) continue;
          if (::send(c.Fd, head.data() + c.Sent % head.size(), 1, MSG_NOSIGNAL | MSG_DONTWAIT) != 1) {
            ::close(c.Fd);
            c.Fd = -1;
            continue;
          }
          ++c.Sent;
          ++open;
        }
        slowOpen = open;
        for (int i = 0; i < 10 && !stop; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
      for (Slow& c : conns)
        if (c.Fd >= 0) ::close(c.Fd);
    });
    std::this_thread::sleep_for(std::chrono::seconds(2));  // let them all connect and start trickling
  }

  Totals totals;
  std::vector<std::thread> threads;
  const auto started = Clock::now();
  for (int p = 0; p < players; ++p) {
    threads.emplace_back([&, p] {
      Connection versionConn(servers[static_cast<size_t>(p) % servers.size()]);
      Connection submitConn(servers[static_cast<size_t>(p + 1) % servers.size()]);
      std::string cookie;
      std::vector<double> submitMs, exchangeMs;
      std::map<int, long> statuses;
      std::vector<std::string> acked;
      for (long n = 0; Clock::now() < until; ++n) {
        const auto t0 = Clock::now();
        const Reply version = versionConn.Get(std::string(sf::kVersionQueryPath), cookie);
        ++statuses[version.Status];
        if (!version.SetCookie.empty()) cookie = version.SetCookie;
        if (version.Status != 200) continue;
        char name[33];
        std::snprintf(name, sizeof name, "%s%d_%ld", prefix.c_str(), p, n);
        const std::string record =
            sf::ResultString(name, static_cast<int32_t>(1000 + n % 50000), sf::ServerField(version.Body), "bench");
        const std::string target =
            std::string(sf::kSubmissionPath) + sf::BitStringToSymbols(sf::BytesToBitString(record));
        const auto t1 = Clock::now();
        const Reply submitted = submitConn.Get(target, cookie);
        const auto t2 = Clock::now();
        ++statuses[submitted.Status];
        if (submitted.Status == 200) {
          submitMs.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
          exchangeMs.push_back(std::chrono::duration<double, std::milli>(t2 - t0).count());
          acked.emplace_back(name);
        }
      }
      std::lock_guard lock(totals.Mutex);
      totals.SubmitMs.insert(totals.SubmitMs.end(), submitMs.begin(), submitMs.end());
      totals.ExchangeMs.insert(totals.ExchangeMs.end(), exchangeMs.begin(), exchangeMs.end());
      for (const auto& [s, c] : statuses) totals.Statuses[s] += c;
      totals.Acked.insert(totals.Acked.end(), acked.begin(), acked.end());
    });
  }
  for (auto& t : threads) t.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
  stop = true;
  const long held = slowOpen.load(), reopened = slowReopened.load();
  if (slowThread.joinable()) slowThread.join();

  std::string statuses;
  for (const auto& [s, c] : totals.Statuses) {
    // Appended piece by piece: GCC 12 misreads " " + std::string(...) as an overlapping copy.
    statuses += ' ';
    statuses += s == 0 ? std::string("no-reply") : std::to_string(s);
    statuses += ':';
    statuses += std::to_string(c);
  }
  const size_t ok = totals.SubmitMs.size();
  const double submitP50 = Percentile(totals.SubmitMs, 0.50), submitP99 = Percentile(totals.SubmitMs, 0.99);
  const double exchangeP50 = Percentile(totals.ExchangeMs, 0.50), exchangeP99 = Percentile(totals.ExchangeMs, 0.99);
  const double exchangeMax = totals.ExchangeMs.empty() ? 0.0 : totals.ExchangeMs.back();  // sorted above
  std::printf(
      "acknowledged %zu submissions in %.1f s = %.0f/s; submission p50 %.1f ms p99 %.1f ms; "
      "whole exchange p50 %.1f ms p99 %.1f ms max %.1f ms; statuses%s",
      ok, elapsed, static_cast<double>(ok) / elapsed, submitP50, submitP99, exchangeP50, exchangeP99, exchangeMax,
      statuses.c_str());
  if (slow > 0) std::printf("; slow senders open at the end %ld, connections made %ld", held, reopened);
  std::printf("\n");
  if (!ackedFile.empty()) {
    std::ofstream out(ackedFile);
    for (const auto& n : totals.Acked) out << n << "\n";
  }
  return 0;
}
