// A game finished with a high score and sent through the real client to the real service on a
// loopback port, driven through the main window on the fake platform.
#include <atomic>
#include <deque>
#include <thread>
#include <vector>

#include "FormFixture.h"
#include "HttpServer.h"
#include "ScoreService.h"
#include "SqliteStore.h"
#include "game/Game.h"
#include "game/GameTables.h"
#include "platform/sdl/CurlHttp.h"

namespace sf::testing {
namespace {

class RunningService {
 public:
  explicit RunningService(const std::filesystem::path& file, scores::ServiceConfig config = {})
      : store_(file.string()),
        service_(store_, std::move(config),
                 scores::ServiceEnvironment{[] { return int64_t{1700000000}; }, [] { return int64_t{0}; },
                                            scores::SystemRandomId}),
        server_("127.0.0.1", 0, scores::ServerLimits{},
                [this](const scores::HttpRequest& r) { return service_.Handle(r); }) {}
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(server_.Port()); }
  std::vector<scores::StoredResult> Results() { return store_.List(scores::ListQuery{}).Results; }

 private:
  scores::SqliteStore store_;
  scores::ScoreService service_;
  scores::HttpServer server_;
};

class OnlineScores : public FormFixture {
 protected:
  // Plays to a game over with a score that enters the table, then types the name.
  void FinishWithHighScore() { FinishWithHighScore(platform); }
  void FinishWithHighScore(Platform& services) {
    Start(services);
    SkipIntro();
    form->Widgets().MainMenu.Select(0);
    Key(vkReturn);
    ASSERT_EQ(form->Screen(), scrGame);
    form->Game()->Score = 4321;
    form->Game()->Phase = phaseGameOver;
    form->Game()->PhaseStart = clock.TickCount();
    for (int i = 0; i < 300 && form->Screen() == scrGame; ++i) Frame();
    ASSERT_EQ(form->Screen(), scrEnterName);
    for (char c : std::string("ROSA")) Key(static_cast<uint16_t>(c));
    Frame();
    Key(vkReturn);
    ASSERT_EQ(form->Screen(), scrSendQuestion);
  }
};

TEST_F(OnlineScores, AResultSentFromTheNameEntryReachesTheWorldPage) {
  const auto store = std::filesystem::temp_directory_path() / "saltfang_online_store.db";
  const auto removeStore = [&] {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(store.string() + suffix);
  };
  removeStore();
  CurlHttp curl;
  Platform real{window, window, clock, shell, sound, music, curl};
  {
    RunningService service(store);
    files.ScoreService = service.Url();
    FinishWithHighScore(real);
    Key('Y');
    EXPECT_EQ(form->Screen(), scrHighScores);
    const auto results = service.Results();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].Name, "Rosa");
    EXPECT_EQ(results[0].Score, 4321);
    // Not verified by a replay: listed in the world page's unverified view.
    const auto page = curl.Get(service.Url() + "/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified");
    ASSERT_TRUE(page);
    EXPECT_NE(page->find("Rosa"), std::string::npos);
    form.reset();
  }
  removeStore();
}

TEST_F(OnlineScores, NoServiceAsksToRepeatAndYesTriesAgain) {
  files.ScoreService = "http://127.0.0.1:9";  // nothing listens on the discard port
  FinishWithHighScore();
  http.Fail();
  Key('Y');
  EXPECT_EQ(form->Screen(), scrConnectFailed);
  http.Reply("a|b|c|d|token|f");
  http.Fail();  // the submission fails: a failure, not a success
  Key('Y');
  EXPECT_EQ(form->Screen(), scrConnectFailed);
  http.Reply("a|b|c|d|token|f");
  http.Reply("ok");
  Key('Y');
  EXPECT_EQ(form->Screen(), scrHighScores);
  EXPECT_EQ(http.Requests.size(), 5u);
  Key('N');
  EXPECT_EQ(form->Screen(), scrHighScores) << "N does nothing on the table page";
}

TEST_F(OnlineScores, ARefusalThatARepeatCannotChangeGoesOnToTheTablePageWithItsReasonOnStderr) {
  FinishWithHighScore();
  http.Reply("a|b|c|d|token|f");
  http.Refuse(400, "score above the table's limit");
  ::testing::internal::CaptureStderr();
  Key('Y');
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(form->Screen(), scrHighScores);
  EXPECT_NE(log.find("score above the table's limit"), std::string::npos) << log;
  EXPECT_EQ(http.Requests.size(), 2u);
}

TEST_F(OnlineScores, ServerTroubleTheRateLimitAndASpentTokenStillAskToRepeat) {
  FinishWithHighScore();
  for (int status : {503, 500, 429, 408, 403}) {
    http.Reply("a|b|c|d|token|f");
    http.Refuse(status, "try again");
    Key('Y');
    EXPECT_EQ(form->Screen(), scrConnectFailed) << status;
  }
  http.Refuse(404, "unknown program");  // the version query: every failure asks, as before
  Key('Y');
  EXPECT_EQ(form->Screen(), scrConnectFailed);
  http.Reply("a|b|c|d|token|f");
  http.Reply("ok");
  Key('Y');
  EXPECT_EQ(form->Screen(), scrHighScores);
}

