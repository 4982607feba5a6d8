#include <algorithm>

#include "FormFixture.h"
#include "core/Colour.h"
#include "gfx/ImageSets.h"
#include "layout/MenuLayout.h"

namespace sf::testing {
namespace {

using FrameLoop = FormFixture;

TEST_F(FrameLoop, DrawsOnlyWhenMoreThanFiveMillisecondsPassedEvenAcrossTheTickWrap) {
  clock.Set(0xFFFFFFF0u);
  Start();
  form->Pacer().LastFrameEndTick = 0xFFFFFFF0u;
  const int before = window.Presents;
  clock.Set(0xFFFFFFF5u);  // 5 ms: nothing drawn
  window.Keys[kScanLeft] = 0x80;
  form->FrameStep();
  EXPECT_EQ(window.Presents, before);
  EXPECT_EQ(form->KeyState()[kScanLeft], 0x80) << "keys are read on every pass, drawn or not";
  clock.Set(2);  // 18 ms later across the wrap
  form->FrameStep();
  EXPECT_EQ(window.Presents, before + 1);
  EXPECT_EQ(form->Pacer().LastFrameEndTick, 2u);
}

TEST_F(FrameLoop, AnUnacquiredKeyboardReadsAsAllKeysUp) {
  Start();
  window.Keys[kScanUp] = 0x80;
  window.KeyboardAcquired = false;
  form->FrameStep();
  EXPECT_EQ(form->KeyState()[kScanUp], 0);
}

// The title band of the presented frame shows the title's sliding region with its left edge at
// screen x `left` (keyed over the background), and the background everywhere else.
void ExpectTitleAt(const Surface& frame, const Surface& back, const Surface& title, int32_t left) {
  int titlePixels = 0;
  for (int32_t y = 0; y < kTitleRect.Bottom; ++y) {
    for (int32_t x = 0; x < 800; ++x) {
      const int32_t tx = x - left;
      const bool inTitle = tx >= 0 && tx < kTitleRect.Width() && title.At(tx, y) != kColourKey;
      titlePixels += inTitle;
      ASSERT_EQ(frame.At(x, y), inTitle ? title.At(tx, y) : back.At(x, y))
          << "at " << x << "," << y << ", title at " << left;
    }
  }
  EXPECT_GT(titlePixels, 0) << "no title visible with its left edge at " << left;
}

TEST_F(FrameLoop, TheIntroSlidesTheTitleInOver176FramesThenShowsTheMainMenu) {
  Start();
  const Surface& title = form->Images().Menu(menuImgTitle);
  const Surface& back = form->Images().Menu(menuImgBackground);
  int frames = 0;
  while (form->Screen() == scrIntro && frames < 1000) {
    Frame();
    ++frames;
    // Frame n (from 1) draws the title's left edge at 3 (n - 1) - 524: three pixels a frame.
    if (frames == 100 || frames == 175) ExpectTitleAt(window.LastFrame, back, title, 3 * (frames - 1) - 524);
  }
  EXPECT_EQ(frames, 176);
  EXPECT_EQ(form->Screen(), scrMainMenu);
  // The last intro frame showed the title one pixel right of its place; the menu shows it in place.
  ExpectTitleAt(window.LastFrame, back, title, 1);
  Frame();
  ExpectTitleAt(window.LastFrame, back, title, 0);
}

TEST_F(FrameLoop, AClickSkipsTheIntroAndOtherKeysDoNothingThere) {
  Start();
  Key(vkReturn);
  Key('A');
  EXPECT_EQ(form->Screen(), scrIntro);
  form->FormMouseDown();
  EXPECT_EQ(form->Screen(), scrMainMenu);
}

TEST_F(FrameLoop, ALostDisplayIsRestoredAndTheFrameStillPresented) {
  Start();
  SkipIntro();
  InputEvent lost;
  lost.Kind = InputEvent::DisplayLost;
  form->Dispatch(lost);
  const int before = window.Presents;
  clock.Advance(16);
  EXPECT_EQ(form->FrameStep(), 0);
  EXPECT_EQ(window.Presents, before + 1);
  EXPECT_FALSE(form->BackBuffer().Lost);
  EXPECT_EQ(window.LastFrame.At(400, 300), form->Images().Menu(0).At(400, 300)) << "the menu is drawn again";
}

TEST_F(FrameLoop, UnknownScreenStatesPresentABlackFrameAndIgnoreInput) {
  Start();
  for (uint32_t number : {6u, 63u, 64u, 200u}) {  // numbers no screen has, inside and above the table
    form->GoTo(static_cast<ScreenState>(number));
    Frame();
    EXPECT_EQ(window.LastFrame.At(10, 10), 0u) << number;
    EXPECT_EQ(window.LastFrame.At(400, 300), 0u) << number;
    Key(vkReturn);
    form->ExecuteCommand();
    EXPECT_EQ(static_cast<uint32_t>(form->Screen()), number);
  }
}

TEST_F(FrameLoop, EveryScreenDrawsItsPicture) {
  Start();
  SkipIntro();
  form->Widgets().MainMenu.Select(0);
  Key(vkReturn);  // a game, so the game screens have something to show
  Frame(3);
  form->SaveSnapshot();
  for (ScreenState s : {scrIntro, scrMainMenu, scrGame, scrOptions, scrHighScores, scrHelpOverview, scrExitQuestion,
                        scrClearQuestion, scrKeyCapture, scrPause, scrEnterName, scrSendQuestion, scrQuitGameQuestion,
                        scrConnectFailed, scrPleaseWait, scrHelpNavigation, scrHelpEnemies, scrAbout}) {
    form->GoTo(s);
    Frame();
    const auto& pixels = window.LastFrame.Pixels;
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; }), 100000) << s;
  }
}

