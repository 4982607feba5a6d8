// The ten sound effects, synthesised from oscillators, seeded noise, envelopes, pitch sweeps and
// filters. Each effect renders at its own rate and exact length, is freed of DC, normalised to its
// own peak level and written as an 8-bit mono WAVE file.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "Art.h"
#include "Synth.h"
#include "SynthWave.h"

namespace assetgen {

const char* const kSoundNames[10] = {"CheckMenu", "Win",  "Loose", "Shot", "Snarad",
                                     "Bomba",     "Expl", "Vert",  "Hit",  "Bonus"};

namespace {

using synth::AttackDecay;
using synth::Biquad;
using synth::kTwoPi;
using synth::LowPass1;
using synth::Noise;
using synth::Oscillator;
using Samples = std::vector<double>;

// A sustained, filtered voice for the melodic effects (fanfare, defeat phrase).
struct VoiceStyle {
  Oscillator::Shape Shape = Oscillator::Shape::Saw;
  double Duty = 0.5;
  double DetuneCents = 0;  // second oscillator, for a fuller tone
  double CutoffLow = 2;    // filter cutoff as a multiple of the note's frequency ...
  double CutoffHigh = 6;   // ... opening to this at the attack
  double FilterAttack = 0.02;
  double FilterTau = 0.15;
  double Q = 0.9;
  double VibratoHz = 0, VibratoSemis = 0, VibratoDelay = 0.15;
  double Attack = 0.012, Release = 0.04;
};

// Adds one note starting at `start` seconds, held `length` seconds, bent linearly by `bend`
// semitones over its length.
void AddNote(Samples& out, double rate, double start, double length, double note, double level, const VoiceStyle& v,
             double bend = 0) {
  Oscillator a(v.Shape, v.Duty), b(v.Shape, v.Duty);
  Biquad filter(Biquad::Kind::LowPass);
  const auto first = static_cast<size_t>(start * rate);
  const auto count = static_cast<size_t>((length + v.Release) * rate);
  for (size_t i = 0; i < count && first + i < out.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    double pitch = note + bend * std::min(t / length, 1.0);
    if (v.VibratoHz > 0 && t > v.VibratoDelay) {
      const double depth = v.VibratoSemis * std::min((t - v.VibratoDelay) / 0.15, 1.0);
      pitch += depth * std::sin(kTwoPi * v.VibratoHz * (t - v.VibratoDelay));
    }
    const double hz = synth::NoteHz(pitch);
    double s = a.Next(hz, rate);
    if (v.DetuneCents != 0) s = 0.5 * (s + b.Next(hz * std::pow(2.0, v.DetuneCents / 1200), rate));
    const double open = AttackDecay(t, v.FilterAttack, v.FilterTau);
    const double cutoff = std::min(hz * (v.CutoffLow + (v.CutoffHigh - v.CutoffLow) * open), rate * 0.42);
    s = filter.Process(s, cutoff, v.Q, rate);
    double env = std::min(t / v.Attack, 1.0);
    if (t > length) env *= std::max(0.0, 1 - (t - length) / v.Release);
    out[first + i] += level * env * s;
  }
}

// A soft tick: two damped resonances and a breath of filtered noise, eased in so it never snaps.
Samples CheckMenu(size_t n, double rate) {
  Samples s(n);
  Noise noise(0x5EED0001);
  LowPass1 lp;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    double v = 0.8 * std::sin(kTwoPi * 1650 * t) * std::exp(-t / 0.012);
    v += 0.35 * std::sin(kTwoPi * 2900 * t) * std::exp(-t / 0.005);
    v += 0.3 * std::sin(kTwoPi * 720 * t) * std::exp(-t / 0.02);
    v += 0.5 * lp.Process(noise.White(), 3500, rate) * std::exp(-t / 0.003);
    s[i] = v * std::min(t / 0.001, 1.0);
  }
  return s;
}

// A short rising brass fanfare ending on a held, vibrato C major chord.
Samples Win(size_t n, double rate) {
  Samples s(n);
  VoiceStyle brass;
  brass.DetuneCents = 7;
  brass.CutoffLow = 2.5;
  brass.CutoffHigh = 7;
  brass.FilterAttack = 0.03;
  brass.FilterTau = 0.25;
  brass.VibratoHz = 5.5;
  brass.VibratoSemis = 0.12;
  brass.VibratoDelay = 0.25;
  const struct {
    double Start, Length, Note;
  } steps[] = {{0.00, 0.12, 67}, {0.13, 0.12, 72}, {0.26, 0.12, 76}, {0.39, 0.20, 79}, {0.61, 0.09, 76}};
  for (const auto& st : steps) AddNote(s, rate, st.Start, st.Length, st.Note, 0.6, brass);
  const double hold = 1.76 - 0.72 - 0.32;
  brass.Release = 0.3;
  AddNote(s, rate, 0.72, hold, 84, 0.55, brass);
  AddNote(s, rate, 0.72, hold, 79, 0.4, brass);
  AddNote(s, rate, 0.72, hold, 76, 0.35, brass);
  AddNote(s, rate, 0.72, hold, 72, 0.3, brass);
  return s;
}

// Four muted-trumpet notes stepping down by semitones, the last one sagging with a slow vibrato.
Samples Loose(size_t n, double rate) {
  Samples s(n);
  VoiceStyle horn;
  horn.Shape = Oscillator::Shape::Square;
  horn.Duty = 0.4;
  horn.DetuneCents = 5;
  horn.CutoffLow = 1.5;
  horn.CutoffHigh = 5;
  horn.FilterAttack = 0.08;
  horn.FilterTau = 0.18;
  horn.Q = 2.0;  // the resonant sweep gives the "wah"
  horn.Release = 0.05;
  AddNote(s, rate, 0.00, 0.30, 67, 0.5, horn);
  AddNote(s, rate, 0.36, 0.30, 66, 0.5, horn);
  AddNote(s, rate, 0.72, 0.30, 65, 0.5, horn);
  horn.VibratoHz = 5;
  horn.VibratoSemis = 0.35;
  horn.VibratoDelay = 0.2;
  horn.FilterTau = 0.4;
  horn.Release = 0.12;
  AddNote(s, rate, 1.08, 0.52, 64, 0.55, horn, -1.0);
  return s;
}

// A dry crack: a band of noise that dies in a few milliseconds over a falling square pop.
Samples Shot(size_t n, double rate) {
  Samples s(n);
  Noise noise(0x5EED0003);
  Biquad band(Biquad::Kind::BandPass);
  Oscillator pop(Oscillator::Shape::Square);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double w = noise.White();
    double v = (0.6 * w + 1.4 * band.Process(w, 1800, 0.8, rate)) * std::exp(-t / 0.011);
    v += 0.45 * pop.Next(120 + 480 * std::exp(-t / 0.012), rate) * std::exp(-t / 0.018);
    s[i] = synth::SoftClip(1.6 * v);
  }
  return s;
}

