#include <gtest/gtest.h>

#include "platform/fake/FakeHttp.h"
#include "web/ReplayUpload.h"

namespace sf {
namespace {

TEST(ReplayUpload, TheTokenGoesIntoTheAddressSafely) {
  EXPECT_EQ(ReplayUploadUrl("Ab9-_.~", "http://h:1/"), "http://h:1/api/replays?p=Ab9-_.~");
  // Whatever a service hands out cannot add parameters or break the address.
  EXPECT_EQ(ReplayUploadUrl("a&b=c d/%\xE9", "http://h"), "http://h/api/replays?p=a%26b%3Dc%20d%2F%25%E9");
}

TEST(ReplayUpload, SendsTheBytesOnlyWithATokenAndAReplayAndReportsTheAnswer) {
  FakeHttp http;
  const std::vector<uint8_t> replay = {0, 1, 2, 0xFF};
  EXPECT_FALSE(SendReplay(http, "", replay, "http://h"));
  EXPECT_FALSE(SendReplay(http, "t", {}, "http://h"));
  EXPECT_TRUE(http.Posts.empty());
  EXPECT_FALSE(SendReplay(http, "t", replay, "http://h")) << "no answer is a failure";
  http.ReplyToPost("");
  EXPECT_TRUE(SendReplay(http, "t", replay, "http://h"));
  ASSERT_EQ(http.Posts.size(), 2u);
  EXPECT_EQ(http.Posts[1].Body, replay);
  EXPECT_EQ(http.Posts[1].Url, "http://h/api/replays?p=t");
}

}  // namespace
}  // namespace sf
