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
// *body and its length in *length and returns 0. Any other status is returned as it is, with the
// first line of its body (at most 200 bytes) in *body. Returns -1 when no reply came (network,
// time-out, redirect), -2 for a reply larger than maxBytes.
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
    const keep = (bytes) => {
      const out = _malloc(bytes.length + 1);
      HEAPU8.set(bytes, out);
      HEAPU8[out + bytes.length] = 0;
      HEAP32[body >> 2] = out;
      HEAP32[length >> 2] = bytes.length;
    };
    if (reply.status < 200 || reply.status > 299) {
      if (reply.status < 400) return -1;  // a redirect, which is not followed
      let reason = '';
      try { reason = (await reply.text()).split('\n')[0].slice(0, 200); } catch (e) {}
      keep(new TextEncoder().encode(reason));
      return reply.status;
    }
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
    const whole = new Uint8Array(total);
    let at = 0;
    for (const part of parts) {
      whole.set(part, at);
      at += part.length;
    }
    keep(whole);
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
  const std::unique_ptr<char, decltype(&std::free)> owned(body, &std::free);
  std::string text = body ? std::string(body, static_cast<size_t>(length)) : std::string();
  if (rc == 0 && body) return text;
  failure_ = HttpFailure{};
  if (rc > 0) {
    failure_.Status = rc;
    failure_.Reason = std::move(text);
  }
  return std::nullopt;
}

void FetchHttp::SetWaitHandler(std::function<void()> handler) { waitHandler_ = std::move(handler); }

}  // namespace sf
