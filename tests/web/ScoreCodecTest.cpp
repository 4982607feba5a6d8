#include <gtest/gtest.h>

#include <string>

#include "web/ScoreCodec.h"
#include "web/ScoreProtocol.h"

namespace sf {
namespace {

TEST(ScoreCodec, AlphabetHasThirtyTwoDistinctDigitsAndCapitals) {
  for (size_t i = 0; i < kScoreAlphabet.size(); ++i) {
    const char c = kScoreAlphabet[i];
    EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) << c;
    EXPECT_EQ(kScoreAlphabet.find(c), i) << c;
  }
  EXPECT_TRUE(kScoreKeyLetter >= 'A' && kScoreKeyLetter <= 'Z');
}

TEST(ScoreCodec, BytesBecomeEightDigitsMostSignificantFirst) {
  EXPECT_EQ(BytesToBitString("A"), "01000001");
  EXPECT_EQ(BytesToBitString("\xE9\x01"), "1110100100000001");  // above 127: the single byte as it is
  EXPECT_EQ(BytesToBitString(""), "");
}

TEST(ScoreCodec, FiveDigitsMakeOneSymbolWithLeadingZeroFill) {
  EXPECT_EQ(BitStringToSymbols("00000"), std::string(1, kScoreAlphabet[0]));
  EXPECT_EQ(BitStringToSymbols("11111"), std::string(1, kScoreAlphabet[31]));
  EXPECT_EQ(BitStringToSymbols("10000"), std::string(1, kScoreAlphabet[16]));
  // Six digits: four "0"s go in front, giving 00000 00001.
  EXPECT_EQ(BitStringToSymbols("000001"), std::string() + kScoreAlphabet[0] + kScoreAlphabet[1]);
  EXPECT_EQ(BitStringToSymbols("1"), std::string(1, kScoreAlphabet[1]));
  EXPECT_EQ(BitStringToSymbols("x0x0x"), std::string(1, kScoreAlphabet[21]));  // anything but '0' is a one
  EXPECT_EQ(BitStringToSymbols(""), "");
}

// Five bytes are eight symbols with the bit grouping of RFC 4648 Base32, only the alphabet differs.
TEST(ScoreCodec, GroupingMatchesBase32) {
  constexpr std::string_view kBase32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
  const std::string base32 = "MZXW6YTBOJUWU3DB";  // Base32 of "foobarijla"
  std::string expected;
  for (char c : base32) expected.push_back(kScoreAlphabet[kBase32.find(c)]);
  EXPECT_EQ(BitStringToSymbols(BytesToBitString("foobarijla")), expected);
}

TEST(ScoreCodec, SymbolsDecodeBackToTheBytes) {
  const std::string text = "type=0|name=\xC4\xFF|z=000";  // 20 bytes: whole symbols
  const auto digits = SymbolsToBitString(BitStringToSymbols(BytesToBitString(text)));
  ASSERT_TRUE(digits);
  EXPECT_EQ(BitStringToBytes(*digits), text);
  EXPECT_FALSE(SymbolsToBitString("0I"));      // I is not a symbol
  EXPECT_FALSE(SymbolsToBitString("0a"));      // nor lower case
  EXPECT_FALSE(BitStringToBytes("0100000"));   // not whole bytes
  EXPECT_FALSE(BitStringToBytes("0100000x"));  // not a digit
}

TEST(ScoreCodec, ServerFieldIsTheTextBetweenTheFourthAndFifthBar) {
  EXPECT_EQ(ServerField("a|b|c|d|e|f"), "e");
  EXPECT_EQ(ServerField("a|b|c|d|e|"), "e");
  EXPECT_EQ(ServerField("a|b|c|d|e"), "");  // four bars: the fifth round finds none
  EXPECT_EQ(ServerField("a|b|c|d||f"), "");
  EXPECT_EQ(ServerField("|||||"), "");
  EXPECT_EQ(ServerField("1|2|3|4|token-5|6|7|8"), "token-5");
  EXPECT_EQ(ServerField("no bars at all"), "");
  EXPECT_EQ(ServerField(""), "");
}

TEST(ScoreCodec, ResultStringIsPaddedToAMultipleOfFive) {
  const std::string record = ResultString("Bob", 1200, "", "Anonymous");
  const std::string plain = std::string("type=0|name=Bob|score=1200|key=") + kScoreKeyLetter + "|p=|add=Anonymous|z=";
  EXPECT_EQ(plain.size(), 52u);
  EXPECT_EQ(record, plain + "000");
  EXPECT_EQ(record.size(), 55u);
  const std::string digits = BytesToBitString(record);
  EXPECT_EQ(digits.size(), 440u);
  const std::string symbols = BitStringToSymbols(digits);
  EXPECT_EQ(symbols.size(), 88u);
  EXPECT_EQ(symbols.find_first_not_of(kScoreAlphabet), std::string::npos);

  for (int extra = 0; extra < 5; ++extra) {
    const std::string r = ResultString(std::string(static_cast<size_t>(extra), 'x'), -7, "tok", "");
    EXPECT_EQ(r.size() % 5, 0u) << extra;
    EXPECT_NE(r.find("|score=-7|"), std::string::npos);
  }
}

}  // namespace
}  // namespace sf
