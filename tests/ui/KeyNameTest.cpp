#include <gtest/gtest.h>

#include "ui/KeyName.h"

namespace sf {
namespace {

TEST(KeyNameTest, ChoosableKeys) {
  EXPECT_EQ(KeyName(49), "1");
  EXPECT_EQ(KeyName(57), "9");
  EXPECT_EQ(KeyName(65), "A");
  EXPECT_EQ(KeyName(90), "Z");
  EXPECT_EQ(KeyName(58), ":");
  EXPECT_EQ(KeyName(91), "[");
  EXPECT_EQ(KeyName(112), "F1");
  EXPECT_EQ(KeyName(123), "F12");
  EXPECT_EQ(KeyName(126), "F15");
  EXPECT_EQ(KeyName(160), "Shift");
  EXPECT_EQ(KeyName(161), "Shift");
  EXPECT_EQ(KeyName(162), "Ctrl");
  EXPECT_EQ(KeyName(163), "Ctrl");
  EXPECT_EQ(KeyName(164), "Alt");
  EXPECT_EQ(KeyName(8), "Back");
  EXPECT_EQ(KeyName(13), "Enter");
  EXPECT_EQ(KeyName(27), "Esc");
  EXPECT_EQ(KeyName(32), "Space");
  EXPECT_EQ(KeyName(33), "PgUp");
  EXPECT_EQ(KeyName(34), "PgDn");
  EXPECT_EQ(KeyName(37), "Left");
  EXPECT_EQ(KeyName(40), "Down");
  EXPECT_EQ(KeyName(45), "Ins");
  EXPECT_EQ(KeyName(46), "Del");
}

TEST(KeyNameTest, RefusedKeys) {
  for (uint32_t code : {0u, 16u, 17u, 18u, 41u, 44u, 47u, 48u, 92u, 111u, 127u, 159u, 165u, 255u, 256u, 0xFFFFFFFFu})
    EXPECT_EQ(KeyName(code), "Bad") << code;
}

}  // namespace
}  // namespace sf
