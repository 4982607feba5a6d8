// The intro and the pages beside the main menu: the main menu, options (with the wait for the
// minimise key), the high-score table and the help pages.
#include "app/Form.h"
#include "app/ScreenTexts.h"
#include "app/screens/ScreenUnit.h"
#include "core/Colour.h"
#include "gfx/Blit.h"
#include "gfx/DrawOps.h"
#include "layout/MenuLayout.h"
#include "options/HighScoreView.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "ui/KeyName.h"
#include "ui/MenuItems.h"
#include "ui/Menus.h"
#include "web/OnlineScores.h"

namespace sf {
namespace {

bool IsLetter(uint16_t key) { return key >= 'A' && key <= 'Z'; }

// A page beside the main menu: background, panel and title.
void DrawPageBackground(TForm1& f, int32_t panelImage) {
  if (BltFast(f.BackBuffer(), 0, 0, f.Images().Menu(menuImgBackground), false) != kBlitOk) f.RestoreSurfaces();
  BltFast(f.BackBuffer(), kPanelRect.Left, kPanelRect.Top, f.Images().Menu(panelImage), false);
  BltFast(f.BackBuffer(), 0, 0, f.Images().Menu(menuImgTitle), true);
}

// The marker beside the main menu item of the page.
void DrawMarker(TForm1& f, int32_t markerImage) {
  for (const MenuMarker& m : kMenuMarkers) {
    if (m.Image == markerImage) BltFast(f.BackBuffer(), m.X, m.Y, f.Images().Menu(m.Image), false);
  }
}

// The main menu's own command, shared by every page that shows the main menu beside it.
void MainMenuCommand(TForm1& f) {
  Menus& m = f.Widgets();
  if (!m.MainMenu.Clicked) return;
  switch (static_cast<MainMenuItem>(m.MainMenu.Index)) {
    case MainMenuItem::NewGame: f.StartNewGame(); return;
    case MainMenuItem::Options: f.GoTo(scrOptions); break;
    case MainMenuItem::HighScores: f.GoTo(scrHighScores); break;
    case MainMenuItem::Help: f.GoTo(scrHelpOverview); break;
    case MainMenuItem::MoreGames: f.Services().shell.OpenFileIfExists(f.FilePaths().Shell + "moregames.url"); break;
    case MainMenuItem::Exit:
      f.GoTo(scrExitQuestion);
      f.SaveSnapshot();
      break;
  }
  f.PlayMenuSound();
}

// The keys of a page's button row: arrows move, Enter and Space press, Escape returns to the
// main menu.
void ButtonRowKey(TForm1& f, TDDBtnCollection& buttons, uint16_t key) {
  if (key == vkUp || key == vkLeft) buttons.SelectPrev();
  if (key == vkDown || key == vkRight) buttons.SelectNext();
  if (key == vkReturn || key == vkSpace) {
    buttons.Clicked = true;
    f.ExecuteCommand();
  } else if (key == vkEscape) {
    f.GoTo(scrMainMenu);
  }
}

class IntroScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState) override {
    // The title slides in from the left, three pixels a frame, until it reaches its place.
    TForm1& f = form_;
    const int32_t titleWidth = kTitleRect.Width();
    BltFast(f.BackBuffer(), 0, 0, f.Images().Menu(menuImgBackground), false);
    DrawClipped(f.Images().Menu(menuImgTitle), f.BackBuffer(), kTitleRect, static_cast<int16_t>(offset_ - titleWidth),
                0);
    if (offset_ >= static_cast<uint32_t>(titleWidth)) {
      f.GoTo(scrMainMenu);
      offset_ = 0;
    }
    offset_ += 3;
    f.Widgets().MainMenu.Draw(f.BackBuffer());
  }
  void Key(ScreenState, uint16_t) override {}
  // Any click ends the intro.
  void Command(ScreenState) override { form_.GoTo(scrMainMenu); }
  bool YieldToExitQuestion(ScreenState) override { return false; }

 private:
  uint32_t offset_ = 0;  // how far the title has slid in
};

class MainMenuScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    if (BltFast(f.BackBuffer(), 0, 0, f.Images().Menu(menuImgBackground), false) != kBlitOk) f.RestoreSurfaces();
    BltFast(f.BackBuffer(), 0, 0, f.Images().Menu(menuImgTitle), true);
    f.Widgets().MainMenu.Draw(f.BackBuffer());
  }
  void Key(ScreenState, uint16_t key) override {
    auto& menu = form_.Widgets().MainMenu;
    if (key == vkUp || key == vkLeft) menu.SelectPrev();
    if (key == vkDown || key == vkRight) menu.SelectNext();
    if (key == vkReturn || key == vkSpace) {
      menu.Clicked = true;
      form_.ExecuteCommand();
    } else if (key == vkEscape) {
      form_.CloseRequest();
    }
  }
  void Command(ScreenState) override { MainMenuCommand(form_); }
};

