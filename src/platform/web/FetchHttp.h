#pragma once
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/Http.h"

namespace sf {

// The HTTP client of the browser build: the page's own fetch, same origin. The request suspends
// the program (Asyncify) while the browser keeps running, so the frame drawn before it ("Please
// wait...") stays on screen. The browser keeps the cookies of the service's origin for the page;
// it sets the user agent itself. A POST (a replay) carries its body with its own content type. A
// request that has not finished within the total time-out is aborted. A failed request tells its
// status and the first line of the reply's reason.
class FetchHttp : public Http {
 public:
  explicit FetchHttp(HttpLimits limits = {}) : limits_(limits) {}

  std::optional<std::string> Get(const std::string& url) override;
  std::optional<std::string> Post(const std::string& url, std::span<const uint8_t> body,
                                  const std::string& contentType) override;
  HttpFailure LastFailure() const override { return failure_; }
  void SetWaitHandler(std::function<void()> handler) override;

 private:
  std::optional<std::string> Fetch(const char* method, const std::string& url, std::span<const uint8_t> send,
                                   const char* contentType);

  HttpLimits limits_;
  std::function<void()> waitHandler_;
  HttpFailure failure_;
};

}  // namespace sf
