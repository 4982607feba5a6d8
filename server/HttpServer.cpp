#include "HttpServer.h"

#include <algorithm>
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
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <vector>

namespace sf::scores {

namespace beast = boost::beast;
namespace http = boost::beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

struct HttpServer::Impl {
  Impl(ServerLimits l, HttpHandler h, HttpObserver o)
      : limits(std::move(l)),
        handler(std::move(h)),
        observer(std::move(o)),
        ioc(limits.IoThreads),
        keepRunning(ioc.get_executor()),
        acceptor(net::make_strand(ioc)),
        retryTimer(acceptor.get_executor()),
        workers(static_cast<std::size_t>(limits.Workers)) {}

  bool Admit(const std::string& peer) {
    std::lock_guard lock(connMutex);
    if (total >= limits.MaxConnections) return false;
    if (peer != limits.UncappedPeer) {
      int& n = perClient[peer];
      if (n >= limits.MaxConnectionsPerClient) return false;
      ++n;
    }
    ++total;
    return true;
  }
  void Release(const std::string& peer) {
    std::lock_guard lock(connMutex);
    --total;
    if (peer == limits.UncappedPeer) return;
    const auto it = perClient.find(peer);
    if (it != perClient.end() && --it->second <= 0) perClient.erase(it);
  }
  void Accept();

  ServerLimits limits;
  HttpHandler handler;
  HttpObserver observer;
  std::mutex connMutex;
  std::unordered_map<std::string, int> perClient;
  int total = 0;
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

class Session : public std::enable_shared_from_this<Session> {
 public:
  Session(HttpServer::Impl* server, tcp::socket socket, std::string peer)
      : server_(server), stream_(std::move(socket)), peer_(std::move(peer)) {}
  ~Session() { server_->Release(peer_); }

  void Start() {
    net::dispatch(stream_.get_executor(), beast::bind_front_handler(&Session::ReadHead, shared_from_this()));
  }

 private:
  void ReadHead() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(server_->limits.MaxHeadBytes));
    // The path decides the body's cap, once the head is in.
    parser_->body_limit(std::max(server_->limits.MaxBodyBytes, server_->limits.MaxUploadBytes));
    // One deadline for the whole head, however slowly its bytes trickle in.
    stream_.expires_after(server_->limits.HeadDeadline);
    http::async_read_header(stream_, buffer_, *parser_,
                            beast::bind_front_handler(&Session::OnHead, shared_from_this()));
  }

  void OnHead(beast::error_code ec, std::size_t) {
    if (ec == http::error::header_limit) return Refuse(431, "request head too large");
    if (ec == http::error::body_limit) return Refuse(413, "request body too large");
    if (ec == http::error::end_of_stream || ec == beast::error::timeout || ec == net::error::operation_aborted ||
        ec == net::error::connection_reset || ec == net::error::eof)
      return Close();
    if (ec) return Refuse(400, "malformed request");
    const auto& head = parser_->get();
    const std::string_view target(head.target().data(), head.target().size());
    const std::string_view path = target.substr(0, target.find('?'));
    const size_t limit =
        path == server_->limits.UploadPath ? server_->limits.MaxUploadBytes : server_->limits.MaxBodyBytes;
    if (parser_->content_length() && *parser_->content_length() > limit) return Refuse(413, "request body too large");
    parser_->body_limit(limit);
    if (parser_->is_done()) return Dispatch();
    stream_.expires_after(server_->limits.BodyDeadline);
    http::async_read(stream_, buffer_, *parser_, beast::bind_front_handler(&Session::OnBody, shared_from_this()));
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
    auto request = std::make_shared<HttpRequest>();
    request->Method = std::string(message.method_string());
    request->Target = std::string(message.target());
    for (const auto& field : message) {
      std::string name(field.name_string()), value(field.value());
      if (field.name() == http::field::cookie) {
        if (!request->Cookie.empty()) request->Cookie += "; ";
        request->Cookie += value;
      }
      request->Headers.emplace_back(std::move(name), std::move(value));
    }
    request->Body = std::move(message.body());
    request->Peer = peer_;
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
        response = HttpResponse{500, "text/plain", "internal error\n", "", {}};
      }
      const double seconds = std::chrono::duration<double>(Clock::now() - received).count();
      if (self->server_->observer) self->server_->observer(*request, response, seconds);
      const bool head = request->Method == "HEAD";
      net::post(self->stream_.get_executor(),
                [self, response = std::move(response), head, keepAlive, version]() mutable {
                  self->Write(std::move(response), head, keepAlive && !self->server_->stopping, version, true);
                });
    });
  }

  void Refuse(int status, const char* text) {
    HttpResponse r{status, "text/plain", std::string(text) + "\n", "", {}};
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

  void Write(HttpResponse r, bool head, bool keepAlive, unsigned version, bool counted) {
    auto res = std::make_shared<http::response<http::string_body>>(static_cast<http::status>(r.Status), version);
    res->set(http::field::server, "saltfang-scores");
    res->set(http::field::content_type, r.ContentType);
    if (!r.SetCookie.empty()) res->set(http::field::set_cookie, r.SetCookie);
    for (auto& [name, value] : r.Headers) res->insert(name, value);
    res->keep_alive(keepAlive);
    res->body() = std::move(r.Body);
    res->prepare_payload();
    if (head) res->body().clear();  // the length stays that of the body a GET would get
    stream_.expires_after(server_->limits.WriteDeadline);
    http::async_write(stream_, *res,
                      [self = shared_from_this(), res, keepAlive, counted](beast::error_code ec, std::size_t) {
                        if (counted) --self->server_->inflight;
                        if (ec || !keepAlive || self->server_->stopping) return self->Close();
                        self->ReadHead();
                      });
  }

  void Close() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    stream_.close();
  }

  HttpServer::Impl* server_;  // outlives every session: its io_context holds them
  beast::tcp_stream stream_;
  std::string peer_;
  beast::flat_buffer buffer_{8192};
  std::optional<http::request_parser<http::string_body>> parser_;
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
    if (Admit(peer)) {
      socket.set_option(tcp::no_delay(true), peerError);
      std::make_shared<Session>(this, std::move(socket), std::move(peer))->Start();
    } else {
      socket.close(peerError);
    }
    Accept();
  });
}

HttpServer::HttpServer(const std::string& host, uint16_t port, ServerLimits limits, HttpHandler handler,
                       HttpObserver observer)
    : impl_(std::make_unique<Impl>(std::move(limits), std::move(handler), std::move(observer))) {
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
