#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Http.h"

namespace sf {

// Scripted replies in order; every request is recorded. With no reply left a request fails.
class FakeHttp : public Http {
 public:
  std::optional<std::string> Get(const std::string& url) override;
  void SetWaitHandler(std::function<void()> handler) override;

  void Reply(std::string body) { Replies.emplace_back(std::move(body)); }
  void Fail() { Replies.emplace_back(std::nullopt); }

  std::deque<std::optional<std::string>> Replies;
  std::vector<std::string> Requests;
  std::function<void()> WaitHandler;
  int WaitCalls = 0;  // the wait handler runs once per request, as a real client would while blocked
};

}  // namespace sf
