// libFuzzer target: any bytes as an HTTP request (through the same parser the server uses), and
// as the symbols or the plain record of a submission. The service must answer or refuse, never
// crash, never store an unstorable name, never answer a malformed request with success.
#include <boost/asio/buffer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "HttpMessage.h"
#include "ResultRecord.h"
#include "ScoreService.h"
#include "SqliteStore.h"

namespace {

namespace http = boost::beast::http;

sf::scores::ScoreService& Service() {
  static sf::scores::SqliteStore store(":memory:");
  // Unguessable tokens: the fixed submission below can only succeed if the service is wrong.
  static sf::scores::ScoreService service(
      store, sf::scores::ServiceConfig{},
      sf::scores::ServiceEnvironment{[] { return int64_t{1700000000}; }, [] { return int64_t{0}; },
                                     sf::scores::SystemRandomId});
  return service;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const auto record = sf::scores::ParseResultRecord(input)) {
    if (!sf::scores::IsStorableName(record->Name) || record->Score < 0) std::abort();
  }
  (void)sf::scores::DecodeSubmission(input);

  // The bytes as a request: parsed by Beast as the server does, then handled.
  http::request_parser<http::string_body> parser;
  parser.header_limit(8192);
  parser.body_limit(16 * 1024);
  parser.eager(true);
  boost::beast::error_code ec;
  parser.put(boost::asio::buffer(input.data(), input.size()), ec);
  if (!ec && parser.is_header_done()) {
    const auto& m = parser.get();
    sf::scores::HttpRequest request;
    request.Method = std::string(m.method_string());
    request.Target = std::string(m.target());
    for (const auto& f : m) {
      if (f.name() == http::field::cookie) request.Cookie = std::string(f.value());
      request.Headers.emplace_back(std::string(f.name_string()), std::string(f.value()));
    }
    request.Body = m.body();
    request.Peer = "127.0.0.1";
    const auto response = Service().Handle(request);
    if (response.Status < 200 || response.Status > 599) std::abort();
  }

  sf::scores::HttpRequest submission;
  submission.Method = "GET";
  submission.Target = "/cgi/version.pl?hs&prg=Saltfang&inf=" + std::string(input);
  submission.Cookie = "sfsid=" + std::string(32, 'A');
  submission.Peer = "127.0.0.1";
  const auto response = Service().Handle(submission);
  // No token was ever handed out for this session: nothing can succeed.
  if (response.Status == 200) std::abort();
  return 0;
}
