#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "app/Form.h"
#include "app/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "ui/Menus.h"

namespace sf {

// Screens print as their numbers in test messages.
inline std::ostream& operator<<(std::ostream& os, ScreenState s) { return os << static_cast<uint32_t>(s); }

}  // namespace sf

namespace sf::testing {

// The real main window on the fake platform, with the generated pack and a private settings file.
class FormFixture : public ::testing::Test {
 public:
  // The generated pack and font of the build, with the settings file at configPath.
  static TForm1::Files GameFiles(const std::filesystem::path& configPath) {
    TForm1::Files f;
    f.Pack = std::string(SALTFANG_GAME_DIR) + "/Data/Data.pp";
    f.Config = configPath.string();
    f.Font = std::string(SALTFANG_GAME_DIR) + "/font.ttf";
    return f;
  }

 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("saltfang_app_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    files = GameFiles(dir_ / "Config.cfg");
  }
  void TearDown() override {
    form.reset();
    std::filesystem::remove_all(dir_);
  }

  // Starts the main window on the fakes, or on another set of services.
  void Start() { Start(platform); }
  void Start(Platform& services) {
    form = std::make_unique<TForm1>(services, files);
    form->FormCreate();
  }
  // Advances the tick by one 64 Hz period and runs one pass of the loop (which draws).
  void Frame(int n = 1) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(16);
      form->FrameStep();
    }
  }
  void Key(uint16_t vk) { form->FormKeyDown(vk, false); }
  void SkipIntro() {
    form->FormMouseDown();
    Frame();
  }
  std::string ConfigBytes() const {
    std::ifstream f(files.Config, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }

  FakePlatform fake;
  FakeWindow& window = fake.window;
  FakeClock& clock = fake.clock;
  FakeShell& shell = fake.shell;
  FakeSound& sound = fake.sound;
  FakeMusic& music = fake.music;
  FakeHttp& http = fake.http;
  Platform& platform = fake.services;
  TForm1::Files files;
  std::unique_ptr<TForm1> form;

 private:
  std::filesystem::path dir_;
};

}  // namespace sf::testing
