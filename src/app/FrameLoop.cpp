// The frame loop and what each screen draws.
#include <cstdio>
#include <string_view>

#include "app/Form.h"
#include "app/ScreenRules.h"
#include "app/ScreenTexts.h"
#include "audio/Audio.h"
#include "core/Colour.h"
#include "game/Game.h"
#include "gfx/Blit.h"
#include "gfx/DrawOps.h"
#include "layout/MenuLayout.h"
#include "options/HighScoreView.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "ui/Menus.h"

namespace sf {

int32_t TForm1::FrameStep() {
  FrameStartTick = platform.clock.TickCount();
  std::fill(std::begin(KeyboardState), std::end(KeyboardState), uint8_t{0});
  platform.input.GetKeyboardState(KeyboardState);
  // Draw only when at least 6 ms of the tick have passed since the last present; the unsigned
  // difference keeps the pace across the tick's wrap-around.
  if (static_cast<uint32_t>(FrameStartTick - LastFrameEndTick) <= 5) return 0;
  frameDrawn_ = true;
  platform.display.CaptureMouse(ScreenState == scrGame && WindowActive);
  audio->MusicTick(MusicTrackFor(ScreenState), settings.MusicOn);
  int32_t result = 0;
  if (ClearBackBuffer() != kBlitOk) result = RestoreSurfaces();
  DrawScreen();
  Present();
  LastFrameEndTick = platform.clock.TickCount();
  return result;
}

void TForm1::DrawScreen() {
  switch (ScreenState) {
    case scrIntro:
      DrawIntro();
      break;
    case scrMainMenu:
      if (BltFast(BackBuffer, 0, 0, images.Menu(menuImgBackground), false) != kBlitOk) RestoreSurfaces();
      BltFast(BackBuffer, 0, 0, images.Menu(menuImgTitle), true);
      menus->MainMenu.Draw(BackBuffer);
      break;
    case scrGame:
      if (CurrentGame) CurrentGame->Step(BackBuffer);
      break;
    case scrOptions:
      DrawPageBackground(menuImgOptionsPanel);
      menus->MainMenu.Draw(BackBuffer);
      DrawMarker(menuImgOptionsMarker);
      menus->OptionsMenu.Draw(BackBuffer);
      break;
    case scrKeyCapture:
      // The options page without pointer following: the widgets one by one.
      DrawPageBackground(menuImgOptionsPanel);
      DrawMarker(menuImgOptionsMarker);
      menus->OptionsMenu.DrawWidgetsOnly(BackBuffer);
      break;
    case scrHighScores:
      DrawPageBackground(menuImgHighScorePanel);
      menus->MainMenu.Draw(BackBuffer);
      DrawMarker(menuImgHighScoresMarker);
      menus->HighScoreButtons.Draw(BackBuffer);
      DrawHighScores(*text, BackBuffer, highScores);
      break;
    case scrHelpOverview:
    case scrHelpNavigation:
    case scrHelpEnemies:
    case scrAbout:
      DrawPageBackground(menuImgHelpPanel);
      menus->MainMenu.Draw(BackBuffer);
      DrawMarker(menuImgHelpMarker);
      DrawHelpPage();
      break;
    case scrExitQuestion:
      DrawDialog(false, true, 190);
      BltFast(BackBuffer, 0, 0, images.Menu(menuImgTitle), true);
      text->DrawShadowText(BackBuffer, 250, 260, 46, 20, "Exit  the game?", kNormalColour);
      menus->YesNoDialog.Draw(BackBuffer);
      break;
    case scrClearQuestion:
      DrawDialog(true, false, 210);
      BltFast(BackBuffer, 0, 0, images.Menu(menuImgTitle), true);
      text->DrawShadowText(BackBuffer, 260, 250, 26, 14, "Do you want to clear", kNormalColour);
      text->DrawShadowText(BackBuffer, 260, 278, 26, 14, "the High Score Table?", kNormalColour);
      menus->OkCancelDialog.Draw(BackBuffer);
      break;
    case scrEnterName: {
      DrawDialog(true, false, 215);
      char line[32];
      const int n = std::snprintf(line, sizeof line, "Your score is %d", CurrentGame ? CurrentGame->Score : 0);
      text->DrawShadowText(BackBuffer, 290, 232, 24, 14, std::string_view(line, static_cast<size_t>(n)), kNormalColour);
      text->DrawShadowText(BackBuffer, 250, 254, 24, 14, "Please enter your name", kNormalColour);
      menus->OkCancelDialog.Draw(BackBuffer);
      menus->NameEntry.Draw(BackBuffer);
      break;
    }
    case scrSendQuestion:
      DrawDialog(true, false, 200);
      menus->YesNoDialog.Draw(BackBuffer);
      text->DrawShadowText(BackBuffer, 254, 252, 24, 15, "Send the result to", kNormalColour);
      text->DrawShadowText(BackBuffer, 216, 282, 24, 15, "world's highscores page", kNormalColour);
      break;
    case scrQuitGameQuestion:
      DrawDialog(true, true, 190);
      text->DrawShadowText(BackBuffer, 250, 260, 46, 20, "Exit the game?", kNormalColour);
      menus->YesNoDialog.Draw(BackBuffer);
      break;
    case scrConnectFailed:
      DrawDialog(true, false, 190);
      menus->YesNoDialog.Draw(BackBuffer);
      text->DrawShadowText(BackBuffer, 254, 252, 24, 15, "Can not connect to", kAlertColour);
      text->DrawShadowText(BackBuffer, 290, 282, 24, 15, "server! Repeat?", kAlertColour);
      break;
    case scrPleaseWait:
      DrawDialog(true, false, 190);
      text->DrawShadowText(BackBuffer, 290, 282, 24, 16, "Please wait...", kNormalColour);
      break;
    case scrPause:
      DrawPause();
      break;
    default:
      break;  // no picture: the cleared frame is shown
  }
}

void TForm1::DrawIntro() {
  // The title slides in from the left, three pixels a frame, until it reaches its place.
  const int32_t titleWidth = kTitleRect.Width();
  BltFast(BackBuffer, 0, 0, images.Menu(menuImgBackground), false);
  DrawClipped(images.Menu(menuImgTitle), BackBuffer, kTitleRect, static_cast<int16_t>(IntroOffset - titleWidth), 0);
  if (IntroOffset >= static_cast<uint32_t>(titleWidth)) {
    ScreenState = scrMainMenu;
    IntroOffset = 0;
  }
  IntroOffset += 3;
  menus->MainMenu.Draw(BackBuffer);
}

void TForm1::DrawPageBackground(int32_t panelImage) {
  if (BltFast(BackBuffer, 0, 0, images.Menu(menuImgBackground), false) != kBlitOk) RestoreSurfaces();
  BltFast(BackBuffer, kPanelRect.Left, kPanelRect.Top, images.Menu(panelImage), false);
  BltFast(BackBuffer, 0, 0, images.Menu(menuImgTitle), true);
}

void TForm1::DrawMarker(int32_t markerImage) {
  for (const MenuMarker& m : kMenuMarkers) {
    if (m.Image == markerImage) BltFast(BackBuffer, m.X, m.Y, images.Menu(m.Image), false);
  }
}

void TForm1::DrawHelpPage() {
  auto lines = [this](const auto& table, int32_t h, int32_t w) {
    for (const PlacedText& line : table) text->DrawPlainText(BackBuffer, line.X, line.Y, h, w, line.Text, kNormalColour, false);
  };
  switch (ScreenState) {
    case scrHelpOverview:
      menus->HelpButtons.Draw(BackBuffer);
      text->DrawShadowText(BackBuffer, 320, 170, 22, 12, "GAME OVERVIEW", kHighlightColour);
      lines(kOverviewLines, 14, 8);
      break;
    case scrHelpNavigation:
      menus->HelpButtons.Draw(BackBuffer);
      text->DrawShadowText(BackBuffer, 320, 170, 22, 12, "MENU NAVIGATIONS", kHighlightColour);
      lines(kMenuNavigationLines, 14, 8);
      text->DrawShadowText(BackBuffer, 320, 300, 22, 12, "GAME NAVIGATIONS", kHighlightColour);
      lines(kGameNavigationLines, 14, 8);
      break;
    case scrHelpEnemies:
      menus->HelpButtons.Draw(BackBuffer);
      text->DrawShadowText(BackBuffer, 320, 170, 22, 12, "Enemies", kHighlightColour);
      lines(kEnemyLines, 18, 10);
      text->DrawShadowText(BackBuffer, 580, 170, 22, 12, "Bonuses", kHighlightColour);
      for (const BonusLegendRow& row : kBonusLegend) BltFast(BackBuffer, 590, row.IconY, images.Game(row.GameImage), true);
      for (const BonusLegendRow& row : kBonusLegend) {
        text->DrawPlainText(BackBuffer, 630, row.LabelY, 14, 8, row.Label, kNormalColour, false);
      }
      break;
    case scrAbout:
      text->DrawShadowText(BackBuffer, 320, 170, 22, 12, "ABOUT", kHighlightColour);
      text->DrawShadowText(BackBuffer, 460, 250, 40, 18, kAboutTitle, kHighlightColour);
      text->DrawShadowText(BackBuffer, 460, 290, 22, 12, kAboutNotice1, kNormalColour);
      text->DrawShadowText(BackBuffer, 460, 310, 22, 12, kAboutNotice2, kNormalColour);
      BltFast(BackBuffer, kAboutX, kAboutY, images.Menu(menuImgAbout), true);
      menus->HelpButtons.Draw(BackBuffer);
      break;
    default:
      break;
  }
}

void TForm1::DrawDialog(bool fromSnapshot, bool testRestore, int32_t boxX) {
  const int32_t first = BltFast(BackBuffer, 0, 0, fromSnapshot ? SnapshotSurface : images.Menu(menuImgBackground), false);
  if (testRestore && first != kBlitOk) RestoreSurfaces();
  BltFast(BackBuffer, boxX, kDialogBoxY, images.Menu(menuImgDialogBox), false);
}

void TForm1::DrawPause() {
  if (BltFast(BackBuffer, 0, 0, SnapshotSurface, false) != kBlitOk) RestoreSurfaces();
  text->DrawShadowText(BackBuffer, 350, 300, 32, 20, "Pause", kNormalColour);
}

}  // namespace sf
