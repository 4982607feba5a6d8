#include "platform/fake/FakeHttp.h"

namespace sf {

std::optional<std::string> FakeHttp::Get(const std::string& url) {
  Requests.push_back(url);
  if (WaitHandler) {
    ++WaitCalls;
    WaitHandler();
  }
  Failure = {};
  if (Replies.empty()) return std::nullopt;
  Scripted reply = std::move(Replies.front());
  Replies.pop_front();
  Failure = std::move(reply.Failure);
  return std::move(reply.Body);
}

std::optional<std::string> FakeHttp::Post(const std::string& url, std::span<const uint8_t> body,
                                          const std::string& contentType) {
  Posts.push_back(Posted{url, std::vector<uint8_t>(body.begin(), body.end()), contentType});
  Failure = {};
  if (WaitHandler) {
    ++WaitCalls;
    WaitHandler();
  }
  if (PostReplies.empty()) return std::nullopt;
  std::optional<std::string> reply = std::move(PostReplies.front());
  PostReplies.pop_front();
  return reply;
}

void FakeHttp::SetWaitHandler(std::function<void()> handler) { WaitHandler = std::move(handler); }

}  // namespace sf