// A cannon's thump: a sine dropping to a low boom, a muffled blast and a short smoky tail.
Samples Snarad(size_t n, double rate) {
  Samples s(n);
  Noise noise(0x5EED0004);
  LowPass1 blast, tail;
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    phase += (45 + 110 * std::exp(-t / 0.04)) / rate;
    double v = std::sin(kTwoPi * phase) * AttackDecay(t, 0.002, 0.12);
    v += 0.7 * blast.Process(noise.White(), 200 + 2500 * std::exp(-t / 0.03), rate) * std::exp(-t / 0.05);
    v += 0.5 * tail.Process(noise.Brown(), 300, rate) * std::exp(-t / 0.15);
    s[i] = synth::SoftClip(1.5 * v);
  }
  synth::FadeOut(s, static_cast<size_t>(0.08 * rate));
  return s;
}

// A bomb: a heavier, noisier blast than the cannon's, with crackle over a sub-bass drop.
Samples Bomba(size_t n, double rate) {
  Samples s(n);
  Noise noise(0x5EED0005);
  Noise crackle(0x5EED0105);
  LowPass1 body, sparks;
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    phase += (30 + 40 * std::exp(-t / 0.08)) / rate;
    double v = 0.8 * std::sin(kTwoPi * phase) * AttackDecay(t, 0.004, 0.16);
    v += 1.2 * body.Process(noise.White(), 150 + 3000 * std::exp(-t / 0.06), rate) * AttackDecay(t, 0.004, 0.14);
    const double c = crackle.White();
    const double pop = std::abs(c) > 0.985 ? c : 0.0;
    v += 0.8 * sparks.Process(pop, 2000, rate) * std::exp(-t / 0.12);
    s[i] = synth::SoftClip(1.8 * v);
  }
  synth::FadeOut(s, static_cast<size_t>(0.1 * rate));
  return s;
}

