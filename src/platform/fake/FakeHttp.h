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
  std::optional<std::string> Post(const std::string& url, std::span<const uint8_t> body,
                                  const std::string& contentType) override;
  HttpFailure LastFailure() const override { return Failure; }
  void SetWaitHandler(std::function<void()> handler) override;

  // A GET's scripted outcome: the body of a 2xx reply, or a failure.
  struct Scripted {
    std::optional<std::string> Body;
    HttpFailure Failure;
  };
  void Reply(std::string body) { Replies.push_back({std::move(body), {}}); }
  void Fail() { Replies.push_back({}); }
  // An error reply: the status and the body the service sent with it.
  void Refuse(int status, std::string body) { Replies.push_back({std::nullopt, {status, std::move(body)}}); }

  // POSTs have their own scripted replies (none left: the POST fails) and their own record.
  struct Posted {
    std::string Url;
    std::vector<uint8_t> Body;
    std::string ContentType;
  };
  void ReplyToPost(std::string body) { PostReplies.emplace_back(std::move(body)); }

  std::deque<Scripted> Replies;
  std::deque<std::optional<std::string>> PostReplies;
  std::vector<Posted> Posts;
  std::vector<std::string> Requests;
  HttpFailure Failure;  // the last request's
  std::function<void()> WaitHandler;
  int WaitCalls = 0;  // the wait handler runs once per request, as a real client would while blocked
};

}  // namespace sf
