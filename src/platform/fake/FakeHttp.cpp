#include "platform/fake/FakeHttp.h"

namespace sf {

std::optional<std::string> FakeHttp::Get(const std::string& url) {
  Requests.push_back(url);
  if (WaitHandler) {
    ++WaitCalls;
    WaitHandler();
  }
  if (Replies.empty()) return std::nullopt;
  std::optional<std::string> reply = std::move(Replies.front());
  Replies.pop_front();
  return reply;
}

void FakeHttp::SetWaitHandler(std::function<void()> handler) { WaitHandler = std::move(handler); }

}  // namespace sf