TEST_F(FrameLoop, AnUnreadablePackDuringADisplayRebuildKeepsTheImagesAndTheProgramRunning) {
  const auto pack = std::filesystem::path(files.Config).parent_path() / "Data.pp";
  std::filesystem::copy_file(files.Pack, pack);
  files.Pack = pack.string();
  Start();
  SkipIntro();
  const Surface* background = form->Images().MenuImages[0].get();
  const Surface* mirror = form->Images().GameImages[50].get();
  std::filesystem::resize_file(pack, std::filesystem::file_size(pack) / 2);  // cut in the middle

  ::testing::internal::CaptureStderr();
  form->FormKeyDown(vkReturn, true);  // Alt+Enter
  EXPECT_FALSE(form->Config().settings.Windowed);
  EXPECT_FALSE(form->Widgets().OptionsMenu.DisplayToggle.Checked) << "the switch itself went through";
  EXPECT_TRUE(form->Focus().Active());
  window.Push(InputEvent::Deactivate);
  window.Push(InputEvent::Restore);  // rebuilds full screen
  window.Push(InputEvent::Activate);
  window.Push(InputEvent::DisplayLost);
  EXPECT_TRUE(form->Pump());
  Frame();  // the lost display is repaired
  window.Push(InputEvent::MaximizeRequest);
  EXPECT_TRUE(form->Pump());
  form->GoTo(scrOptions);
  form->Widgets().OptionsMenu.Cursor = 1;
  Key(vkLeft);  // the options' display row: windowed
  EXPECT_TRUE(form->Config().settings.Windowed);
  const std::string said = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(form->Images().MenuImages[0].get(), background) << "the loaded images are kept";
  EXPECT_EQ(form->Images().GameImages[50].get(), mirror);
  form->GoTo(scrMainMenu);
  Frame();
  EXPECT_EQ(window.LastFrame.At(400, 300), background->At(400, 300)) << "and drawn";
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "said once:\n" << said;
  EXPECT_NE(said.find(pack.string()), std::string::npos) << said;
  EXPECT_NE(said.find("entry"), std::string::npos) << said;

  // A pack that is whole again is read on the next rebuild; a new failure is told again.
  std::filesystem::copy_file(FormFixture::GameFiles("").Pack, pack, std::filesystem::copy_options::overwrite_existing);
  form->FormKeyDown(vkReturn, true);
  EXPECT_NE(form->Images().MenuImages[0].get(), nullptr);
  std::filesystem::remove(pack);
  ::testing::internal::CaptureStderr();
  form->FormKeyDown(vkReturn, true);
  form->FormKeyDown(vkReturn, true);
  const std::string again = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(again.begin(), again.end(), '\n'), 1) << again;
  EXPECT_NE(again.find(pack.string()), std::string::npos) << again;
  Frame();
  EXPECT_FALSE(form->IsClosed());
}

TEST(FormStart, ADamagedPackGivesAClearErrorNamingTheFile) {
  const auto dir = std::filesystem::temp_directory_path() / "saltfang_damaged_pack";
  std::filesystem::create_directories(dir);
  const auto pack = dir / "Data.pp";
  {
    std::ifstream in(std::string(SALTFANG_GAME_DIR) + "/Data/Data.pp", std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::ofstream out(pack, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));  // cut in the middle
  }
  FakePlatform fake;
  TForm1::Files files = FormFixture::GameFiles(dir / "Config.cfg");
  files.Pack = pack.string();
  TForm1 form(fake.services, files);
  try {
    form.FormCreate();
    FAIL() << "a damaged pack must stop the start";
  } catch (const PackError& e) {
    EXPECT_NE(std::string(e.what()).find("Data.pp"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("entry"), std::string::npos) << e.what();
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace sf::testing
