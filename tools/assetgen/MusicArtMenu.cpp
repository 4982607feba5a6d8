// The menu theme: a slow D minor piece at 80 BPM. A swelling pad spread over three channels,
// celesta arpeggios and a flute melody, each answered by a quieter echo on the other side of the
// stereo field, over a round bass and light brushed percussion. Eight 64-row patterns of 12 s.
#include <array>
#include <stdexcept>
#include <string>

#include "MusicArtInstruments.h"
#include "MusicArtScore.h"
#include "MusicArtThemes.h"

namespace assetgen::music {

namespace {

// Each pad voice has two channels and changes chord by starting the new note on the other one
// while the old note is released, so the chords cross-fade instead of cutting.
enum Channel {
  kBass,
  kPadLow,
  kPadMid,
  kPadHigh,
  kPadLow2,
  kPadMid2,
  kPadHigh2,
  kArp,
  kArpEcho,
  kLead,
  kLeadEcho,
  kKick,
  kBrush,
  kShaker,
  kChannels
};
enum Instrument : uint8_t { kInsBass = 1, kInsPad, kInsCelesta, kInsFlute, kInsKick, kInsBrush, kInsShaker };

constexpr int kBpm = 80;
constexpr int kBar = 16;  // rows per bar: one row is a sixteenth note

struct Chord {
  std::array<const char*, 3> Pad;  // one note per pad channel, low to high
  const char* Root;
  const char* Fifth;
  std::array<const char*, 4> Arp;  // chord tones, low to high
};

const Chord kDm{{"D4", "F4", "A4"}, "D2", "A2", {"A4", "D5", "F5", "A5"}};
const Chord kBb{{"D4", "F4", "Bb4"}, "Bb1", "F2", {"Bb4", "D5", "F5", "Bb5"}};
const Chord kF{{"C4", "F4", "A4"}, "F2", "C3", {"A4", "C5", "F5", "A5"}};
const Chord kC{{"C4", "E4", "G4"}, "C2", "G2", {"G4", "C5", "E5", "G5"}};
const Chord kGm{{"D4", "G4", "Bb4"}, "G1", "D2", {"G4", "Bb4", "D5", "G5"}};
const Chord kA{{"C#4", "E4", "A4"}, "A1", "E2", {"A4", "C#5", "E5", "A5"}};
const Chord kAm{{"C4", "E4", "A4"}, "A1", "E2", {"A4", "C5", "E5", "A5"}};

using Progression = std::array<const Chord*, 4>;  // one chord per bar
const Progression kVerse{&kDm, &kBb, &kF, &kC};
const Progression kVerseTurn{&kDm, &kBb, &kGm, &kA};
const Progression kBridge{&kBb, &kC, &kAm, &kDm};
const Progression kBridgeTurn{&kGm, &kC, &kF, &kA};

const char* const kMelodyVerse = "A4:3 D5:1 D5:4 E5:4 F5:4  F5:6 G5:2 F5:4 D5:4  C5:6 D5:2 C5:4 A4:4  G4:8 E4:4 r:4";
const char* const kMelodyVerseTurn = "A4:3 D5:1 D5:4 E5:4 F5:4  G5:6 F5:2 D5:4 F5:4  D5:4 Bb4:4 G4:4 Bb4:4  A4:12 r:4";
const char* const kMelodyBridge = "D5:4 F5:4 Bb5:6 A5:2  G5:8 E5:4 C5:4  E5:4 A5:4 C6:6 B5:2  A5:12 r:4";
const char* const kMelodyBridgeTurn = "Bb5:6 A5:2 G5:4 D5:4  E5:6 F5:2 G5:4 C5:4  A5:6 G5:2 F5:4 C5:4  E5:6 D5:2 C#5:8";

enum class Bass { None, Held, Walking };
enum class Arp { None, Eighths, Sixteenths };
enum class Drums { None, Light, Groove, Closing };

struct Section {
  const Progression* Chords;
  const char* Melody;  // nullptr: no melody
  Bass BassStyle;
  Arp ArpStyle;
  Drums DrumStyle;
};

const Section kSections[] = {
    {&kVerse, nullptr, Bass::None, Arp::Eighths, Drums::None},
    {&kVerseTurn, nullptr, Bass::Held, Arp::Eighths, Drums::Light},
    {&kVerse, kMelodyVerse, Bass::Walking, Arp::Eighths, Drums::Groove},
    {&kVerseTurn, kMelodyVerseTurn, Bass::Walking, Arp::Eighths, Drums::Groove},
    {&kBridge, kMelodyBridge, Bass::Walking, Arp::Sixteenths, Drums::Groove},
    {&kBridgeTurn, kMelodyBridgeTurn, Bass::Walking, Arp::Sixteenths, Drums::Groove},
    {&kVerse, kMelodyVerse, Bass::Walking, Arp::Sixteenths, Drums::Groove},
    {&kVerseTurn, kMelodyVerseTurn, Bass::Held, Arp::Eighths, Drums::Closing},
};

std::string Token(const char* note, int rows) { return std::string(note) + ":" + std::to_string(rows) + " "; }

std::string ArpBar(const Chord& c, Arp style) {
  static constexpr size_t kEighths[8] = {0, 1, 2, 3, 2, 1, 2, 1};
  static constexpr size_t kSixteenths[16] = {0, 1, 2, 3, 1, 2, 3, 2, 0, 1, 2, 3, 2, 3, 2, 1};
  std::string bar;
  if (style == Arp::Eighths) {
    for (size_t i : kEighths) bar += Token(c.Arp[i], 2);
  } else {
    for (size_t i : kSixteenths) bar += Token(c.Arp[i], 1);
  }
  return bar;
}

std::string BassBar(const Chord& c, Bass style) {
  if (style == Bass::Held) return Token(c.Root, 16);
  return Token(c.Root, 10) + Token(c.Root, 2) + Token(c.Fifth, 4);
}

struct DrumBar {
  const char* Drums;
  const char* Shaker;
};

// The hits of one drum from a grid of several, so each drum rings on its own channel.
std::string Only(const char* grid, char symbol) {
  std::string hits = grid;
  for (char& c : hits) {
    if (c != symbol && c != symbol - 'a' + 'A') c = '.';
  }
  return hits;
}

DrumBar DrumsFor(Drums style, int bar) {
  switch (style) {
    case Drums::None: return {"................", "................"};
    case Drums::Light: return {"k...............", bar < 2 ? "................" : "..h...h...h...h."};
    case Drums::Groove: return {bar == 3 ? "k.......s.....k." : "k.......s.......", "h.H.h.H.h.H.h.H."};
    case Drums::Closing:
      return {bar == 3 ? "k..............." : "k.......s.......", bar == 3 ? "................" : "h.H.h.H.h.H.h.H."};
  }
  return {"", ""};
}

}  // namespace

xm::Module ComposeMenuTheme() {
  const double tps = kBpm / 2.5;
  xm::Module m;
  m.Name = "Salt Fang - Harbour";
  m.Speed = 6;
  m.Bpm = kBpm;
  m.Instruments = {SoftBass(tps), WarmPad(tps), Celesta(tps), Flute(tps), SoftKick(), BrushSnare(), Shaker()};

  const int sections = static_cast<int>(std::size(kSections));
  Score score(kChannels, sections);
  score.SetPanning(kPadLow, 0x40);
  score.SetPanning(kPadHigh, 0xC0);
  score.SetPanning(kPadLow2, 0x40);
  score.SetPanning(kPadHigh2, 0xC0);
  score.SetPanning(kArp, 0x60);
  score.SetPanning(kArpEcho, 0xC8);
  score.SetPanning(kLead, 0x98);
  score.SetPanning(kLeadEcho, 0x38);
  score.SetPanning(kShaker, 0xA0);
  const std::vector<DrumKey> drumKeys = {{'k', kInsKick, 40, 48}, {'s', kInsBrush, 40, 48}};
  const std::vector<DrumKey> shakerKeys = {{'h', kInsShaker, 16, 24}};

  std::array<const char*, 3> lastPad{};
  std::array<int, 3> padSide{};
  for (int s = 0; s < sections; ++s) {
    const Section& sec = kSections[s];
    const int start = s * score.RowsPerPattern();
    for (int bar = 0; bar < 4; ++bar) {
      const Chord& chord = *(*sec.Chords)[static_cast<size_t>(bar)];
      const int row = start + bar * kBar;
      for (size_t v = 0; v < 3; ++v) {
        if (lastPad[v] && std::string(lastPad[v]) == chord.Pad[v]) continue;  // held over the bar line
        const int sounding = kPadLow + static_cast<int>(v) + 3 * padSide[v];
        if (lastPad[v]) {
          score.At(row, sounding) = xm::Cell{xm::kKeyOff};
          padSide[v] ^= 1;
        }
        score.Line(kPadLow + static_cast<int>(v) + 3 * padSide[v], row, Token(chord.Pad[v], 16), kInsPad, 30);
        lastPad[v] = chord.Pad[v];
      }
      if (sec.BassStyle != Bass::None) score.Line(kBass, row, BassBar(chord, sec.BassStyle), kInsBass, 46);
      if (sec.ArpStyle != Arp::None) {
        score.Line(kArp, row, ArpBar(chord, sec.ArpStyle), kInsCelesta, sec.ArpStyle == Arp::Eighths ? 26 : 20);
        score.At(row, kArp).Volume = xm::VolumeColumn(sec.ArpStyle == Arp::Eighths ? 32 : 26);
      }
      const DrumBar drums = DrumsFor(sec.DrumStyle, bar);
      score.Hits(kKick, row, Only(drums.Drums, 'k'), drumKeys);
      score.Hits(kBrush, row, Only(drums.Drums, 's'), drumKeys);
      score.Hits(kShaker, row, drums.Shaker, shakerKeys);
    }
    if (sec.Melody && score.Line(kLead, start, sec.Melody, kInsFlute, 40) != start + score.RowsPerPattern()) {
      throw std::logic_error("menu melody does not fill its section");
    }
  }
  score.Echo(kArp, kArpEcho, 3, 0.5, 26);
  score.Echo(kLead, kLeadEcho, 3, 0.45, 40);
  for (int ch = kBass; ch <= kLeadEcho; ++ch) score.ReleaseAtStart(ch);
  score.WriteInto(m);
  return m;
}

}  // namespace assetgen::music
