#include "HttpServer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <boost/asio/bind_executor.hpp>
#include <boost/asio/dispatch.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/http/span_body.hpp>
#include <cctype>
#include <limits>
#include <list>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

namespace sf::scores {

namespace beast = boost::beast;
namespace http = boost::beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

namespace {

// A connection waiting for a request head, which may be closed to make room for newer ones.
struct HeadWaiter {
  virtual ~HeadWaiter() = default;
  // Closes the connection if it still waits for the head it waited for then.
  virtual void Shed(uint64_t generation) = 0;
  virtual std::shared_ptr<HeadWaiter> Strong() = 0;  // null once it is being destroyed

  // Guarded by the server's list of waiters.
  bool Listed = false;
  uint64_t Generation = 0;
  std::list<HeadWaiter*>::iterator At;
};

// The bytes of reply bodies being written. A body that several replies share is counted once,
// while any of them is in flight.
class WriteBudget {
 public:
  explicit WriteBudget(size_t max) : max_(max) {}
  // Counts a write of body; false when its bytes would pass the budget (a small body always goes).
  bool Take(const std::string* body) {
    std::lock_guard lock(mutex_);
    const auto it = writes_.find(body);
    if (it != writes_.end()) {
      ++it->second;
      return true;
    }
    if (body->size() > kAlwaysBytes && bytes_ + body->size() > max_) return false;
    writes_.emplace(body, 1);
    bytes_ += body->size();
    return true;
  }
  void Give(const std::string* body) {
    std::lock_guard lock(mutex_);
    const auto it = writes_.find(body);
    if (it == writes_.end()) return;
    if (--it->second == 0) {
      bytes_ -= body->size();
      writes_.erase(it);
    }
  }
  size_t Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
  }

 private:
  static constexpr size_t kAlwaysBytes = 4096;
  mutable std::mutex mutex_;
  std::unordered_map<const std::string*, size_t> writes_;  // body -> writes of it in flight
  size_t bytes_ = 0;
  size_t max_;
};

HttpResponse PlainReply(int status, std::string_view text) {
  HttpResponse r;
  r.Status = status;
  r.Body = std::string(text) + "\n";
  return r;
}

}  // namespace

struct HttpServer::Impl {
  Impl(ServerLimits l, HttpHandler h, HttpObserver o, HeadHandler b)
      : limits(std::move(l)),
        handler(std::move(h)),
        observer(std::move(o)),
        beforeBody(std::move(b)),
        writes(limits.MaxPendingWriteBytes),
        ioc(limits.IoThreads),
        keepRunning(ioc.get_executor()),
        acceptor(net::make_strand(ioc)),
        retryTimer(acceptor.get_executor()),
        workers(static_cast<std::size_t>(limits.Workers)) {}

  bool Admit(const std::string& peer, const std::string& key) {
    std::lock_guard lock(connMutex);
    if (total >= limits.MaxConnections) {
      ++refusedAtCapacity;
      return false;
    }
    if (peer != limits.UncappedPeer) {
      int& n = perClient[key];
      if (n >= limits.MaxConnectionsPerClient) {
        ++refusedPerClient;
        return false;
      }
      ++n;
    }
    ++total;
    return true;
  }
  void Release(const std::string& peer, const std::string& key) {
    std::lock_guard lock(connMutex);
    --total;
    if (peer == limits.UncappedPeer) return;
    const auto it = perClient.find(key);
    if (it != perClient.end() && --it->second <= 0) perClient.erase(it);
  }

  // A connection starts waiting for a head; the one that has waited longest is shed when too
  // many wait.
  void ListHead(HeadWaiter* w, uint64_t generation) {
    std::shared_ptr<HeadWaiter> shed;
    uint64_t shedGeneration = 0;
    {
      std::lock_guard lock(headMutex);
      w->At = heads.insert(heads.end(), w);
      w->Listed = true;
      w->Generation = generation;
      if (static_cast<int>(heads.size()) > limits.MaxPendingHeads) {
        HeadWaiter* oldest = heads.front();
        heads.pop_front();
        oldest->Listed = false;
        shedGeneration = oldest->Generation;
        shed = oldest->Strong();
        ++shedHeads;
      }
    }
    if (shed) shed->Shed(shedGeneration);
  }
  void UnlistHead(HeadWaiter* w) {
    std::lock_guard lock(headMutex);
    if (!w->Listed) return;
    heads.erase(w->At);
    w->Listed = false;
  }

