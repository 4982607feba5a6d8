// The game theme: a driving E minor piece at 140 BPM. Rock drums, an eighth-note saw bass with
// octave jumps, syncopated brass stabs split left and right, a square lead that is later doubled
// a third below, and plucked arpeggios with an echo. Twelve 64-row patterns of about 6.9 s.
#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "MusicArtInstruments.h"
#include "MusicArtScore.h"
#include "MusicArtThemes.h"

namespace assetgen::music {

namespace {

enum Channel { kDrums, kHats, kCymbal, kBass, kStabLeft, kStabRight, kLead, kHarmony, kArp, kArpEcho, kChannels };
enum Instrument : uint8_t {
  kInsKick = 1,
  kInsSnare,
  kInsClosedHat,
  kInsOpenHat,
  kInsCrash,
  kInsBass,
  kInsStab,
  kInsLead,
  kInsPluck
};

constexpr int kBpm = 140;
constexpr int kBar = 16;

struct Chord {
  std::array<const char*, 2> Stab;  // left and right stab notes
  const char* Root;
  const char* Octave;
  std::array<const char*, 4> Arp;
};

const Chord kEm{{"G4", "B4"}, "E2", "E3", {"E4", "G4", "B4", "E5"}};
const Chord kC{{"G4", "C5"}, "C2", "C3", {"C4", "E4", "G4", "C5"}};
const Chord kG{{"G4", "B4"}, "G1", "G2", {"D4", "G4", "B4", "D5"}};
const Chord kD{{"F#4", "A4"}, "D2", "D3", {"D4", "F#4", "A4", "D5"}};
const Chord kB{{"F#4", "B4"}, "B1", "B2", {"D#4", "F#4", "B4", "D#5"}};
const Chord kAm{{"A4", "C5"}, "A1", "A2", {"C4", "E4", "A4", "C5"}};

using Progression = std::array<const Chord*, 4>;
const Progression kVerse{&kEm, &kC, &kG, &kD};
const Progression kVerseTurn{&kEm, &kC, &kD, &kB};
const Progression kChorus{&kAm, &kEm, &kC, &kD};
const Progression kChorusTurn{&kAm, &kC, &kB, &kB};

const char* const kLeadVerse =
    "E5:4 G5:2 A5:2 B5:6 A5:2  G5:4 E5:4 G5:4 A5:4  B5:4 D6:2 B5:2 A5:4 G5:4  A5:8 F#5:4 D5:4";
const char* const kLeadVerseTurn =
    "E5:4 G5:2 A5:2 B5:6 A5:2  G5:2 A5:2 B5:2 C6:2 B5:4 G5:4  A5:4 F#5:4 D5:4 F#5:4  D#5:8 F#5:4 B5:4";
const char* const kLeadChorus = "C6:6 B5:2 A5:4 E5:4  G5:6 F#5:2 E5:4 B4:4  C5:4 E5:4 G5:4 C6:4  A5:6 F#5:2 D5:8";
const char* const kLeadChorusTurn =
    "E5:2 A5:2 C6:2 E6:2 D6:4 C6:4  B5:4 C6:2 B5:2 G5:8  F#5:4 D#5:4 F#5:4 A5:4  B5:12 r:4";

enum class Part { Intro, Full, Break, Build };

struct Section {
  const Progression* Chords;
  Part Kind;
  const char* Lead;  // nullptr: no lead
  bool Harmony;      // the lead doubled a third below
  bool Arpeggio;
};

const Section kSections[] = {
    {&kVerse, Part::Intro, nullptr, false, false},    {&kVerse, Part::Full, nullptr, false, false},
    {&kVerse, Part::Full, kLeadVerse, false, false},  {&kVerseTurn, Part::Full, kLeadVerseTurn, false, false},
    {&kChorus, Part::Full, kLeadChorus, false, true}, {&kChorusTurn, Part::Full, kLeadChorusTurn, false, true},
    {&kVerse, Part::Break, nullptr, false, true},     {&kVerseTurn, Part::Build, nullptr, false, true},
    {&kVerse, Part::Full, kLeadVerse, true, false},   {&kVerseTurn, Part::Full, kLeadVerseTurn, true, false},
    {&kChorus, Part::Full, kLeadChorus, true, true},  {&kChorusTurn, Part::Full, kLeadChorusTurn, true, true},
};

std::string Token(const std::string& note, int rows) { return note + ":" + std::to_string(rows) + " "; }

// The note a diatonic third below in E minor; notes outside the scale (the D# of the B major
// chord) take a major third.
std::string ThirdBelow(const std::string& name) {
  static constexpr int kScale[7] = {4, 6, 7, 9, 11, 0, 2};  // E F# G A B C D
  const int note = NoteNumber(name);
  const int pc = (note - 1) % 12;
  for (int i = 0; i < 7; ++i) {
    if (kScale[i] == pc) {
      const int target = kScale[(i + 5) % 7];
      return NoteName(static_cast<uint8_t>(note - (pc - target + 12) % 12));
    }
  }
  return NoteName(static_cast<uint8_t>(note - 4));
}

std::string Harmonise(const std::string& phrase) {
  std::string out;
  size_t i = 0;
  while (i < phrase.size()) {
    while (i < phrase.size() && phrase[i] == ' ') ++i;
    const size_t end = std::min(phrase.find(' ', i), phrase.size());
    if (end == i) break;
    const std::string token = phrase.substr(i, end - i);
    const size_t colon = token.find(':');
    const std::string pitch = token.substr(0, colon);
    out += (pitch == "r" || pitch == "-" ? pitch : ThirdBelow(pitch)) + token.substr(colon) + " ";
    i = end;
  }
  return out;
}

std::string BassBar(const Chord& c, Part kind) {
  std::string bar;
  switch (kind) {
    case Part::Intro:
      for (int k = 0; k < 8; ++k) bar += Token(c.Root, 2);
      break;
    case Part::Break: bar = Token(c.Root, 14) + Token(c.Octave, 2); break;
    case Part::Full:
    case Part::Build:
      for (int k = 0; k < 8; ++k) bar += Token(k % 4 == 2 ? c.Octave : c.Root, 2);
      break;
  }
  return bar;
}

std::string StabBar(const char* note, Part kind) {
  const std::string n = note;
  if (kind == Part::Break) return Token(n, 16);
  // Hits on rows 0, 3, 6, 10 and 12: the 3-3-4-2 push under a straight beat.
  return Token(n, 2) + "r:1 " + Token(n, 2) + "r:1 " + Token(n, 3) + "r:1 " + Token(n, 2) + Token(n, 2) + "r:2";
}

std::string ArpBar(const Chord& c) {
  static constexpr size_t kOrder[16] = {0, 1, 2, 3, 1, 2, 3, 2, 0, 1, 2, 3, 2, 3, 2, 1};
  std::string bar;
  for (size_t i : kOrder) bar += Token(c.Arp[i], 1);
  return bar;
}

struct DrumBar {
  const char* Drums;
  const char* Hats;
};

DrumBar DrumsFor(Part kind, int bar, bool lastSection) {
  switch (kind) {
    case Part::Intro: return {"k...k...k...k...", bar < 2 ? "................" : "h.h.h.h.h.h.h.o."};
    case Part::Break: return {bar == 3 ? "k.......s...s.s." : "k.......k.......", "..h...h...h...h."};
    case Part::Build:
      return {bar == 3 ? "s.s.s.s.ssssSSSS" : "k...s...k.k.s...", bar == 3 ? "h.h.h.h........." : "H.h.H.h.H.h.H.o."};
    case Part::Full: break;
  }
  if (bar == 3) return {lastSection ? "k...s...s.s.sSSS" : "k...s...k.k.s.ss", "H.h.H.h.H.h.H.o."};
  return {"k...s...k.k.s...", "H.h.H.h.H.h.H.o."};
}

}  // namespace

xm::Module ComposeGameTheme() {
  const double tps = kBpm / 2.5;
  xm::Module m;
  m.Name = "Salt Fang - Broadside";
  m.Speed = 6;
  m.Bpm = kBpm;
  m.Instruments = {Kick(),       Snare(),        ClosedHat(),     OpenHat(), Crash(),
                   SawBass(tps), BrassStab(tps), SquareLead(tps), Pluck(tps)};

  const int sections = static_cast<int>(std::size(kSections));
  Score score(kChannels, sections);
  score.SetPanning(kHats, 0xA0);
  score.SetPanning(kCymbal, 0x60);
  score.SetPanning(kStabLeft, 0x48);
  score.SetPanning(kStabRight, 0xB8);
  score.SetPanning(kLead, 0x90);
  score.SetPanning(kHarmony, 0x58);
  score.SetPanning(kArp, 0x40);
  score.SetPanning(kArpEcho, 0xC0);
  const std::vector<DrumKey> drumKeys = {{'k', kInsKick, 52, 60}, {'s', kInsSnare, 40, 52}};
  const std::vector<DrumKey> hatKeys = {{'h', kInsClosedHat, 28, 36}, {'o', kInsOpenHat, 30, 36}};
  const std::vector<DrumKey> cymbalKeys = {{'c', kInsCrash, 30, 40}};

  for (int s = 0; s < sections; ++s) {
    const Section& sec = kSections[s];
    const int start = s * score.RowsPerPattern();
    for (int bar = 0; bar < 4; ++bar) {
      const Chord& chord = *(*sec.Chords)[static_cast<size_t>(bar)];
      const int row = start + bar * kBar;
      score.Line(kBass, row, BassBar(chord, sec.Kind), kInsBass, 38);
      if (sec.Kind != Part::Intro) {
        const int stabVolume = sec.Kind == Part::Break ? 24 : 30;
        score.Line(kStabLeft, row, StabBar(chord.Stab[0], sec.Kind), kInsStab, stabVolume);
        score.Line(kStabRight, row, StabBar(chord.Stab[1], sec.Kind), kInsStab, stabVolume);
      }
      if (sec.Arpeggio) score.Line(kArp, row, ArpBar(chord), kInsPluck, sec.Lead ? 16 : 24);
      const DrumBar drums = DrumsFor(sec.Kind, bar, s == sections - 1);
      score.Hits(kDrums, row, drums.Drums, drumKeys);
      score.Hits(kHats, row, drums.Hats, hatKeys);
    }
    if (sec.Kind == Part::Full && (s == 1 || kSections[s - 1].Kind != Part::Full || s % 2 == 0)) {
      score.Hits(kCymbal, start, "c", cymbalKeys);
    }
    if (sec.Lead) {
      if (score.Line(kLead, start, sec.Lead, kInsLead, 48) != start + score.RowsPerPattern()) {
        throw std::logic_error("game lead does not fill its section");
      }
      if (sec.Harmony) score.Line(kHarmony, start, Harmonise(sec.Lead), kInsLead, 28);
    }
  }
  score.Echo(kArp, kArpEcho, 3, 0.55, 24);
  for (int ch = kBass; ch <= kArpEcho; ++ch) score.ReleaseAtStart(ch);
  score.WriteInto(m);
  return m;
}

}  // namespace assetgen::music
