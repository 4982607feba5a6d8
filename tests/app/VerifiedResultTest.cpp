// The whole online path: the main window on the fake platform, but with the real libcurl client,
// plays a game to a new high score and sends it to the real score service on a loopback port. The
// service plays the game's replay again and lists the result as verified; a result forged with two
// plain GETs stays unverified and out of the default list.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "HighScoreGame.h"
#include "HttpServer.h"
#include "ReplayVerifier.h"
#include "ReplayWorkers.h"
#include "ScoreService.h"
#include "SqliteStore.h"
#include "platform/sdl/CurlHttp.h"
#include "web/OnlineScores.h"
#include "web/ScoreCodec.h"

namespace sf::testing {
namespace {

using namespace sf::scores;

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }
int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

class VerifiedResult : public HighScoreGame {
 protected:
  void SetUp() override {
    HighScoreGame::SetUp();
    dbDir_ = std::filesystem::temp_directory_path() /
             ("saltfang_verified_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dbDir_);
    std::filesystem::create_directories(dbDir_);
    store_ = std::make_unique<SqliteStore>((dbDir_ / "scores.db").string());
    verifier_ = MakeReplayVerifier(replay::Limits{});
    workers_ = std::make_unique<ReplayWorkers>(*store_, *verifier_, Now, 1, 16);
    service_ = std::make_unique<ScoreService>(*store_, ServiceConfig{}, ServiceEnvironment{Now, NowMs, SystemRandomId},
                                              nullptr, workers_.get());
    server_ = std::make_unique<HttpServer>("127.0.0.1", 0, ServerLimits{},
                                           [this](const HttpRequest& r) { return service_->Handle(r); });
    files.ScoreService = "http://127.0.0.1:" + std::to_string(server_->Port());
  }
  void TearDown() override {
    form.reset();
    server_.reset();
    service_.reset();
    workers_.reset();
    store_.reset();
    std::filesystem::remove_all(dbDir_);
    HighScoreGame::TearDown();
  }

  CurlHttp curl;
  Platform online{window, window, clock, shell, sound, music, curl};
  std::filesystem::path dbDir_;
  std::unique_ptr<SqliteStore> store_;
  std::unique_ptr<ReplayVerifier> verifier_;
  std::unique_ptr<ReplayWorkers> workers_;
  std::unique_ptr<ScoreService> service_;
  std::unique_ptr<HttpServer> server_;
};

TEST_F(VerifiedResult, AGamePlayedToAHighScoreIsVerifiedAndAForgedOneIsNot) {
  services = &online;
  PlayToHighScore();
  const int32_t score = form->Game()->Score;
  Key('Y');  // send: version query, submission, replay
  ASSERT_EQ(form->Screen(), scrHighScores);
  workers_->Drain();

  // A forged result: the two GETs of the exchange with any score, no replay.
  CurlHttp forger;
  ASSERT_EQ(SubmitOnlineScore(forger, "FORGED", 2147483, "", files.ScoreService), sf::SubmitOutcome::Sent);
  workers_->Drain();

  const auto all = store_->List(ListQuery{}).Results;
  ASSERT_EQ(all.size(), 2u);
  ListQuery verifiedOnly;
  verifiedOnly.Verified = true;
  const auto verified = store_->List(verifiedOnly).Results;
  ASSERT_EQ(verified.size(), 1u);
  EXPECT_EQ(verified[0].Name, "ROSA");
  EXPECT_EQ(verified[0].Score, score);
  EXPECT_TRUE(verified[0].HasReplay);

  // The world page lists the verified result by default and the forged one only among the others.
  const auto page = curl.Get(WorldHighScoresUrl(files.ScoreService));
  ASSERT_TRUE(page);
  EXPECT_NE(page->find("<td>ROSA <a href=\"/api/replays/" + std::to_string(verified[0].Id) + "\""), std::string::npos);
  EXPECT_EQ(page->find("FORGED"), std::string::npos);
  const auto others = curl.Get(WorldHighScoresUrl(files.ScoreService) + "&view=unverified");
  ASSERT_TRUE(others);
  EXPECT_NE(others->find("FORGED"), std::string::npos);
  EXPECT_EQ(others->find("ROSA"), std::string::npos);

  const auto api = curl.Get(files.ScoreService + "/api/scores?verified=1");
  ASSERT_TRUE(api);
  EXPECT_NE(api->find("\"name\":\"ROSA\""), std::string::npos);
  EXPECT_NE(api->find("\"verified\":true"), std::string::npos);
  EXPECT_EQ(api->find("FORGED"), std::string::npos);

  // The verified result's replay can be downloaded, and it is the game the player played.
  const auto file = curl.Get(files.ScoreService + "/api/replays/" + std::to_string(verified[0].Id));
  ASSERT_TRUE(file);
  const replay::Verdict again =
      replay::PlayBack(std::span(reinterpret_cast<const std::uint8_t*>(file->data()), file->size()), replay::Limits{});
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_EQ(again.score, score);
}

}  // namespace
}  // namespace sf::testing