  bool TakeBody(size_t bytes) {
    size_t now = bodyBytes.load();
    do {
      if (now + bytes > limits.MaxPendingBodyBytes) return false;
    } while (!bodyBytes.compare_exchange_weak(now, now + bytes));
    return true;
  }
  void GiveBody(size_t bytes) { bodyBytes -= bytes; }

  void Accept();

  ServerLimits limits;
  HttpHandler handler;
  HttpObserver observer;
  HeadHandler beforeBody;
  mutable std::mutex connMutex;
  std::unordered_map<std::string, int> perClient;
  int total = 0;
  uint64_t refusedAtCapacity = 0, refusedPerClient = 0;  // guarded by connMutex
  mutable std::mutex headMutex;
  std::list<HeadWaiter*> heads;  // oldest first
  uint64_t shedHeads = 0;        // guarded by headMutex
  WriteBudget writes;
  std::atomic<size_t> bodyBytes{0};
  std::atomic<uint64_t> busyReplies{0}, busyBodies{0};
  std::atomic<int> inflight{0};
  std::atomic<bool> stopping{false};
  net::io_context ioc;
  // A request being handled by a worker has no operation pending on the sockets' threads; this
  // keeps them running until the stop, so its reply is always written.
  net::executor_work_guard<net::io_context::executor_type> keepRunning;
  tcp::acceptor acceptor;
  net::steady_timer retryTimer;
  std::vector<std::thread> ioThreads;
  net::thread_pool workers;
  bool stopped = false;
};

namespace {

// A reply on its way out: the message refers to the body's bytes, which it keeps alive.
struct Outgoing {
  http::response<http::span_body<const char>> Message;
  std::shared_ptr<const std::string> Body;
  bool Counted = false;  // in the write budget
};

class Session : public std::enable_shared_from_this<Session>, public HeadWaiter {
 public:
  Session(HttpServer::Impl* server, tcp::socket socket, std::string peer, std::string key)
      : server_(server), stream_(std::move(socket)), peer_(std::move(peer)), key_(std::move(key)) {}
  ~Session() override {
    server_->UnlistHead(this);
    ReleaseBody();
    server_->Release(peer_, key_);
  }

  void Start() {
    net::dispatch(stream_.get_executor(), beast::bind_front_handler(&Session::ReadHead, shared_from_this()));
  }

  std::shared_ptr<HeadWaiter> Strong() override { return weak_from_this().lock(); }
  void Shed(uint64_t generation) override {
    net::post(stream_.get_executor(), [self = shared_from_this(), generation] {
      if (self->waitingHead_ && self->headGeneration_ == generation) self->Close();
    });
  }

