#include <gtest/gtest.h>

#include "FakeMenuHost.h"
#include "ui/Edit.h"

namespace sf::testing {
namespace {

class EditTest : public ::testing::Test {
 protected:
  EditTest() { edit.Rect = {100, 100, 2000, 130}; }  // wide enough that only the letter limit counts

  int32_t Width(std::string_view text) {
    return SharedText().MeasureString(TDDEdit::kFontHeight, TDDEdit::kFontWidth, TDDEdit::kFontWeight, text);
  }
  void Type(std::string_view letters) {
    for (char c : letters) edit.KeyInput(c);
  }

  FakeMenuHost host;
  TDDEdit edit{host};
  Surface frame = Frame();
};

TEST_F(EditTest, TenLettersAtMost) {
  Type("ABCDEFGHIJ");
  EXPECT_EQ(edit.Text, "ABCDEFGHIJ");
  EXPECT_EQ(edit.Length(), 10u);
  edit.KeyInput('K');
  EXPECT_EQ(edit.Text, "ABCDEFGHIJ");
  EXPECT_EQ(edit.Length(), 10u);
}

TEST_F(EditTest, LetterThatWouldNotFitIsRefused) {
  // The letter fits only while Left + width + 5 stays strictly left of Right.
  edit.Rect.Right = edit.Rect.Left + Width("IIW") + 5;
  Type("IIW");
  EXPECT_EQ(edit.Text, "II");
  edit.Rect.Right += 1;
  edit.KeyInput('W');
  EXPECT_EQ(edit.Text, "IIW");
  EXPECT_EQ(edit.Length(), 3u);
}

TEST_F(EditTest, EraseRemovesLastLetterAndIgnoresEmptyField) {
  edit.KeyInput(TDDEdit::kEraseCode);
  EXPECT_EQ(edit.Text, "");
  EXPECT_EQ(edit.Length(), 0u);
  edit.SetText("Ann");
  edit.KeyInput(TDDEdit::kEraseCode);
  EXPECT_EQ(edit.Text, "An");
  EXPECT_EQ(edit.Length(), 2);
}

TEST_F(EditTest, OnlyLettersAreTaken) {
  Type("a1 -");
  EXPECT_EQ(edit.Text, "");
}

TEST_F(EditTest, DrawStoresCapitalisedName) {
  Type("ABC");
  edit.Draw(frame);
  EXPECT_EQ(edit.Text, "Abc");
  edit.SetText("jOHN");
  edit.Draw(frame);
  EXPECT_EQ(edit.Text, "John");
}

TEST_F(EditTest, LengthFollowsTextReplacedByOwner) {
  edit.Text = "Mary";  // written directly, Length stale
  edit.KeyInput(TDDEdit::kEraseCode);
  EXPECT_EQ(edit.Text, "Mar");
  EXPECT_EQ(edit.Length(), 3u);
}

class EditCaretTest : public EditTest {
 protected:
  EditCaretTest() {
    edit.Rect = {296, 300, 624, 330};
    edit.Focused = true;
    edit.Editing = true;
  }
  bool CaretAt(int32_t x) { return frame.At(x, edit.Rect.Top + 12) == GdiToPixel(kNormalColour); }
};

TEST_F(EditCaretTest, CaretBlinksEvery300MsAtEndOfText) {
  host.tick = 301;
  edit.Draw(frame);  // more than 300 ms since tick 0: caret on
  ASSERT_TRUE(edit.CaretOn);
  EXPECT_TRUE(CaretAt(296 + 10)) << "empty text: caret at Left + 10";
  EXPECT_TRUE(CaretAt(296 + 9));
  EXPECT_TRUE(CaretAt(296 + 11));
  EXPECT_FALSE(CaretAt(296 + 12));
  EXPECT_EQ(frame.At(306, 300 + 24), GdiToPixel(kNormalColour)) << "down to Bottom - 6";
  EXPECT_NE(frame.At(306, 300 + 25), GdiToPixel(kNormalColour));

  host.tick = 601;  // exactly 300 later: no change
  edit.Draw(frame);
  EXPECT_TRUE(edit.CaretOn);
  host.tick = 602;
  frame = Frame();
  edit.Draw(frame);
  EXPECT_FALSE(edit.CaretOn);
  EXPECT_FALSE(CaretAt(306));
}

TEST_F(EditCaretTest, CaretFollowsTextAndNeedsFocusAndTyping) {
  edit.SetText("Ann");
  host.tick = 400;
  edit.Draw(frame);
  const int32_t x = 296 + Width("Ann") + 10;
  EXPECT_TRUE(CaretAt(x));

  edit.Editing = false;
  host.tick = 1000;
  edit.Draw(frame);  // phase off
  host.tick = 1400;
  frame = Frame();
  edit.Draw(frame);  // phase on, but not typing
  EXPECT_TRUE(edit.CaretOn);
  EXPECT_FALSE(CaretAt(x));
}

TEST_F(EditCaretTest, FocusImageAndTextDrawn) {
  edit.SetText("Ann");
  edit.Draw(frame);
  EXPECT_EQ(frame.At(296, 300), MenuImageColour(TDDEdit::kFocusImage));
  int orange = 0;
  for (int32_t y = 300; y < 330; ++y)
    for (int32_t x = 303; x < 303 + Width("Ann"); ++x) orange += frame.At(x, y) == GdiToPixel(kHighlightColour);
  EXPECT_GT(orange, 20);

  edit.Focused = false;
  frame = Frame();
  edit.Draw(frame);
  EXPECT_EQ(frame.At(296, 300), 0u);
}

}  // namespace
}  // namespace sf::testing
