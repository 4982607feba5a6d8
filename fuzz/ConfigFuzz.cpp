// libFuzzer target: any bytes as "Config.cfg". Checks that the reader
//  - starts from the defaults whatever it is given, and says "complete" exactly when every field is
//    there in full (an independent walk of the layout decides),
//  - gives names of at most kMaxNameLength, a key byte, and a sorted table,
//  - round-trips: what it decoded, written again, decodes complete to the same records and is
//    written to the same bytes,
// and that ReadCfgString reads each record back exactly as WriteCfgString writes it and leaves pos
// and text alone when a record is cut short.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "options/ConfigFile.h"

namespace {

bool SameSettings(const sf::Settings& a, const sf::Settings& b) {
  return a.Windowed == b.Windowed && a.MusicOn == b.MusicOn && a.SoundOn == b.SoundOn &&
         a.MinimizeKey == b.MinimizeKey && a.PlayerName == b.PlayerName;
}

bool SameTable(const sf::HighScores& a, const sf::HighScores& b) {
  for (size_t i = 0; i < sf::kHighScoreCount; ++i)
    if (a[i].Name != b[i].Name || a[i].Score != b[i].Score) return false;
  return true;
}

// The layout on its own: 4 bytes, the player's name, then ten times a name and 4 bytes of score.
bool HoldsEveryField(std::string_view bytes) {
  size_t pos = 4;
  auto skipString = [&] {
    if (pos >= bytes.size()) return false;
    pos += 1 + static_cast<uint8_t>(bytes[pos]);
    return pos <= bytes.size();
  };
  if (bytes.size() < pos || !skipString()) return false;
  for (size_t i = 0; i < sf::kHighScoreCount; ++i) {
    if (!skipString()) return false;
    pos += 4;
    if (pos > bytes.size()) return false;
  }
  return true;
}

void CheckStringRecords(std::string_view bytes) {
  size_t pos = 0;
  while (true) {
    const size_t before = pos;
    std::string text = "\x01untouched";
    if (!sf::ReadCfgString(bytes, pos, text)) {
      SF_FUZZ_CHECK(pos == before && text == "\x01untouched");
      const bool cutShort = pos >= bytes.size() || bytes.size() - pos - 1 < static_cast<uint8_t>(bytes[pos]);
      SF_FUZZ_CHECK(cutShort);
      break;
    }
    SF_FUZZ_CHECK(pos == before + 1 + text.size());
    std::string written;
    sf::WriteCfgString(written, text);
    SF_FUZZ_CHECK(written == bytes.substr(before, pos - before));
  }
  // Any text written comes back as its first 255 characters.
  std::string written;
  sf::WriteCfgString(written, bytes);
  size_t pos2 = 0;
  std::string back;
  SF_FUZZ_CHECK(sf::ReadCfgString(written, pos2, back));
  SF_FUZZ_CHECK(pos2 == written.size() && back == bytes.substr(0, 255));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Filled with values no file gives, so anything left over from before would show.
  sf::Settings settings;
  settings.Windowed = settings.MusicOn = settings.SoundOn = false;
  settings.MinimizeKey = -7;
  settings.PlayerName = std::string(300, 'x');
  sf::HighScores table;
  for (auto& e : table.Entries) e = {std::string(20, 'y'), -1};

  const bool complete = sf::DecodeConfig(bytes, settings, table);
  SF_FUZZ_CHECK(complete == HoldsEveryField(bytes));
  SF_FUZZ_CHECK(settings.MinimizeKey >= 0 && settings.MinimizeKey <= 255);
  SF_FUZZ_CHECK(settings.PlayerName.size() <= sf::kMaxNameLength);
  for (size_t i = 0; i < sf::kHighScoreCount; ++i) {
    SF_FUZZ_CHECK(table[i].Name.size() <= sf::kMaxNameLength);
    if (i > 0) SF_FUZZ_CHECK(table[i - 1].Score >= table[i].Score);
  }
  if (size == 0) {
    const sf::Settings defaults;
    SF_FUZZ_CHECK(SameSettings(settings, defaults) && SameTable(table, sf::HighScores()));
  }

  const std::string encoded = sf::EncodeConfig(settings, table);
  sf::Settings settings2;
  sf::HighScores table2;
  SF_FUZZ_CHECK(sf::DecodeConfig(encoded, settings2, table2));
  SF_FUZZ_CHECK(SameSettings(settings, settings2));
  SF_FUZZ_CHECK(SameTable(table, table2));
  SF_FUZZ_CHECK(sf::EncodeConfig(settings2, table2) == encoded);

  CheckStringRecords(bytes);
  return 0;
}