 private:
  void ReadHead() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(server_->limits.MaxHeadBytes));
    // The path decides the body's cap, once the head is in (OnHead): a length above it is
    // refused there, with the request's path in the log.
    parser_->body_limit(std::numeric_limits<std::uint64_t>::max());
    // One deadline for the whole head, however slowly its bytes trickle in.
    stream_.expires_after(server_->limits.HeadDeadline);
    waitingHead_ = true;
    server_->ListHead(this, ++headGeneration_);
    http::async_read_header(stream_, buffer_, *parser_,
                            beast::bind_front_handler(&Session::OnHead, shared_from_this()));
  }

  // What is wrong with a head the parser took: a status and a sentence, or nothing.
  std::optional<std::pair<int, const char*>> HeadFault(const http::request_parser<http::string_body>& parser) {
    const auto& head = parser.get();
    size_t hosts = 0, codings = 0;
    std::string_view coding, expect;
    for (const auto& field : head) {
      if (field.name() == http::field::host) ++hosts;
      if (field.name() == http::field::transfer_encoding) {
        ++codings;
        coding = Trim(std::string_view(field.value().data(), field.value().size()));
      }
      if (field.name() == http::field::expect)
        expect = Trim(std::string_view(field.value().data(), field.value().size()));
    }
    if (hosts > 1 || (hosts == 0 && head.version() >= 11))
      return std::pair{400, "a request names its Host once (HTTP/1.1 asks for it)"};
    if (codings > 0) {
      // Only chunked, alone, in HTTP/1.1 and without a Content-Length: anything else is how one
      // request is smuggled inside another past a proxy.
      if (head.version() < 11 || codings > 1 || head.count(http::field::content_length) > 0)
        return std::pair{400, "a Transfer-Encoding this server does not take"};
      if (!EqualsNoCase(coding, "chunked")) return std::pair{501, "only the chunked transfer coding is understood"};
    }
    expectContinue_ = false;
    if (!expect.empty()) {
      if (!EqualsNoCase(expect, "100-continue")) return std::pair{417, "the only expectation met is 100-continue"};
      expectContinue_ = head.version() >= 11;
    }
    return std::nullopt;
  }

  void OnHead(beast::error_code ec, std::size_t) {
    waitingHead_ = false;
    server_->UnlistHead(this);
    if (ec == http::error::header_limit) return Refuse(431, "request head too large");
    if (ec == http::error::body_limit) return Refuse(413, "request body too large");
    if (ec == http::error::end_of_stream || ec == beast::error::timeout || ec == net::error::operation_aborted ||
        ec == net::error::connection_reset || ec == net::error::eof || ec == net::error::bad_descriptor)
      return Close();
    if (ec) return Refuse(400, "malformed request");
    if (const auto fault = HeadFault(*parser_)) return Refuse(fault->first, fault->second);
    const auto& head = parser_->get();
    request_ = std::make_shared<HttpRequest>();
    request_->Method = std::string(head.method_string());
    request_->Target = std::string(head.target());
    for (const auto& field : head) {
      std::string name(field.name_string()), value(field.value());
      if (field.name() == http::field::cookie) {
        if (!request_->Cookie.empty()) request_->Cookie += "; ";
        request_->Cookie += value;
      }
      request_->Headers.emplace_back(std::move(name), std::move(value));
    }
    request_->Peer = peer_;
    const std::string_view target = request_->Target;
    const std::string_view path = target.substr(0, target.find('?'));
    const bool upload = path == server_->limits.UploadPath;
    const size_t limit = upload ? server_->limits.MaxUploadBytes : server_->limits.MaxBodyBytes;
    if (parser_->content_length() && *parser_->content_length() > limit)
      return RefuseAfterHead(PlainReply(413, "request body too large"));
    parser_->body_limit(limit);
    bodyLimit_ = limit;
    if (parser_->is_done()) return Dispatch();
    // A body follows. The handler may refuse an upload before a byte of it is read.
    if (!upload || !server_->beforeBody) return TakeRoomAndReadBody();
    ++server_->inflight;
    stream_.expires_never();
    net::post(server_->workers, [self = shared_from_this()] {
      std::optional<HttpResponse> refusal;
      try {
        refusal = self->server_->beforeBody(*self->request_);
      } catch (const std::exception&) {
        refusal = PlainReply(500, "internal error");
      }
      net::post(self->stream_.get_executor(), [self, refusal = std::move(refusal)]() mutable {
        --self->server_->inflight;
        if (refusal) return self->RefuseAfterHead(std::move(*refusal));
        self->TakeRoomAndReadBody();
      });
    });
  }

  // Room for the body among all connections' bodies, then the body.
  void TakeRoomAndReadBody() {
    const size_t wanted = parser_->content_length() ? static_cast<size_t>(*parser_->content_length()) : bodyLimit_;
    if (!server_->TakeBody(wanted)) {
      ++server_->busyBodies;
      HttpResponse busy = PlainReply(503, "the service is busy; try again shortly");
      busy.Headers.emplace_back("Retry-After", "5");
      return RefuseAfterHead(std::move(busy));
    }
    reserved_ = wanted;
    ReadBody();
  }

  void ReadBody() {
    stream_.expires_after(server_->limits.BodyDeadline);
    if (!expectContinue_) {
      http::async_read(stream_, buffer_, *parser_, beast::bind_front_handler(&Session::OnBody, shared_from_this()));
      return;
    }
    // The client waits for a word before it sends the body.
    interim_.emplace(http::status::continue_, 11);
    http::async_write(stream_, *interim_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
      self->interim_.reset();
      if (ec) return self->Close();
      http::async_read(self->stream_, self->buffer_, *self->parser_, beast::bind_front_handler(&Session::OnBody, self));
    });
  }

  void OnBody(beast::error_code ec, std::size_t) {
    if (ec == http::error::body_limit) return Refuse(413, "request body too large");
    if (ec == beast::error::timeout || ec == net::error::operation_aborted || ec == http::error::end_of_stream ||
        ec == net::error::connection_reset || ec == net::error::eof || ec == http::error::partial_message)
      return Close();
    if (ec) return Refuse(400, "malformed request");
    Dispatch();
  }

  void Dispatch() {
    auto message = parser_->release();
    auto request = std::move(request_);
    request->Body = std::move(message.body());
    const bool keepAlive = message.keep_alive();
    const unsigned version = message.version();
    stream_.expires_never();  // the handler's time is the worker's business
    ++server_->inflight;
    const auto received = Clock::now();
    net::post(server_->workers, [self = shared_from_this(), request, keepAlive, version, received] {
      HttpResponse response;
      try {
        response = self->server_->handler(*request);
      } catch (const std::exception&) {
        response = PlainReply(500, "internal error");
      }
      const double seconds = std::chrono::duration<double>(Clock::now() - received).count();
      if (self->server_->observer) self->server_->observer(*request, response, seconds);
      const bool head = request->Method == "HEAD";
      net::post(self->stream_.get_executor(),
                [self, response = std::move(response), head, keepAlive, version]() mutable {
                  self->ReleaseBody();
                  self->Write(std::move(response), head, keepAlive && !self->server_->stopping, version, false);
                });
    });
  }

  // A request the parser or the head's checks refused: answered, and the connection closed.
  void Refuse(int status, const char* text) {
    ReleaseBody();
    HttpResponse r = PlainReply(status, text);
    if (server_->observer) {
      HttpRequest nothing;
      nothing.Method = "-";
      nothing.Target = "-";
      nothing.Peer = peer_;
      server_->observer(nothing, r, 0.0);
    }
    ++server_->inflight;
    Write(std::move(r), false, false, 11, true);
  }

  // A request refused once its head was read, before its body: answered and closed, and what the
  // client still sends is read and dropped for a moment, so that the answer reaches it.
  void RefuseAfterHead(HttpResponse r) {
    ReleaseBody();
    if (server_->observer) server_->observer(*request_, r, 0.0);
    ++server_->inflight;
    Write(std::move(r), request_->Method == "HEAD", false, parser_->get().version(), true);
  }

  void Write(HttpResponse r, bool head, bool keepAlive, unsigned version, bool linger) {
    auto out = std::make_shared<Outgoing>();
    out->Body = r.Shared ? std::move(r.Shared) : std::make_shared<const std::string>(std::move(r.Body));
    if (!head && !out->Body->empty()) {
      if (!server_->writes.Take(out->Body.get())) {
        // Too many bytes wait to be written already: this reply is not added to them.
        ++server_->busyReplies;
        r = PlainReply(503, "the service is busy; try again shortly");
        r.Headers.emplace_back("Retry-After", "5");
        out->Body = std::make_shared<const std::string>(std::move(r.Body));
        keepAlive = false;
        server_->writes.Take(out->Body.get());
      }
      out->Counted = true;
    }
    auto& res = out->Message;
    res.result(static_cast<http::status>(r.Status));
    res.version(version);
    res.set(http::field::server, "saltfang-scores");
    res.set(http::field::content_type, r.ContentType);
    res.set("X-Content-Type-Options", "nosniff");
    if (!r.SetCookie.empty()) res.set(http::field::set_cookie, r.SetCookie);
    for (auto& [name, value] : r.Headers) res.insert(name, value);
    res.keep_alive(keepAlive);
    res.body() = beast::span<const char>(out->Body->data(), out->Body->size());
    res.prepare_payload();
    if (head) res.body() = {};  // the length stays that of the body a GET would get
    stream_.expires_after(server_->limits.WriteDeadline);
    http::async_write(stream_, res,
                      [self = shared_from_this(), out, keepAlive, linger](beast::error_code ec, std::size_t) {
                        if (out->Counted) self->server_->writes.Give(out->Body.get());
                        --self->server_->inflight;
                        if (!ec && linger) return self->Linger();
                        if (ec || !keepAlive || self->server_->stopping) return self->Close();
                        self->ReadHead();
                      });
  }

  void Linger() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    stream_.expires_after(std::chrono::milliseconds(2000));
    discard_ = std::make_unique<std::array<char, 4096>>();
    lingerLeft_ = 256 * 1024;
    Discard();
  }
  void Discard() {
    stream_.async_read_some(net::buffer(*discard_), [self = shared_from_this()](beast::error_code ec, std::size_t n) {
      if (ec || n >= self->lingerLeft_) return self->Close();
      self->lingerLeft_ -= n;
      self->Discard();
    });
  }

  void Close() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    stream_.close();
  }

  void ReleaseBody() {
    if (reserved_) server_->GiveBody(reserved_);
    reserved_ = 0;
  }

  HttpServer::Impl* server_;  // outlives every session: its io_context holds them
  beast::tcp_stream stream_;
  std::string peer_, key_;
  beast::flat_buffer buffer_{8192};
  std::optional<http::request_parser<http::string_body>> parser_;
  std::shared_ptr<HttpRequest> request_;  // the request whose head has come
  std::optional<http::response<http::empty_body>> interim_;
  std::unique_ptr<std::array<char, 4096>> discard_;
  size_t lingerLeft_ = 0;
  size_t reserved_ = 0;   // of the pending body bytes, for this request's body
  size_t bodyLimit_ = 0;  // the cap of this request's body
  bool waitingHead_ = false;
  bool expectContinue_ = false;
  uint64_t headGeneration_ = 0;
};

}  // namespace

