#include <gtest/gtest.h>

#include "app/DisplayFocus.h"
#include "platform/fake/FakeWindow.h"

namespace sf::testing {
namespace {

TEST(DisplayFocus, AWindowKeepsItsPlaceAcrossAMinimise) {
  FakeWindow window;
  DisplayFocus focus(window);
  focus.SetMode(true);
  window.Window = Rect{120, 80, 920, 680};
  focus.FocusLost(true);
  EXPECT_EQ(window.Minimizes, 0);
  window.Window = Rect{0, 0, 800, 600};  // the system moved it meanwhile
  focus.RestorePlace();
  EXPECT_EQ(window.Window.Left, 120);
  EXPECT_EQ(window.Window.Top, 80);
}

TEST(DisplayFocus, FullScreenMinimisesOnEveryLossButTheOneAtStart) {
  FakeWindow window;
  DisplayFocus started(window);
  started.FocusLost(false);  // the start's own change of focus
  EXPECT_EQ(window.Minimizes, 0);
  started.FocusLost(false);
  EXPECT_EQ(window.Minimizes, 1);

  DisplayFocus switched(window);
  switched.SetMode(false);  // desktop full screen takes no focus: the first loss is the player's
  switched.FocusLost(false);
  EXPECT_EQ(window.Minimizes, 2);
  switched.SetMode(true);
  switched.FocusLost(true);  // a window's loss arms the skip for a later switch to full screen
  switched.FocusLost(false);
  EXPECT_EQ(window.Minimizes, 2);
}

TEST(DisplayFocus, TheCursorShowsWhileItsCounterIsNotNegative) {
  FakeWindow window;
  DisplayFocus focus(window);
  focus.ShowCursor(false);
  EXPECT_FALSE(window.CursorVisible);
  focus.ShowCursor(false);
  focus.ShowCursor(true);
  EXPECT_FALSE(window.CursorVisible) << "two hides need two shows";
  focus.ShowCursor(true);
  EXPECT_TRUE(window.CursorVisible);
  EXPECT_EQ(focus.CursorCounter(), 0);
}

}  // namespace
}  // namespace sf::testing
