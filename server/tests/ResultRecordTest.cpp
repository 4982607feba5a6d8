#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ResultRecord.h"
#include "web/ScoreCodec.h"
#include "web/ScoreProtocol.h"

namespace sf::scores {
namespace {

std::string Encode(const std::string& record) { return BitStringToSymbols(BytesToBitString(record)); }

std::string RandomName(std::mt19937& rng, size_t maxLength) {
  std::uniform_int_distribution<size_t> length(0, maxLength);
  std::uniform_int_distribution<int> byte(0x20, 0xFF);
  std::string name(length(rng), ' ');
  for (char& c : name) {
    int b = byte(rng);
    while (b == '|' || b == 0x7F) b = byte(rng);
    c = static_cast<char>(b);
  }
  return name;
}

TEST(ResultRecord, GameRecordsDecodeToWhatWasSent) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int32_t> score(0, INT32_MAX);
  for (int i = 0; i < 2000; ++i) {
    const std::string name = RandomName(rng, 10);
    const std::string player = RandomName(rng, 10);
    const std::string token = RandomName(rng, 32);
    const int32_t value = score(rng);
    const auto decoded = DecodeSubmission(Encode(ResultString(name, value, token, player)));
    ASSERT_TRUE(decoded) << i;
    EXPECT_EQ(decoded->Name, name);
    EXPECT_EQ(decoded->Score, value);
    EXPECT_EQ(decoded->Token, token);
    EXPECT_EQ(decoded->PlayerName, player);
  }
}

TEST(ResultRecord, MalformedRecordsAreRefused) {
  const std::string key(1, kScoreKeyLetter);
  const std::string other(1, kScoreKeyLetter == 'A' ? 'B' : 'A');
  const auto pad = [](std::string r) { return r.append((5 - r.size() % 5) % 5, '0'); };
  const std::string good = "type=0|name=Bob|score=1200|key=" + key + "|p=T|add=X|z=";
  ASSERT_TRUE(ParseResultRecord(pad(good)));
  const std::string bad[] = {
      pad("type=1|name=Bob|score=1200|key=" + key + "|p=T|add=X|z="),
      pad("type=0|name=Bob|score=1200|key=" + other + "|p=T|add=X|z="),
      pad("type=0|name=Bob|score=-5|key=" + key + "|p=T|add=X|z="),
      pad("type=0|name=Bob|score=2147483648|key=" + key + "|p=T|add=X|z="),
      pad("type=0|name=Bob|score=12a|key=" + key + "|p=T|add=X|z="),
      pad("type=0|name=Bob|score=|key=" + key + "|p=T|add=X|z="),
      pad("type=0|score=1200|name=Bob|key=" + key + "|p=T|add=X|z="),
      pad("type=0|name=Bob|score=1200|key=" + key + "|p=T|add=X|z=|more=1"),
      pad("type=0|name=Bob|score=1200|key=" + key + "|p=T|add=X"),
      pad("type=0|name=B\tb|score=1200|key=" + key + "|p=T|add=X|z="),
      pad("type=0|name=" + std::string(40, 'x') + "|score=1200|key=" + key + "|p=T|add=X|z="),
      "type=0|name=Bo|score=1200|key=" + key + "|p=T|add=X|z=01",
      "type=0|name=Bob|score=1200|key=" + key + "|p=T|add=Xy|z=00000",
      good + "0",  // not a multiple of 5
      "",
  };
  for (const std::string& record : bad) EXPECT_FALSE(ParseResultRecord(record)) << record;
}

TEST(ResultRecord, HostileSymbolsAreRefusedWithoutHarm) {
  const std::string valid = Encode(ResultString("Bob", 1200, "TOKEN", "Anonymous"));
  ASSERT_TRUE(DecodeSubmission(valid));
  EXPECT_FALSE(DecodeSubmission(""));
  EXPECT_FALSE(DecodeSubmission(valid.substr(0, valid.size() - 8)));  // whole bytes, cut record
  EXPECT_FALSE(DecodeSubmission(valid.substr(0, valid.size() - 1)));
  EXPECT_FALSE(DecodeSubmission(valid + "%00%00%00"));
  EXPECT_FALSE(DecodeSubmission(std::string(kMaxSymbols + 8, '0')));

  // Random text, and the valid submission with random damage: no crash, and nothing undecodable passes.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> anyByte(0, 255);
  std::uniform_int_distribution<size_t> symbol(0, 31);
  for (int i = 0; i < 5000; ++i) {
    std::string s = valid;
    const int damage = 1 + i % 4;
    for (int d = 0; d < damage; ++d) {
      std::uniform_int_distribution<size_t> at(0, s.size() - 1);
      s[at(rng)] = i % 2 ? static_cast<char>(anyByte(rng)) : kScoreAlphabet[symbol(rng)];
    }
    if (const auto r = DecodeSubmission(s)) {
      EXPECT_TRUE(IsStorableName(r->Name) && IsStorableName(r->PlayerName));
      EXPECT_GE(r->Score, 0);
    }
    std::string noise(static_cast<size_t>(anyByte(rng)) * 4, '0');
    for (char& c : noise) c = i % 3 ? kScoreAlphabet[symbol(rng)] : static_cast<char>(anyByte(rng));
    (void)DecodeSubmission(noise);
  }
}

}  // namespace
}  // namespace sf::scores
