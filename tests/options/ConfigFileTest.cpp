#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "options/ConfigFile.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("sf_config_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = dir_ / "Config.cfg";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string ReadBytes() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void WriteBytes(const std::string& bytes) const {
    std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  fs::path dir_;
  fs::path path_;
};

std::string DefaultBytes() {
  std::string b = {1, 1, 1, 123, 0};
  for (int i = 0; i < 10; ++i) {
    b.push_back(9);
    for (char c : std::string("Anonymous")) b.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ 0xFF));
    const int32_t score = 1000 - 100 * i;
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<char>((score >> (8 * k)) & 0xFF));
  }
  return b;
}

TEST_F(ConfigFileTest, FirstStartWritesTheDefaultFileAndLoadsIt) {
  Settings settings;
  HighScores table;
  table[0].Score = 5;  // anything in memory is replaced by the default table
  const ConfigLoadResult r = LoadConfig(path_, settings, table);
  EXPECT_FALSE(r.Existed);
  EXPECT_TRUE(r.Complete);
  ASSERT_EQ(ReadBytes().size(), 145u);
  EXPECT_EQ(ReadBytes(), DefaultBytes());
  EXPECT_TRUE(settings.Windowed && settings.MusicOn && settings.SoundOn);
  EXPECT_EQ(settings.MinimizeKey, 123);
  EXPECT_EQ(settings.PlayerName, "");
  EXPECT_EQ(table[0].Score, 1000);
  EXPECT_EQ(table[9].Score, 100);
  EXPECT_EQ(table[9].Name, "Anonymous");
  EXPECT_FALSE(fs::exists(dir_ / "Config.cfg.tmp"));
}

TEST_F(ConfigFileTest, StringRecordIsLengthThenInvertedCharacters) {
  std::string out;
  WriteCfgString(out, "Ann");
  EXPECT_EQ(out, std::string("\x03\xBE\x91\x91", 4));
  WriteCfgString(out, "");
  size_t pos = 0;
  std::string text;
  ASSERT_TRUE(ReadCfgString(out, pos, text));
  EXPECT_EQ(text, "Ann");
  ASSERT_TRUE(ReadCfgString(out, pos, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(pos, out.size());
  EXPECT_FALSE(ReadCfgString(out, pos, text));  // nothing left

  std::string longText(300, 'x');
  out.clear();
  WriteCfgString(out, longText);
  EXPECT_EQ(static_cast<uint8_t>(out[0]), 255);  // the length byte never wraps
  EXPECT_EQ(out.size(), 256u);
}

TEST_F(ConfigFileTest, SettingsAndTableSurviveARoundTrip) {
  Settings settings;
  settings.Windowed = false;
  settings.MusicOn = false;
  settings.SoundOn = true;
  settings.MinimizeKey = 81;
  settings.PlayerName = "Zed";
  HighScores table;
  table[0] = {"\xC4rger", 2147483647};
  table[9] = {"Low", -20};
  ASSERT_TRUE(SaveConfig(path_, settings, table));
  const std::string bytes = ReadBytes();
  EXPECT_EQ(std::string(bytes, 0, 4), std::string("\x00\x00\x01\x51", 4));  // music before sound

  Settings loadedSettings;
  HighScores loadedTable;
  const ConfigLoadResult r = LoadConfig(path_, loadedSettings, loadedTable);
  EXPECT_TRUE(r.Existed);
  EXPECT_TRUE(r.Complete);
  EXPECT_FALSE(loadedSettings.Windowed);
  EXPECT_FALSE(loadedSettings.MusicOn);
  EXPECT_TRUE(loadedSettings.SoundOn);
  EXPECT_EQ(loadedSettings.MinimizeKey, 81);
  EXPECT_EQ(loadedSettings.PlayerName, "Zed");
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    EXPECT_EQ(loadedTable[i].Name, table[i].Name) << i;
    EXPECT_EQ(loadedTable[i].Score, table[i].Score) << i;
  }
  EXPECT_EQ(ReadBytes(), bytes);  // loading an existing file does not write it
}

TEST_F(ConfigFileTest, FlagsAreTrueOnlyForOneAndTheKeyIsItsLowByte) {
  std::string bytes = DefaultBytes();
  bytes[0] = 2;  // not 1: full screen
  bytes[1] = static_cast<char>(0xFF);
  bytes[2] = 1;
  bytes[3] = static_cast<char>(0xF0);
  Settings settings;
  HighScores table;
  EXPECT_TRUE(DecodeConfig(bytes, settings, table));
  EXPECT_FALSE(settings.Windowed);
  EXPECT_FALSE(settings.MusicOn);
  EXPECT_TRUE(settings.SoundOn);
  EXPECT_EQ(settings.MinimizeKey, 240);

  settings.MinimizeKey = 0x151;
  EXPECT_EQ(static_cast<uint8_t>(EncodeConfig(settings, table)[3]), 0x51);
}

// Every prefix of a file: each field held in full is kept, every other field keeps its default.
TEST_F(ConfigFileTest, TruncatedFileKeepsWhatWasReadAtEveryLength) {
  Settings stored;
  stored.Windowed = false;
  stored.MusicOn = false;
  stored.SoundOn = false;
  stored.MinimizeKey = 81;
  stored.PlayerName = "Zed";
  HighScores storedTable;
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    storedTable[i] = {std::string(i % 4, static_cast<char>('a' + i)), 5000 - 100 * static_cast<int32_t>(i)};
  }
  const std::string full = EncodeConfig(stored, storedTable);
  const HighScores defaults;

  for (size_t length = 0; length < full.size(); ++length) {
    SCOPED_TRACE(length);
    Settings s;
    HighScores t;
    EXPECT_FALSE(DecodeConfig(std::string_view(full).substr(0, length), s, t));
    EXPECT_EQ(s.Windowed, length >= 1 ? stored.Windowed : true);
    EXPECT_EQ(s.MusicOn, length >= 2 ? stored.MusicOn : true);
    EXPECT_EQ(s.SoundOn, length >= 3 ? stored.SoundOn : true);
    EXPECT_EQ(s.MinimizeKey, length >= 4 ? 81 : 123);
    EXPECT_EQ(s.PlayerName, length >= 8 ? "Zed" : "");
    size_t end = 8;
    for (size_t i = 0; i < kHighScoreCount; ++i) {
      const size_t nameEnd = end + 1 + storedTable[i].Name.size();
      end = nameEnd + 4;
      EXPECT_EQ(t[i].Name, length >= nameEnd ? storedTable[i].Name : defaults[i].Name) << i;
      EXPECT_EQ(t[i].Score, length >= end ? storedTable[i].Score : defaults[i].Score) << i;
    }
  }
  Settings s;
  HighScores t;
  EXPECT_TRUE(DecodeConfig(full + "trailing bytes are never read", s, t));
}