void HttpServer::Impl::Accept() {
  acceptor.async_accept(net::make_strand(ioc), [this](beast::error_code ec, tcp::socket socket) {
    if (stopping) return;
    if (ec) {
      // Out of descriptors or similar: wait a moment instead of spinning.
      retryTimer.expires_after(std::chrono::milliseconds(50));
      retryTimer.async_wait([this](beast::error_code) {
        if (!stopping) Accept();
      });
      return;
    }
    beast::error_code peerError;
    const auto endpoint = socket.remote_endpoint(peerError);
    std::string peer = peerError ? std::string("?") : endpoint.address().to_string();
    std::string key = ClientKey(peer);
    if (Admit(peer, key)) {
      socket.set_option(tcp::no_delay(true), peerError);
      std::make_shared<Session>(this, std::move(socket), std::move(peer), std::move(key))->Start();
    } else {
      socket.close(peerError);
    }
    Accept();
  });
}

HttpServer::HttpServer(const std::string& host, uint16_t port, ServerLimits limits, HttpHandler handler,
                       HttpObserver observer, HeadHandler beforeBody)
    : impl_(std::make_unique<Impl>(std::move(limits), std::move(handler), std::move(observer), std::move(beforeBody))) {
  beast::error_code ec;
  const auto address = net::ip::make_address(host, ec);
  if (ec) throw std::runtime_error("not an IP address: " + host);
  const tcp::endpoint endpoint(address, port);
  auto& a = impl_->acceptor;
  a.open(endpoint.protocol(), ec);
  if (!ec) a.set_option(net::socket_base::reuse_address(true), ec);
  if (!ec) a.bind(endpoint, ec);
  if (!ec) a.listen(1024, ec);
  if (ec) throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) + ": " + ec.message());
  impl_->Accept();
  for (int i = 0; i < std::max(1, impl_->limits.IoThreads); ++i)
    impl_->ioThreads.emplace_back([io = &impl_->ioc] { io->run(); });
}

