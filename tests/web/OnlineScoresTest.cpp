#include <gtest/gtest.h>

#include <string>

#include "platform/fake/FakeHttp.h"
#include "web/OnlineScores.h"
#include "web/ScoreCodec.h"

namespace sf {
namespace {

constexpr std::string_view kBase = "http://scores.test:81";

// The record carried by a submission address.
std::string RecordOf(const std::string& url) {
  const std::string prefix = SubmissionUrl("", kBase);
  EXPECT_EQ(url.compare(0, prefix.size(), prefix), 0) << url;
  const std::string symbols = url.substr(prefix.size());
  EXPECT_EQ(symbols.find_first_not_of(kScoreAlphabet), std::string::npos) << symbols;
  const auto digits = SymbolsToBitString(symbols);
  if (!digits) return {};
  return BitStringToBytes(*digits).value_or("");
}

TEST(OnlineScores, AddressesOfTheService) {
  EXPECT_EQ(VersionQueryUrl(kBase), "http://scores.test:81/cgi/version.pl?version&prg=Saltfang");
  EXPECT_EQ(SubmissionUrl("ABC", "http://h/"), "http://h/cgi/version.pl?hs&prg=Saltfang&inf=ABC");
  EXPECT_EQ(WorldHighScoresUrl(kBase), "http://scores.test:81/cgi/version.pl?prg=Saltfang&show&type=0");
  EXPECT_EQ(VersionQueryUrl(), std::string(kScoreServiceUrl) + "/cgi/version.pl?version&prg=Saltfang");
}

TEST(OnlineScores, SendsTheResultWithTheFieldOfTheVersionReply) {
  FakeHttp http;
  int waits = 0;
  http.SetWaitHandler([&] { ++waits; });
  http.Reply("Saltfang|1.0|0|0|TOKEN42|end");
  http.Reply("OK");
  const SubmitOutcome outcome = SubmitOnlineScore(http, "Bob", 1200, "Anonymous", kBase);
  EXPECT_EQ(outcome, SubmitOutcome::Sent);
  ASSERT_EQ(http.Requests.size(), 2u);
  EXPECT_EQ(http.Requests[0], VersionQueryUrl(kBase));
  EXPECT_EQ(RecordOf(http.Requests[1]), ResultString("Bob", 1200, "TOKEN42", "Anonymous"));
  EXPECT_EQ(waits, 2);
}

TEST(OnlineScores, NameAboveAsciiGoesAsSingleBytes) {
  FakeHttp http;
  http.Reply("");  // an empty reply is no error: the field is empty
  http.Reply("");
  EXPECT_EQ(SubmitOnlineScore(http, "J\xF6rg", 300, "P\xE9", kBase), SubmitOutcome::Sent);
  ASSERT_EQ(http.Requests.size(), 2u);
  const std::string record = RecordOf(http.Requests[1]);
  EXPECT_NE(record.find("|name=J\xF6rg|"), std::string::npos);
  EXPECT_NE(record.find("|p=|add=P\xE9|z="), std::string::npos);
}

TEST(OnlineScores, FailedVersionQuerySendsNothing) {
  FakeHttp http;
  http.Fail();
  const SubmitOutcome outcome = SubmitOnlineScore(http, "Bob", 1200, "", kBase);
  EXPECT_EQ(outcome, SubmitOutcome::VersionFailed);
  EXPECT_EQ(http.Requests.size(), 1u);
}

TEST(OnlineScores, FailedSubmissionIsReportedAndCanBeRepeated) {
  FakeHttp http;
  http.Reply("a|b|c|d|first|f");
  http.Fail();
  const SubmitOutcome outcome = SubmitOnlineScore(http, "Bob", 1200, "", kBase);
  EXPECT_EQ(outcome, SubmitOutcome::SubmissionFailed);

  // Trying again runs the whole exchange, with the new reply's field.
  http.Reply("a|b|c|d|second|f");
  http.Reply("OK");
  EXPECT_EQ(SubmitOnlineScore(http, "Bob", 1200, "", kBase), SubmitOutcome::Sent);
  ASSERT_EQ(http.Requests.size(), 4u);
  EXPECT_EQ(http.Requests[2], VersionQueryUrl(kBase));
  EXPECT_NE(RecordOf(http.Requests[3]).find("|p=second|"), std::string::npos);
}

}  // namespace
}  // namespace sf
