#include "platform/sdl/CurlHttp.h"

#include <curl/curl.h>

#include <algorithm>
#include <stdexcept>

namespace sf {

struct CurlCallbacks {
  static size_t OnData(char* data, size_t size, size_t count, void* self) {
    auto* http = static_cast<CurlHttp*>(self);
    const size_t n = size * count;
    if (n > http->limits_.MaxReplyBytes - http->body_.size()) {
      http->overflow_ = true;
      return 0;  // ends the transfer with a write error
    }
    http->body_.append(data, n);
    return n;
  }

  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* http = static_cast<CurlHttp*>(self);
    if (http->waitHandler_) http->waitHandler_();
    return 0;
  }
};

CurlHttp::CurlHttp(HttpLimits limits) : limits_(limits) {
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw std::runtime_error("libcurl could not start");
  curl_ = curl_easy_init();
  if (!curl_) {
    curl_global_cleanup();
    throw std::runtime_error("libcurl could not create a request handle");
  }
  headers_ = curl_slist_append(headers_, (std::string("Accept: ") + kHttpAccept).c_str());
  headers_ = curl_slist_append(headers_, (std::string("Content-Type: ") + kHttpContentType).c_str());
  // The body must not be waited for by a 100-continue; a GET has none anyway.
  headers_ = curl_slist_append(headers_, "Expect:");

  curl_easy_setopt(curl_, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers_);
  curl_easy_setopt(curl_, CURLOPT_USERAGENT, kHttpUserAgent);
  curl_easy_setopt(curl_, CURLOPT_COOKIEFILE, "");  // in-memory cookie engine, kept for the run
  curl_easy_setopt(curl_, CURLOPT_PROXY, "");       // no proxy, not even from the environment
  curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl_, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT_MS, limits_.ConnectTimeoutMs);
  curl_easy_setopt(curl_, CURLOPT_TIMEOUT_MS, limits_.TotalTimeoutMs);
  curl_easy_setopt(curl_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.MaxReplyBytes));
  curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &CurlCallbacks::OnData);
  curl_easy_setopt(curl_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, &CurlCallbacks::OnProgress);
  curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
}

CurlHttp::~CurlHttp() {
  curl_easy_cleanup(curl_);
  curl_slist_free_all(headers_);
  curl_global_cleanup();
}

std::optional<std::string> CurlHttp::Perform(const std::string& url) {
  body_.clear();
  overflow_ = false;
  failure_ = {};
  curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
  const CURLcode rc = curl_easy_perform(curl_);
  long status = 0;
  curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &status);
  if (rc != CURLE_OK || overflow_) {
    failure_.Reason = overflow_ ? "reply too large" : curl_easy_strerror(rc);
    body_.clear();
    return std::nullopt;
  }
  if (status < 200 || status > 299) {
    // The service says why in the first line of its reply.
    failure_.Status = static_cast<int>(status);
    failure_.Reason = body_.substr(0, std::min(body_.find_first_of("\r\n"), size_t{200}));
    body_.clear();
    return std::nullopt;
  }
  std::string reply;
  reply.swap(body_);
  return reply;
}

std::optional<std::string> CurlHttp::Get(const std::string& url) { return Perform(url); }

std::optional<std::string> CurlHttp::Post(const std::string& url, std::span<const uint8_t> body,
                                          const std::string& contentType) {
  // The request's own headers: the fixed Accept, its content type, no 100-continue wait.
  curl_slist* headers = curl_slist_append(nullptr, (std::string("Accept: ") + kHttpAccept).c_str());
  if (headers) headers = curl_slist_append(headers, ("Content-Type: " + contentType).c_str());
  if (headers) headers = curl_slist_append(headers, "Expect:");
  if (!headers) return std::nullopt;
  curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl_, CURLOPT_POST, 1L);
  curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, body.empty() ? "" : reinterpret_cast<const char*>(body.data()));
  curl_easy_setopt(curl_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  std::optional<std::string> reply = Perform(url);
  // Back to the GETs with the fixed headers; the body pointer is not kept. Setting the body
  // chooses POST, so the method is set after it.
  curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, static_cast<const char*>(nullptr));
  curl_easy_setopt(curl_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(-1));
  curl_easy_setopt(curl_, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers_);
  curl_slist_free_all(headers);
  return reply;
}

void CurlHttp::SetWaitHandler(std::function<void()> handler) { waitHandler_ = std::move(handler); }

}  // namespace sf