HttpServer::~HttpServer() { Stop(std::chrono::milliseconds(0)); }

int HttpServer::OpenConnections() const {
  std::lock_guard lock(impl_->connMutex);
  return impl_->total;
}

ServerStats HttpServer::Stats() const {
  const Impl& s = *impl_;
  ServerStats stats;
  {
    std::lock_guard lock(s.connMutex);
    stats.RefusedAtCapacity = s.refusedAtCapacity;
    stats.RefusedPerClient = s.refusedPerClient;
    stats.OpenConnections = s.total;
  }
  {
    std::lock_guard lock(s.headMutex);
    stats.ShedHeads = s.shedHeads;
    stats.PendingHeads = static_cast<int>(s.heads.size());
  }
  stats.BusyReplies = s.busyReplies;
  stats.BusyBodies = s.busyBodies;
  stats.PendingWriteBytes = s.writes.Bytes();
  stats.PendingBodyBytes = s.bodyBytes;
  return stats;
}

uint16_t HttpServer::Port() const {
  beast::error_code ec;
  return impl_->acceptor.local_endpoint(ec).port();
}

void HttpServer::Stop(std::chrono::milliseconds grace) {
  Impl& s = *impl_;
  if (s.stopped) return;
  s.stopped = true;
  s.stopping = true;
  net::post(s.acceptor.get_executor(), [&s] {
    beast::error_code ec;
    s.acceptor.close(ec);
    s.retryTimer.cancel();
  });
  // Requests already received are answered; waiting connections get no new ones.
  const auto until = Clock::now() + grace;
  while (s.inflight > 0 && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  s.keepRunning.reset();
  s.ioc.stop();
  for (std::thread& t : s.ioThreads) t.join();
  s.workers.join();
  beast::error_code ec;
  s.acceptor.close(ec);  // no thread runs any more: nobody is left to answer a connection
}

}  // namespace sf::scores
