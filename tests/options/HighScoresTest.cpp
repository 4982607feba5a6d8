#include <gtest/gtest.h>

#include "options/ConfigFile.h"
#include "options/HighScores.h"

namespace sf {
namespace {

TEST(HighScores, NewTableHoldsTheDefaults) {
  HighScores table;
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    EXPECT_EQ(table[i].Name, "Anonymous");
    EXPECT_EQ(table[i].Score, 1000 - 100 * static_cast<int32_t>(i));
  }
}

TEST(HighScores, ResultEntersBetweenHigherAndLowerAndTheLastDropsOut) {
  HighScores table;
  EXPECT_EQ(InsertHighScore(table, "Bob", 550), 5u);
  EXPECT_EQ(table[4].Score, 600);
  EXPECT_EQ(table[5].Name, "Bob");
  EXPECT_EQ(table[5].Score, 550);
  EXPECT_EQ(table[6].Score, 500);
  EXPECT_EQ(table[9].Score, 200);  // the old 100 is gone
}

TEST(HighScores, EqualScoreLandsBelowTheExistingOnes) {
  HighScores table;
  EXPECT_EQ(InsertHighScore(table, "Amy", 700), 4u);
  EXPECT_EQ(table[3].Name, "Anonymous");
  EXPECT_EQ(table[3].Score, 700);
  EXPECT_EQ(table[4].Name, "Amy");
  EXPECT_EQ(InsertHighScore(table, "Cid", 700), 5u);
  EXPECT_EQ(table[4].Name, "Amy");
  EXPECT_EQ(table[5].Name, "Cid");
  EXPECT_EQ(InsertHighScore(table, "Top", 5000), 0u);
  EXPECT_EQ(table[5].Name, "Amy");
  EXPECT_EQ(table[6].Name, "Cid");
}

TEST(HighScores, ScoresCompareSigned) {
  HighScores table;
  for (auto& e : table.Entries) e.Score = -100;
  EXPECT_EQ(InsertHighScore(table, "Zero", 0), 0u);
  EXPECT_EQ(table[1].Score, -100);
}

TEST(HighScores, InsertedNameIsShortenedToTheField) {
  HighScores table;
  InsertHighScore(table, "Abcdefghijklmnop", 2000);
  EXPECT_EQ(table[0].Name, "Abcdefghij");
}

TEST(HighScores, ClearedTableWithANewResultIsWrittenAsSuch) {
  HighScores table;
  InsertHighScore(table, "Bob", 5000);
  ResetHighScores(table);
  InsertHighScore(table, "Cid", 450);
  Settings settings;
  Settings s;
  HighScores loaded;
  ASSERT_TRUE(DecodeConfig(EncodeConfig(settings, table), s, loaded));
  EXPECT_EQ(loaded[0].Name, "Anonymous");
  EXPECT_EQ(loaded[6].Name, "Cid");
  EXPECT_EQ(loaded[9].Score, 200);
}

}  // namespace
}  // namespace sf
