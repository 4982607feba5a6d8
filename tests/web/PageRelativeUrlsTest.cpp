#include <gtest/gtest.h>

#include "web/OnlineScores.h"

namespace sf {
namespace {

// The browser build has no service address of its own: the page talks to the service that
// served it, so every address must come out relative to the page's origin.
TEST(PageRelativeAddresses, AnEmptyOrRootServiceGivesOriginRelativePaths) {
  for (const char* service : {"", "/", "//"}) {
    SCOPED_TRACE(service);
    EXPECT_EQ(VersionQueryUrl(service), "/cgi/version.pl?version&prg=Saltfang");
    EXPECT_EQ(SubmissionUrl("K7", service), "/cgi/version.pl?hs&prg=Saltfang&inf=K7");
    EXPECT_EQ(WorldHighScoresUrl(service), "/cgi/version.pl?prg=Saltfang&show&type=0");
  }
}

}  // namespace
}  // namespace sf
