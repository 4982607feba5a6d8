// The 34 menu pictures. Every label is placed from the rectangle the program uses for its widget,
// and every highlight copy is cut from the very picture it will cover with its label painted by the
// same call in orange, so the copies line up pixel for pixel.
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "Art.h"
#include "CairoPicture.h"
#include "ImageSizes.h"
#include "MenuArtDraw.h"

namespace assetgen {
namespace menu {
namespace {

// Label sizes as the program sizes text: cell height and average character width (0: natural).
struct TextSize {
  int Height;
  int Width;
};
constexpr TextSize kMainText{kMainLabelHeight, 0};
constexpr TextSize kPanelText{24, 11};
constexpr TextSize kHeadingText{22, 12};  // the size of the program's own page titles

struct Pen {
  int X;
  int Y;
};

// Vertical pen position that centres the label's ink (with its shadow) in the box.
int CentredTop(const InkBox& ink, const Box& box) {
  const int inkHeight = ink.Bottom + 1 - ink.Top;
  return box.T + (box.H() - inkHeight) / 2 - ink.Top;
}

Pen RightAligned(LabelFont& font, const Item& item, TextSize size, int margin) {
  const InkBox ink = font.Ink(size.Height, size.Width, item.Label);
  return {item.Rect.R - margin - 1 - ink.Right, CentredTop(ink, item.Rect)};
}

Pen Centred(LabelFont& font, const Item& item, TextSize size) {
  const InkBox ink = font.Ink(size.Height, size.Width, item.Label);
  const int inkWidth = ink.Right + 1 - ink.Left;
  return {item.Rect.L + (item.Rect.W() - inkWidth) / 2 - ink.Left, CentredTop(ink, item.Rect)};
}

// Pen of the main-menu label i: right-aligned, 6 px from the item's right edge.
Pen MainLabelPen(LabelFont& font, int i) { return RightAligned(font, kMainItems[i], kMainText, 6); }

void PaintLabel(LabelFont& font, Picture& target, Origin origin, const char* text, Pen pen, TextSize size,
                bool highlight) {
  font.DrawShadowLabel(target, origin, pen.X, pen.Y, size.Height, size.Width, text, highlight);
}

// Runs `paint` on a Cairo surface holding `p`, whose top-left lies at `origin` on the screen;
// `paint` draws in screen coordinates.
template <typename Paint>
Picture PaintOver(const Picture& p, Origin origin, Paint&& paint) {
  cairo_surface_t* surface = ToCairo(p);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, -origin.X, -origin.Y);
  paint(cr);
  cairo_destroy(cr);
  Picture out = FromCairo(surface, false, 0);
  cairo_surface_destroy(surface);
  return out;
}

// The highlighted copy of a label: the rectangle of the picture under it with the label in orange.
// A label whose ink or shadow would stick out of its rectangle could never be covered by the
// copy, so that is a build error.
Picture CutHighlight(LabelFont& font, const Picture& under, Origin underOrigin, const Item& item, Pen pen,
                     TextSize size) {
  const InkBox ink = font.Ink(size.Height, size.Width, item.Label);
  if (pen.X + ink.Left < item.Rect.L || pen.X + ink.Right + 1 > item.Rect.R || pen.Y + ink.Top < item.Rect.T ||
      pen.Y + ink.Bottom + 1 > item.Rect.B) {
    throw std::logic_error(std::string("menu label \"") + item.Label + "\" does not fit its rectangle");
  }
  Picture copy = Crop(under, item.Rect.L - underOrigin.X, item.Rect.T - underOrigin.Y, item.Rect.W(), item.Rect.H());
  PaintLabel(font, copy, {item.Rect.L, item.Rect.T}, item.Label, pen, size, true);
  return copy;
}

enum class PanelKind { Scores, Options, Help };

constexpr Origin kPanelOrigin{kPanel.L, kPanel.T};

// The panel's steel frame and fittings over the background, without its labels.
Picture PanelBase(const Picture& background, PanelKind kind) {
  const Picture under = Crop(background, kPanel.L, kPanel.T, kPanel.W(), kPanel.H());
  return PaintOver(under, kPanelOrigin, [&](cairo_t* cr) {
    // The score heading needs the room of the panel's accent line.
    SteelPanel(cr, kPanel.L, kPanel.T, kPanel.W() - 3, kPanel.H() - 3, 8, 10, kind != PanelKind::Scores);
    const double left = kPanel.L + 18, right = kPanel.R - 21;
    switch (kind) {
      case PanelKind::Options: {
        for (const int y : {246, 294, 339, 387}) EngravedLine(cr, left, right, y);
        // Each toggle row sits on a flat track; the music and sound rows share their highlight
        // images, so the track is plain where the choices lie and identical on both rows.
        for (const Item* choices : {kDisplayChoices, kMusicChoices, kSoundChoices}) {
          const Box a = choices[0].Rect, b = choices[1].Rect;
          ChoiceTrack(cr, a.L - 6, a.T - 3, b.R + 6 - (a.L - 6), a.H() + 5, (a.R + b.L) / 2);
        }
        NameWell(cr, kNameField.L, kNameField.T, kNameField.W(), kNameField.H(), false);
        // A key cap behind the minimise key's caption.
        RoundedRect(cr, kKeyButton.L - 6, kKeyButton.T + 1, 124, kKeyButton.H() + 1, 5);
        SetRgb(cr, 0x8996A0, 0.55);
        cairo_fill(cr);
        ButtonPlate(cr, kKeyButton.L - 6, kKeyButton.T, 123, kKeyButton.H());
        break;
      }
      case PanelKind::Scores: {
        for (int i = 0; i < 10; ++i) {
          const double y = kScoreRowTop + kScoreRowStep * i;
          RoundedRect(cr, left - 4, y, right - left + 8, kScoreRowHeight, 4);
          SetRgb(cr, i == 0 ? 0x003399 : (i % 2 ? 0x7C8A95 : 0xFFFFFF), i == 0 ? 0.10 : (i % 2 ? 0.10 : 0.45));
          cairo_fill(cr);
        }
        EngravedLine(cr, left, right, 458);
        for (const Item& b : kScoreButtons) ButtonPlate(cr, b.Rect.L, b.Rect.T, b.Rect.W(), b.Rect.H());
        break;
      }
      case PanelKind::Help: {
        EngravedLine(cr, left, right, 458);
        for (const Item& b : kHelpButtons) ButtonPlate(cr, b.Rect.L, b.Rect.T, b.Rect.W(), b.Rect.H());
        break;
      }
    }
  });
}

// Pen of a row caption: left column at x 320, on the same line as the row's choices.
Pen RowCaptionPen(LabelFont& font, const Item& firstChoice) { return {320, Centred(font, firstChoice, kPanelText).Y}; }

struct Built {
  std::array<Picture, 34> Images;
};

Built BuildAll() {
  LabelFont font;
  Built out;
  auto& img = out.Images;

  // Background and the main menu's highlight copies.
  const Picture scene = DrawScene();
  Picture background = scene;
  for (int i = 0; i < 6; ++i) {
    const Pen pen = MainLabelPen(font, i);
    PaintLabel(font, background, {}, kMainItems[i].Label, pen, kMainText, false);
    img[static_cast<size_t>(kMainItems[i].Image)] = CutHighlight(font, scene, {}, kMainItems[i], pen, kMainText);
  }
  img[0] = background;

  // Markers: a torpedo running at the label of the open page, cut from the composed background.
  const InkBox cap = font.Ink(kMainText.Height, kMainText.Width, "H");
  for (const Marker& m : kMarkers) {
    const Size s = kMenuImageSizes[static_cast<size_t>(m.Image)];
    const Pen pen = MainLabelPen(font, m.MainMenuItem);
    const double centre = std::clamp(pen.Y + (cap.Top + cap.Bottom) / 2.0, m.Y + 9.0, m.Y + s.Height - 9.0);
    img[static_cast<size_t>(m.Image)] =
        PaintOver(Crop(background, m.X, m.Y, s.Width, s.Height), {m.X, m.Y},
                  [&](cairo_t* cr) { Torpedo(cr, m.X + 2, m.X + s.Width - 5, std::floor(centre) + 0.5); });
  }

  // Options panel: row captions and both choices of every toggle in dark blue.
  {
    const Picture base = PanelBase(background, PanelKind::Options);
    Picture panel = base;
    PaintLabel(font, panel, kPanelOrigin, "OPTIONS", {320, 170}, kHeadingText, true);
    struct Row {
      const char* Caption;
      const Item* Choices;
    };
    const Row rows[3] = {{"Display", kDisplayChoices}, {"Music", kMusicChoices}, {"Sound", kSoundChoices}};
    for (const Row& row : rows) {
      const Pen caption = RowCaptionPen(font, row.Choices[0]);
      PaintLabel(font, panel, kPanelOrigin, row.Caption, caption, kPanelText, false);
      for (int c = 0; c < 2; ++c) {
        const Item& choice = row.Choices[c];
        const Pen pen = Centred(font, choice, kPanelText);
        PaintLabel(font, panel, kPanelOrigin, choice.Label, pen, kPanelText, false);
        img[static_cast<size_t>(choice.Image)] = CutHighlight(font, base, kPanelOrigin, choice, pen, kPanelText);
      }
    }
    // Name and minimise key captions share the baseline of the text the program writes there.
    const int programBaseline = font.Ascent(kProgramCaptionHeight);
    const int ownAscent = font.Ascent(kPanelText.Height);
    PaintLabel(font, panel, kPanelOrigin, "Name", {320, kNameTextTop + programBaseline - ownAscent}, kPanelText, false);
    PaintLabel(font, panel, kPanelOrigin, "Minimize key", {320, kKeyCaptionTop + programBaseline - ownAscent},
               kPanelText, false);
    img[13] = panel;
  }

  // High-score panel: heading, column captions and both buttons.
  {
    const Picture base = PanelBase(background, PanelKind::Scores);
    Picture panel = base;
    // The heading's ink ends above the first row.
    const InkBox ink = font.Ink(kHeadingText.Height, kHeadingText.Width, "HIGH SCORES");
    PaintLabel(font, panel, kPanelOrigin, "HIGH SCORES", {320, kScoreRowTop - 3 - ink.Bottom}, kHeadingText, true);
    for (const Item& b : kScoreButtons) {
      const Pen pen = Centred(font, b, kPanelText);
      PaintLabel(font, panel, kPanelOrigin, b.Label, pen, kPanelText, false);
      img[static_cast<size_t>(b.Image)] = CutHighlight(font, base, kPanelOrigin, b, pen, kPanelText);
    }
    img[10] = panel;
  }

  // Help panel: plain, the program writes the pages; only the two buttons are painted.
  {
    const Picture base = PanelBase(background, PanelKind::Help);
    Picture panel = base;
    for (const Item& b : kHelpButtons) {
      const Pen pen = Centred(font, b, kPanelText);
      PaintLabel(font, panel, kPanelOrigin, b.Label, pen, kPanelText, false);
      img[static_cast<size_t>(b.Image)] = CutHighlight(font, base, kPanelOrigin, b, pen, kPanelText);
    }
    img[14] = panel;
  }

  // Name-field focus: drawn on the options panel and inside the name-entry dialog.
  {
    const Size s = kMenuImageSizes[9];
    img[9] = PaintOver(Picture(s.Width, s.Height, kPanelMid), {},
                       [&](cairo_t* cr) { NameWell(cr, 0, 0, s.Width, s.Height, true); });
  }

  // Dialog box: a steel frame round a plain pale middle; drawn over many pictures, so it is square.
  {
    const Size s = kMenuImageSizes[19];
    img[19] = PaintOver(Picture(s.Width, s.Height, 0x5B6770), {},
                        [&](cairo_t* cr) { SteelPanel(cr, 0, 0, s.Width, s.Height, 10, 3); });
  }

  img[20] = DrawEmblem();
  img[21] = Picture(800, 1, 0x000814);
  img[29] = DrawTitle(font);
  for (const int k : {22, 26, 27, 28, 30, 31, 32, 33}) {
    const Size s = kMenuImageSizes[static_cast<size_t>(k)];
    img[static_cast<size_t>(k)] = Picture(s.Width, s.Height, 0x5B6770);
  }
  return out;
}

const Built& AllMenuImages() {
  static const Built built = BuildAll();
  return built;
}

}  // namespace
}  // namespace menu

Picture MakeMenuImage(int k) {
  Picture p = menu::AllMenuImages().Images.at(static_cast<size_t>(k));
  if (!MenuImageKeyed(k)) {
    for (uint32_t& v : p.Pixels) {
      if (v == kKey) v = 0xFE00FE;  // opaque pictures never show through
    }
  }
  return p;
}

}  // namespace assetgen