// An explosion: a bright burst, then low noise that rumbles unevenly as it fades.
Samples Expl(size_t n, double rate) {
  Samples s(n);
  Noise noise(0x5EED0006);
  Noise wobble(0x5EED0106);
  LowPass1 body, rumble, lfo;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double w = noise.White();
    double v = 0.6 * w * std::exp(-t / 0.035);
    v += 1.0 * body.Process(w, 150 + 3000 * std::exp(-t / 0.15), rate) * AttackDecay(t, 0.005, 0.25);
    // The tail swells and sags at a few hertz, like debris still falling.
    const double sway = 0.55 + 6.0 * lfo.Process(wobble.White(), 6, rate);
    v += 2.2 * rumble.Process(noise.Brown(), 180, rate) * std::exp(-t / 0.55) * std::clamp(sway, 0.2, 1.3);
    v += 0.4 * std::sin(kTwoPi * 42 * t) * AttackDecay(t, 0.01, 0.2);
    s[i] = synth::SoftClip(1.4 * v);
  }
  synth::FadeOut(s, static_cast<size_t>(0.2 * rate));
  return s;
}

// A helicopter rotor: a whump of filtered noise at every blade pass over a faint turbine whine.
Samples Vert(size_t n, double rate) {
  Samples s(n);
  Noise noise(0x5EED0007);
  LowPass1 lp;
  const double bladeHz = 13.5;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double beat = std::fmod(t * bladeHz, 1.0) / bladeHz;
    double v = 1.4 * lp.Process(noise.White(), 700, rate) * (0.15 + std::exp(-beat / 0.018));
    v += 0.25 * std::sin(kTwoPi * bladeHz * 2 * t) * std::exp(-beat / 0.03);
    v += 0.06 * std::sin(kTwoPi * (1150 + 8 * std::sin(kTwoPi * 3 * t)) * t);
    s[i] = v;
  }
  synth::FadeIn(s, static_cast<size_t>(0.06 * rate));
  synth::FadeOut(s, static_cast<size_t>(0.12 * rate));
  return s;
}

// A metal clang: inharmonic partials with their own decays, struck by a short noise click.
Samples Hit(size_t n, double rate) {
  Samples s(n);
  Noise noise(0x5EED0008);
  Biquad strike(Biquad::Kind::BandPass);
  const struct {
    double Hz, Level, Tau;
  } partials[] = {{330, 1.0, 0.32}, {333, 0.5, 0.30}, {911, 0.7, 0.2}, {1782, 0.5, 0.12}, {2947, 0.35, 0.07}};
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    double v = 0;
    for (const auto& p : partials) v += p.Level * std::sin(kTwoPi * p.Hz * t) * std::exp(-t / p.Tau);
    v += 1.5 * strike.Process(noise.White(), 2500, 2.0, rate) * std::exp(-t / 0.008);
    s[i] = v * std::min(t / 0.0005, 1.0);
  }
  synth::FadeOut(s, static_cast<size_t>(0.05 * rate));
  return s;
}

// A two-note chime, a fifth up: bright sine bells with a quick decay.
Samples Bonus(size_t n, double rate) {
  Samples s(n);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    double v = 0;
    const struct { double Start, Hz; } notes[] = {{0.0, 1318.5}, {0.06, 1975.5}};
    for (const auto& note : notes) {
      const double u = t - note.Start;
      if (u < 0) continue;
      const double bell = std::sin(kTwoPi * note.Hz * u) + 0.2 * std::sin(kTwoPi * 2 * note.Hz * u);
      v += bell * AttackDecay(u, 0.002, 0.065);
    }
    s[i] = v;
  }
  synth::FadeOut(s, static_cast<size_t>(0.01 * rate));
  return s;
}

struct SoundTake {
  uint32_t Rate;
  size_t Samples;  // the sample counts of the original effect set
  double PeakLevel;
  std::vector<double> (*Render)(size_t, double);
};

const SoundTake kTakes[10] = {
    {11025, 2903, 0.45, CheckMenu}, {11025, 19382, 0.8, Win},  {8000, 13907, 0.8, Loose}, {8000, 892, 0.85, Shot},
    {11025, 5335, 0.9, Snarad},     {11025, 5335, 0.9, Bomba}, {8000, 11180, 0.95, Expl}, {8000, 8000, 0.7, Vert},
    {8000, 6223, 0.8, Hit},         {11025, 2919, 0.6, Bonus},
};

}  // namespace

std::vector<uint8_t> MakeSoundWave(int id) {
  if (id < 0 || id >= 10) throw std::out_of_range("no sound effect " + std::to_string(id));
  const SoundTake& take = kTakes[id];
  Samples s = take.Render(take.Samples, take.Rate);
  synth::RemoveDc(s, 20, take.Rate);
  synth::FadeOut(s, take.Rate / 200);  // no effect may end on a step
  synth::Normalize(s, take.PeakLevel);
  return synth::EncodeWave8(s, take.Rate);
}

}  // namespace assetgen