TEST_F(ConfigFileTest, ShortFileLoadsAndTheNextSaveIsComplete) {
  WriteBytes(DefaultBytes().substr(0, 30));
  Settings settings;
  HighScores table;
  const ConfigLoadResult r = LoadConfig(path_, settings, table);
  EXPECT_TRUE(r.Existed);
  EXPECT_FALSE(r.Complete);
  EXPECT_EQ(ReadBytes().size(), 30u);  // a load never writes
  ASSERT_TRUE(SaveConfig(path_, settings, table));
  EXPECT_EQ(ReadBytes(), DefaultBytes());
}

TEST_F(ConfigFileTest, OverLongStoredNamesAreShortenedAndTheRestStillReads) {
  std::string bytes = {1, 1, 1, 123};
  WriteCfgString(bytes, std::string(200, 'P'));
  for (int i = 0; i < 10; ++i) {
    WriteCfgString(bytes, std::string(40, static_cast<char>('A' + i)));
    const int32_t score = 900 - i;
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((score >> (8 * k)) & 0xFF));
  }
  WriteBytes(bytes);
  Settings settings;
  HighScores table;
  EXPECT_TRUE(LoadConfig(path_, settings, table).Complete);
  EXPECT_EQ(settings.PlayerName, std::string(kMaxNameLength, 'P'));
  EXPECT_EQ(table[3].Name, std::string(kMaxNameLength, 'D'));
  EXPECT_EQ(table[9].Score, 891);
}

TEST_F(ConfigFileTest, UnsortedTableIsSortedOnLoadKeepingTheOrderOfEqualScores) {
  HighScores table;
  table[0] = {"First", 200};  // the same score as entry 8, but stored above it
  table[9] = {"Last", 100};
  Settings s;
  HighScores loaded;
  DecodeConfig(EncodeConfig(s, table), s, loaded);
  EXPECT_EQ(loaded[0].Score, 900);
  EXPECT_EQ(loaded[6].Score, 300);
  EXPECT_EQ(loaded[7].Name, "First");
  EXPECT_EQ(loaded[8].Name, "Anonymous");
  EXPECT_EQ(loaded[8].Score, 200);
  EXPECT_EQ(loaded[9].Name, "Last");
}

TEST_F(ConfigFileTest, UnreadableFileStartsWithDefaults) {
  fs::create_directory(path_);  // exists, but cannot be read as a file
  Settings settings;
  settings.PlayerName = "Mem";
  HighScores table;
  const ConfigLoadResult r = LoadConfig(path_, settings, table);
  EXPECT_TRUE(r.Existed);
  EXPECT_FALSE(r.Complete);
  EXPECT_EQ(settings.PlayerName, "");
  EXPECT_EQ(table[0].Score, 1000);
  EXPECT_FALSE(SaveConfig(path_, settings, table));  // cannot replace a directory: reported, no crash
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(ConfigFileTest, FailedSaveKeepsTheOldFile) {
  Settings settings;
  HighScores table;
  ASSERT_TRUE(SaveConfig(path_, settings, table));
  const std::string before = ReadBytes();
  fs::create_directory(dir_ / "Config.cfg.tmp");  // the new file cannot be written beside it
  settings.PlayerName = "New";
  table[0].Score = 99999;
  EXPECT_FALSE(SaveConfig(path_, settings, table));
  EXPECT_EQ(ReadBytes(), before);
  EXPECT_TRUE(fs::is_directory(dir_ / "Config.cfg.tmp"));  // not ours: left alone

  EXPECT_FALSE(SaveConfig(dir_ / "missing" / "Config.cfg", settings, table));
}

TEST_F(ConfigFileTest, SaveAfterTheFileDisappearedWritesWhatIsInMemory) {
  Settings settings;
  HighScores table;
  LoadConfig(path_, settings, table);
  InsertHighScore(table, "Bob", 5000);
  fs::remove(path_);
  ASSERT_TRUE(SaveConfig(path_, settings, table));
  Settings s;
  HighScores loaded;
  LoadConfig(path_, s, loaded);
  EXPECT_EQ(loaded[0].Name, "Bob");
  EXPECT_EQ(loaded[0].Score, 5000);
}

TEST_F(ConfigFileTest, SaveReplacesALongerOldFileCompletely) {
  WriteBytes(std::string(400, 'x'));
  Settings settings;
  HighScores table;
  ASSERT_TRUE(SaveConfig(path_, settings, table));
  EXPECT_EQ(ReadBytes(), DefaultBytes());
}

}  // namespace
}  // namespace sf