// The options page, and the same page waiting for the minimise key.
class OptionsScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState screen) override {
    TForm1& f = form_;
    DrawPageBackground(f, menuImgOptionsPanel);
    if (screen == scrKeyCapture) {
      // Without pointer following: the widgets one by one.
      DrawMarker(f, menuImgOptionsMarker);
      f.Widgets().OptionsMenu.DrawWidgetsOnly(f.BackBuffer());
      return;
    }
    f.Widgets().MainMenu.Draw(f.BackBuffer());
    DrawMarker(f, menuImgOptionsMarker);
    f.Widgets().OptionsMenu.Draw(f.BackBuffer());
  }
  void Key(ScreenState screen, uint16_t key) override {
    TForm1& f = form_;
    if (screen == scrKeyCapture) {
      if (f.Widgets().TryCaptureKey(key)) f.Config().settings.MinimizeKey = key;
      return;
    }
    auto& o = f.Widgets().OptionsMenu;
    if (key == vkDown) o.MoveDown();
    if (key == vkRight) o.ChooseSecond();
    if (key == vkLeft) o.ChooseFirst();
    if (key == vkUp) o.MoveUp();
    if (key == vkReturn || key == vkSpace) o.Activate();
    // Enter on the key button has just started the wait for a key: the letter is not typed.
    if (f.Screen() == scrOptions && o.NameEdit.Focused && o.NameEdit.Editing) {
      if (IsLetter(key)) o.NameEdit.KeyInput(static_cast<char>(key));
      if (key == vkBack) o.NameEdit.KeyInput(TDDEdit::kEraseCode);
    }
    if (key == vkEscape) f.GoTo(scrMainMenu);
  }
  void Command(ScreenState screen) override {
    if (screen == scrKeyCapture) return;  // only a key ends the wait
    TForm1& f = form_;
    auto& o = f.Widgets().OptionsMenu;
    if (o.Clicked) {
      switch (o.Item()) {
        case OptionsItem::Windowed: f.SwitchDisplayMode(true); break;
        case OptionsItem::FullScreen: f.SwitchDisplayMode(false); break;
        case OptionsItem::MusicOn:
          o.MusicToggle.Checked = true;
          f.Config().settings.MusicOn = true;
          f.StartMusic("1.xm");
          break;
        case OptionsItem::MusicOff:
          o.MusicToggle.Checked = false;
          f.Config().settings.MusicOn = false;
          f.StopMusic();
          break;
        case OptionsItem::SoundOn:
          o.SoundToggle.Checked = true;
          f.SetSoundOn(true);
          break;
        case OptionsItem::SoundOff:
          o.SoundToggle.Checked = false;
          f.SetSoundOn(false);
          break;
        case OptionsItem::PlayerName: o.NameEdit.Editing = !o.NameEdit.Editing; break;
        case OptionsItem::MinimizeKey: f.Widgets().StartKeyCapture(); break;
      }
    }
    f.PlayMenuSound();
  }
  // Closing while waiting for a key gives up the wait: the key button shows the kept key again.
  bool YieldToExitQuestion(ScreenState screen) override {
    if (screen == scrKeyCapture) {
      form_.Widgets().OptionsMenu.KeyButton.Caption =
          KeyName(static_cast<uint32_t>(form_.Config().settings.MinimizeKey));
    }
    return true;
  }
};

class HighScoresScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    DrawPageBackground(f, menuImgHighScorePanel);
    f.Widgets().MainMenu.Draw(f.BackBuffer());
    DrawMarker(f, menuImgHighScoresMarker);
    f.Widgets().HighScoreButtons.Draw(f.BackBuffer());
    DrawHighScores(f.Text(), f.BackBuffer(), f.Config().highScores);
  }
  void Key(ScreenState, uint16_t key) override { ButtonRowKey(form_, form_.Widgets().HighScoreButtons, key); }
  void Command(ScreenState) override {
    TForm1& f = form_;
    auto& buttons = f.Widgets().HighScoreButtons;
    if (!buttons.Clicked) {
      MainMenuCommand(f);
      return;
    }
    const auto button = static_cast<HighScoreButton>(buttons.Index);
    if (button == HighScoreButton::Clear) {
      f.GoTo(scrClearQuestion);
      f.SaveSnapshot();
    } else if (button == HighScoreButton::WorldTable) {
      f.Services().shell.OpenLink(WorldHighScoresUrl(f.FilePaths().ScoreService));
    }
    f.PlayMenuSound();
  }
};

