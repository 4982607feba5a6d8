#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/Http.h"

typedef void CURL;
struct curl_slist;

namespace sf {

// The HTTP client on libcurl: one easy handle for the whole run (its in-memory cookie engine is
// the cookie jar), no proxy whatever the environment says, no signals, connect and total
// time-outs, http and https only, redirects not followed.
class CurlHttp : public Http {
 public:
  explicit CurlHttp(HttpLimits limits = {});
  ~CurlHttp() override;
  CurlHttp(const CurlHttp&) = delete;
  CurlHttp& operator=(const CurlHttp&) = delete;

  std::optional<std::string> Get(const std::string& url) override;
  std::optional<std::string> Post(const std::string& url, std::span<const uint8_t> body,
                                  const std::string& contentType) override;
  HttpFailure LastFailure() const override { return failure_; }
  void SetWaitHandler(std::function<void()> handler) override;

 private:
  // Runs the request set up on the handle; the reply of a 2xx answer, nothing on any failure.
  std::optional<std::string> Perform(const std::string& url);
  friend struct CurlCallbacks;

  HttpLimits limits_;
  CURL* curl_ = nullptr;
  curl_slist* headers_ = nullptr;
  std::function<void()> waitHandler_;
  std::string body_;
  bool overflow_ = false;
  HttpFailure failure_;
};

}  // namespace sf
