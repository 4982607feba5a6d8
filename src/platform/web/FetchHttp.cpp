#include "platform/web/FetchHttp.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

namespace sf {
namespace {

// Sends a `method` request to `url` (with `sendLength` bytes at `send` as its body when sendLength
// is above 0); on a 2xx reply of at most maxBytes, stores a malloc'd copy of the reply's body in
// *body and its length in *length and returns 0. Returns -1 on any failure (network, time-out,
// status, redirect), -2 for a reply larger than maxBytes.
// The formatter does not know JavaScript.
// clang-format off
EM_ASYNC_JS(int, saltfang_fetch,
            (const char* method, const char* url, const char* accept, const char* contentType,
             const uint8_t* send, int sendLength, int timeoutMs, int maxBytes, char** body, int* length),
            {
  const controller = new AbortController();
  const timer = setTimeout(() => controller.abort(), timeoutMs);
  try {
    // A copy: the program's memory may grow (and its views detach) while the request is out.
    const payload = sendLength > 0 ? HEAPU8.slice(send, send + sendLength) : undefined;
    const reply = await fetch(UTF8ToString(url), {
      method: UTF8ToString(method),
      body: payload,
      headers: {'Accept': UTF8ToString(accept), 'Content-Type': UTF8ToString(contentType)},
      credentials: 'same-origin',
      cache: 'no-store',
      redirect: 'manual',
      signal: controller.signal,
    });
    if (reply.status < 200 || reply.status > 299) return -1;
    const parts = [];
    let total = 0;
    if (reply.body) {
      const reader = reply.body.getReader();
      for (;;) {
        const chunk = await reader.read();
        if (chunk.done) break;
        total += chunk.value.length;
        if (total > maxBytes) {
          reader.cancel();
          return -2;
        }
        parts.push(chunk.value);
      }
    }
    const out = _malloc(total + 1);
    let at = out;
    for (const part of parts) {
      HEAPU8.set(part, at);
      at += part.length;
    }
    HEAPU8[at] = 0;
    HEAP32[body >> 2] = out;
    HEAP32[length >> 2] = total;
    return 0;
  } catch (e) {
    return -1;
  } finally {
    clearTimeout(timer);
  }
});
// clang-format on

}  // namespace

std::optional<std::string> FetchHttp::Get(const std::string& url) { return Fetch("GET", url, {}, kHttpContentType); }

std::optional<std::string> FetchHttp::Post(const std::string& url, std::span<const uint8_t> body,
                                           const std::string& contentType) {
  return Fetch("POST", url, body, contentType.c_str());
}

std::optional<std::string> FetchHttp::Fetch(const char* method, const std::string& url, std::span<const uint8_t> send,
                                            const char* contentType) {
  char* body = nullptr;
  int length = 0;
  if (send.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return std::nullopt;
  const long timeout = limits_.TotalTimeoutMs > 0 ? limits_.TotalTimeoutMs : 1;
  const int rc =
      saltfang_fetch(method, url.c_str(), kHttpAccept, contentType, send.data(), static_cast<int>(send.size()),
                     static_cast<int>(timeout), static_cast<int>(limits_.MaxReplyBytes), &body, &length);
  // Events that arrived while the request was out are the wait handler's to take.
  if (waitHandler_) waitHandler_();
  if (rc != 0 || body == nullptr) return std::nullopt;
  const std::unique_ptr<char, decltype(&std::free)> owned(body, &std::free);
  return std::string(body, static_cast<size_t>(length));
}

void FetchHttp::SetWaitHandler(std::function<void()> handler) { waitHandler_ = std::move(handler); }

}  // namespace sf