TEST_F(OnlineScores, AScoreAboveTheServicesLimitIsNotOfferedAgain) {
  const auto store = std::filesystem::temp_directory_path() / "saltfang_online_refusal.db";
  const auto removeStore = [&] {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(store.string() + suffix);
  };
  removeStore();
  CurlHttp curl;
  Platform real{window, window, clock, shell, sound, music, curl};
  {
    scores::ServiceConfig config;
    config.MaxScore = 1000;
    RunningService service(store, config);
    files.ScoreService = service.Url();
    FinishWithHighScore(real);
    ::testing::internal::CaptureStderr();
    Key('Y');
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(form->Screen(), scrHighScores);
    EXPECT_NE(log.find("(400): score above the table's limit"), std::string::npos) << log;
    EXPECT_TRUE(service.Results().empty());
    form.reset();
  }
  removeStore();
}

TEST_F(OnlineScores, KeysPressedDuringTheExchangeAreThrownAway) {
  FinishWithHighScore();
  http.Reply("a|b|c|d|token|f");
  http.Reply("ok");
  window.PushKey(vkReturn);  // would clear the table if it reached the high-score page
  window.PushKey(vkEscape);
  form->Widgets().YesNoDialog.Clicked = true;
  form->Widgets().YesNoDialog.Choice = true;
  form->ExecuteCommand();
  EXPECT_EQ(form->Screen(), scrHighScores);
  EXPECT_TRUE(window.Events.empty());
  EXPECT_GE(http.WaitCalls, 1);
}

// The score service answering slowly: while each request blocks, the desktop sends the events of
// the next batch, which the window picks up through the wait handler.
class SlowHttp : public FakeHttp {
 public:
  explicit SlowHttp(FakeWindow& window) : window_(window) {}
  std::optional<std::string> Get(const std::string& url) override {
    if (!During.empty()) {
      for (const InputEvent& e : During.front()) window_.Events.push_back(e);
      During.pop_front();
    }
    return FakeHttp::Get(url);
  }
  std::deque<std::vector<InputEvent>> During;

 private:
  FakeWindow& window_;
};

InputEvent Event(InputEvent::Type kind, int32_t x = 0, int32_t y = 0) {
  InputEvent e;
  e.Kind = kind;
  e.X = x;
  e.Y = y;
  return e;
}

InputEvent KeyEvent(uint16_t vk) {
  InputEvent e;
  e.Kind = InputEvent::KeyDown;
  e.Key = vk;
  return e;
}

TEST_F(OnlineScores, AFocusLossDuringASlowExchangeIsHandledAfterItInOrder) {
  SlowHttp slow(window);
  Platform services{window, window, clock, shell, sound, music, slow};
  FinishWithHighScore(services);
  form->Widgets().HighScoreButtons.SetIndex(0);  // Enter on the table page would ask to clear it
  slow.Reply("a|b|c|d|token|f");
  slow.Reply("ok");
  slow.During.push_back({KeyEvent(vkReturn), Event(InputEvent::MouseMove, 123, 456)});
  slow.During.push_back({Event(InputEvent::MouseDown, 400, 300), Event(InputEvent::WheelUp),
                         Event(InputEvent::Deactivate), Event(InputEvent::MouseMove, 10, 20)});
  ASSERT_NE(music.Playing, 0u);
  window.PushKey('Y');
  EXPECT_TRUE(form->Pump());
  EXPECT_EQ(slow.Requests.size(), 2u);
  EXPECT_EQ(form->Screen(), scrHighScores) << "keys, clicks and wheel turns were thrown away";
  EXPECT_EQ(music.Playing, 0u) << "the focus loss stopped the music";
  EXPECT_FALSE(form->Focus().Active());
  EXPECT_FALSE(window.KeyboardAcquired);
  EXPECT_EQ(form->Pointer().X, 123) << "the move before the focus loss counts, the one after it does not";
  EXPECT_EQ(form->Pointer().Y, 456);
  EXPECT_TRUE(window.Events.empty());
}

TEST_F(OnlineScores, ACloseRequestAndASystemQuitDuringASlowExchangeAreNotLost) {
  SlowHttp slow(window);
  Platform services{window, window, clock, shell, sound, music, slow};
  FinishWithHighScore(services);
  form->Widgets().OptionsMenu.NameEdit.SetText("Nemo");  // in memory only until a save
  slow.Reply("a|b|c|d|token|f");
  slow.Reply("ok");
  slow.During.push_back({Event(InputEvent::CloseRequest), KeyEvent(vkReturn)});
  slow.During.push_back({Event(InputEvent::Quit)});
  window.PushKey('Y');
  EXPECT_FALSE(form->Pump()) << "the system quit ends the loop";
  EXPECT_TRUE(form->IsClosed());
  EXPECT_EQ(form->Screen(), scrExitQuestion) << "the close request asked after the exchange";
  EXPECT_NE(ConfigBytes().find(static_cast<char>(~'N')), std::string::npos) << "the quit saved the name";
}

}  // namespace
}  // namespace sf::testing