// The four help pages, turned with their Previous and Next buttons.
class HelpScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState screen) override {
    TForm1& f = form_;
    DrawPageBackground(f, menuImgHelpPanel);
    f.Widgets().MainMenu.Draw(f.BackBuffer());
    DrawMarker(f, menuImgHelpMarker);
    DrawPage(screen);
  }
  void Key(ScreenState, uint16_t key) override { ButtonRowKey(form_, form_.Widgets().HelpButtons, key); }
  void Command(ScreenState screen) override {
    TForm1& f = form_;
    auto& buttons = f.Widgets().HelpButtons;
    if (!buttons.Clicked) {
      MainMenuCommand(f);
      return;
    }
    const bool next = static_cast<HelpButton>(buttons.Index) == HelpButton::Next;
    ScreenState to = screen;
    if (screen == scrHelpOverview) to = next ? scrHelpNavigation : scrHelpOverview;
    if (screen == scrHelpNavigation) to = next ? scrHelpEnemies : scrHelpOverview;
    if (screen == scrHelpEnemies) to = next ? scrAbout : scrHelpNavigation;
    if (screen == scrAbout) to = next ? scrAbout : scrHelpEnemies;
    if (to == screen) return;  // no page before the first or after the last
    f.GoTo(to);
    f.PlayMenuSound();
  }

 private:
  void DrawPage(ScreenState screen) {
    TForm1& f = form_;
    Surface& target = f.BackBuffer();
    TextRenderer& text = f.Text();
    auto lines = [&](const auto& table, int32_t h, int32_t w) {
      for (const PlacedText& line : table)
        text.DrawPlainText(target, line.X, line.Y, h, w, line.Text, kNormalColour, false);
    };
    switch (screen) {
      case scrHelpOverview:
        f.Widgets().HelpButtons.Draw(target);
        text.DrawShadowText(target, 320, 170, 22, 12, "GAME OVERVIEW", kHighlightColour);
        lines(kOverviewLines, 14, 8);
        break;
      case scrHelpNavigation:
        f.Widgets().HelpButtons.Draw(target);
        text.DrawShadowText(target, 320, 170, 22, 12, "MENU NAVIGATIONS", kHighlightColour);
        lines(kMenuNavigationLines, 14, 8);
        text.DrawShadowText(target, 320, 300, 22, 12, "GAME NAVIGATIONS", kHighlightColour);
        lines(kGameNavigationLines, 14, 8);
        break;
      case scrHelpEnemies:
        f.Widgets().HelpButtons.Draw(target);
        text.DrawShadowText(target, 320, 170, 22, 12, "Enemies", kHighlightColour);
        lines(kEnemyLines, 18, 10);
        text.DrawShadowText(target, 580, 170, 22, 12, "Bonuses", kHighlightColour);
        for (const BonusLegendRow& row : kBonusLegend)
          BltFast(target, 590, row.IconY, f.Images().Game(row.GameImage), true);
        for (const BonusLegendRow& row : kBonusLegend) {
          text.DrawPlainText(target, 630, row.LabelY, 14, 8, row.Label, kNormalColour, false);
        }
        break;
      case scrAbout:
        text.DrawShadowText(target, 320, 170, 22, 12, "ABOUT", kHighlightColour);
        text.DrawShadowText(target, 460, 250, 40, 18, kAboutTitle, kHighlightColour);
        text.DrawShadowText(target, 460, 290, 22, 12, kAboutNotice1, kNormalColour);
        text.DrawShadowText(target, 460, 310, 22, 12, kAboutNotice2, kNormalColour);
        BltFast(target, kAboutX, kAboutY, f.Images().Menu(menuImgAbout), true);
        f.Widgets().HelpButtons.Draw(target);
        break;
      default: break;
    }
  }
};

}  // namespace

void AddMenuPages(TForm1& form, ScreenTable& table) {
  table.Add(std::make_unique<IntroScreen>(form), {scrIntro});
  table.Add(std::make_unique<MainMenuScreen>(form), {scrMainMenu});
  table.Add(std::make_unique<OptionsScreen>(form), {scrOptions, scrKeyCapture});
  table.Add(std::make_unique<HighScoresScreen>(form), {scrHighScores});
  table.Add(std::make_unique<HelpScreen>(form), {scrHelpOverview, scrHelpNavigation, scrHelpEnemies, scrAbout});
}

}  // namespace sf
