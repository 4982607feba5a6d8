#include "MusicArtInstruments.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "Synth.h"

namespace assetgen::music {

namespace {

using synth::AttackDecay;
using synth::Biquad;
using synth::kTwoPi;

constexpr int kCycleFrames = 64;             // one waveform cycle of the base voice
constexpr double kMiddleC = 261.6255653006;  // what pattern note C-4 sounds as
constexpr double kDrumRate = 22050;

// A tonal sample: a spectrum that may morph from a brighter attack into the sustained one, with
// optional detuned copies. Every voice completes a whole number of cycles within the loop, so
// the loop joins without a click.
struct ToneRecipe {
  const char* Name = "";
  std::vector<double> Harmonics;        // sustained amplitude of harmonics 1, 2, 3, ...
  std::vector<double> AttackHarmonics;  // amplitudes at the first frame; empty: no morph
  double AttackSeconds = 0;             // length of the morph (at middle C)
  double AttackNoise = 0;               // breath or pick noise during the morph
  int Voices = 1;                       // detuned copies, one loop cycle apart
  int LoopCycles = 1;                   // base-voice cycles in the loop
  uint32_t Seed = 1;                    // phases of the detuned voices
};

std::vector<int16_t> ToPcm16(std::vector<double> s) {
  synth::Normalize(s, 0.9);
  std::vector<int16_t> pcm(s.size());
  for (size_t i = 0; i < s.size(); ++i) pcm[i] = static_cast<int16_t>(std::lround(s[i] * 32767));
  return pcm;
}

xm::Sample ToneSample(const ToneRecipe& r) {
  const int attackCycles = static_cast<int>(std::ceil(r.AttackSeconds * kMiddleC));
  const size_t attackFrames = static_cast<size_t>(attackCycles) * kCycleFrames;
  const size_t loopFrames = static_cast<size_t>(r.LoopCycles) * kCycleFrames;
  std::vector<double> s(attackFrames + loopFrames);
  sf::Random phases(r.Seed);
  const size_t harmonics = std::max(r.Harmonics.size(), r.AttackHarmonics.size());
  auto amplitude = [](const std::vector<double>& a, size_t h) { return h < a.size() ? a[h] : 0.0; };
  for (int v = 0; v < r.Voices; ++v) {
    const int cycles = r.LoopCycles + v - (r.Voices - 1) / 2;
    for (size_t h = 0; h < harmonics; ++h) {
      const double cyclesPerFrame = static_cast<double>(h + 1) * cycles / static_cast<double>(loopFrames);
      if (cyclesPerFrame >= 0.45) break;  // would alias
      const double phase = r.Voices > 1 ? kTwoPi * phases.RandInt(4096) / 4096.0 : 0.0;
      const double sustain = amplitude(r.Harmonics, h);
      const double attack = r.AttackHarmonics.empty() ? sustain : amplitude(r.AttackHarmonics, h);
      for (size_t i = 0; i < s.size(); ++i) {
        double a = sustain;
        if (i < attackFrames) {
          const double left = 1.0 - static_cast<double>(i) / static_cast<double>(attackFrames);
          a += (attack - sustain) * left * left;
        }
        if (a != 0) s[i] += a * std::sin(kTwoPi * cyclesPerFrame * static_cast<double>(i) + phase);
      }
    }
  }
  if (r.AttackNoise > 0) {
    synth::Noise noise(r.Seed * 7919u + 17u);
    synth::LowPass1 lp;
    for (size_t i = 0; i < attackFrames; ++i) {
      const double left = 1.0 - static_cast<double>(i) / static_cast<double>(attackFrames);
      s[i] += r.AttackNoise * lp.Process(noise.White(), 3000, kMiddleC * kCycleFrames) * left * left * left;
    }
  }
  xm::Sample sample;
  sample.Name = r.Name;
  sample.Data = ToPcm16(std::move(s));
  sample.LoopType = xm::Loop::Forward;
  sample.LoopStart = static_cast<uint32_t>(attackFrames);
  sample.LoopLength = static_cast<uint32_t>(loopFrames);
  sample.TuneTo(kMiddleC * kCycleFrames);
  return sample;
}

// An envelope from (seconds, level) points; `sustain` is the index held until key off.
xm::Envelope EnvelopeOf(std::initializer_list<std::pair<double, int>> points, double ticksPerSecond, int sustain) {
  xm::Envelope e;
  int last = -1;
  for (const auto& [seconds, level] : points) {
    const int tick = std::max(last + 1, static_cast<int>(std::lround(seconds * ticksPerSecond)));
    e.Points.push_back({static_cast<uint16_t>(tick), static_cast<uint16_t>(level)});
    last = tick;
  }
  e.Sustain = sustain;
  return e;
}

// Fade-out rate that silences a released note in about `seconds`.
uint16_t FadeoutOf(double seconds, double ticksPerSecond) {
  const double perTick = 32768.0 / std::max(seconds * ticksPerSecond, 1.0);
  return static_cast<uint16_t>(std::clamp(std::lround(perTick), 1L, 0xFFFL));
}

xm::Instrument Tonal(const ToneRecipe& r, xm::Envelope envelope, uint16_t fadeout, uint8_t volume) {
  xm::Instrument ins;
  ins.Name = r.Name;
  ins.Samples.push_back(ToneSample(r));
  ins.Samples[0].Volume = volume;
  ins.Volume = std::move(envelope);
  ins.Fadeout = fadeout;
  return ins;
}

// Auto-vibrato of about `hz` that reaches its depth after `delay` seconds.
void SetVibrato(xm::Instrument& ins, double hz, int depth, double delay, double ticksPerSecond) {
  ins.VibratoType = 0;
  ins.VibratoDepth = static_cast<uint8_t>(depth);
  ins.VibratoRate = static_cast<uint8_t>(std::clamp(std::lround(256 * hz / ticksPerSecond), 1L, 63L));
  ins.VibratoSweep = static_cast<uint8_t>(std::clamp(std::lround(delay * ticksPerSecond), 0L, 255L));
}

std::vector<double> SawSpectrum(int count, double rolloff) {
  std::vector<double> a(static_cast<size_t>(count));
  for (int h = 1; h <= count; ++h) a[static_cast<size_t>(h - 1)] = std::exp(-(h - 1) / rolloff) / h;
  return a;
}

// A one-shot drum sample rendered at the drum rate, struck on C-4.
xm::Instrument Drum(const char* name, double seconds, uint8_t volume, const std::function<double(double t)>& render) {
  const auto n = static_cast<size_t>(seconds * kDrumRate);
  std::vector<double> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = render(static_cast<double>(i) / kDrumRate);
  synth::FadeOut(s, std::min<size_t>(n / 8, static_cast<size_t>(0.03 * kDrumRate)));
  xm::Instrument ins;
  ins.Name = name;
  xm::Sample sample;
  sample.Name = name;
  sample.Data = ToPcm16(std::move(s));
  sample.Volume = volume;
  sample.TuneTo(kDrumRate);
  ins.Samples.push_back(std::move(sample));
  return ins;
}

// The metallic source of the cymbals: a cluster of inharmonic square waves plus noise.
class CymbalSource {
 public:
  explicit CymbalSource(uint32_t seed) : noise_(seed) {}
  double Next() {
    static constexpr double kHz[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double v = 0.6 * noise_.White();
    for (int k = 0; k < 6; ++k) {
      phase_[k] += kHz[k] * 3.1 / kDrumRate;
      phase_[k] -= std::floor(phase_[k]);
      v += phase_[k] < 0.5 ? 0.15 : -0.15;
    }
    return v;
  }

 private:
  synth::Noise noise_;
  double phase_[6] = {};
};

}  // namespace

xm::Instrument SoftBass(double tps) {
  ToneRecipe r;
  r.Name = "Soft bass";
  r.Harmonics = {1, 0.45, 0.18, 0.08, 0.03};
  r.AttackHarmonics = {1, 0.7, 0.5, 0.3, 0.2, 0.1};
  r.AttackSeconds = 0.08;
  return Tonal(r, EnvelopeOf({{0, 64}, {0.4, 50}, {0.7, 0}}, tps, 1), FadeoutOf(0.6, tps), 48);
}

xm::Instrument WarmPad(double tps) {
  ToneRecipe r;
  r.Name = "Warm pad";
  r.Harmonics = SawSpectrum(14, 3.5);
  r.Voices = 3;
  r.LoopCycles = 128;
  r.Seed = 11;
  return Tonal(r, EnvelopeOf({{0, 0}, {0.9, 64}, {1.6, 54}, {3.2, 0}}, tps, 2), FadeoutOf(2.5, tps), 40);
}

xm::Instrument Celesta(double tps) {
  ToneRecipe r;
  r.Name = "Celesta";
  r.Harmonics = {1, 0.1, 0.02};
  r.AttackHarmonics = {1, 0.6, 0.35, 0.3, 0.15, 0.1, 0.08};
  r.AttackSeconds = 0.25;
  return Tonal(r, EnvelopeOf({{0, 64}, {0.15, 42}, {0.5, 22}, {1.2, 8}, {2.2, 0}}, tps, -1), FadeoutOf(0.8, tps), 44);
}

xm::Instrument Flute(double tps) {
  ToneRecipe r;
  r.Name = "Flute";
  r.Harmonics = {1, 0.22, 0.08, 0.03};
  r.AttackHarmonics = {1, 0.4, 0.2, 0.05};
  r.AttackSeconds = 0.1;
  r.AttackNoise = 0.25;
  r.Seed = 5;
  xm::Instrument ins = Tonal(r, EnvelopeOf({{0, 0}, {0.06, 64}, {0.3, 54}, {0.7, 0}}, tps, 2), FadeoutOf(0.5, tps), 48);
  SetVibrato(ins, 5, 8, 0.35, tps);
  return ins;
}

xm::Instrument SawBass(double tps) {
  ToneRecipe r;
  r.Name = "Saw bass";
  r.Harmonics = SawSpectrum(24, 6);
  r.AttackHarmonics = SawSpectrum(24, 60);
  r.AttackSeconds = 0.06;
  return Tonal(r, EnvelopeOf({{0, 64}, {0.15, 50}, {0.25, 0}}, tps, 1), FadeoutOf(0.2, tps), 44);
}

xm::Instrument BrassStab(double tps) {
  ToneRecipe r;
  r.Name = "Brass stab";
  r.Harmonics = SawSpectrum(16, 5);
  r.AttackHarmonics = SawSpectrum(16, 40);
  r.AttackSeconds = 0.05;
  r.Voices = 2;
  r.LoopCycles = 128;
  r.Seed = 23;
  return Tonal(r, EnvelopeOf({{0, 64}, {0.08, 48}, {0.35, 30}, {0.5, 0}}, tps, 2), FadeoutOf(0.3, tps), 36);
}

xm::Instrument SquareLead(double tps) {
  ToneRecipe r;
  r.Name = "Square lead";
  for (int h = 1; h <= 15; ++h) r.Harmonics.push_back(h % 2 ? 1.0 / h : 0.08 / h);
  r.Voices = 2;
  r.LoopCycles = 128;
  r.Seed = 31;
  xm::Instrument ins =
      Tonal(r, EnvelopeOf({{0, 0}, {0.02, 64}, {0.2, 56}, {0.45, 0}}, tps, 2), FadeoutOf(0.4, tps), 40);
  SetVibrato(ins, 5.5, 8, 0.3, tps);
  return ins;
}

xm::Instrument Pluck(double tps) {
  ToneRecipe r;
  r.Name = "Pluck";
  r.Harmonics = {1, 0.3, 0.1, 0.04};
  r.AttackHarmonics = SawSpectrum(16, 30);
  r.AttackSeconds = 0.15;
  return Tonal(r, EnvelopeOf({{0, 64}, {0.1, 36}, {0.3, 16}, {0.7, 0}}, tps, -1), FadeoutOf(0.5, tps), 40);
}

xm::Instrument Kick() {
  double phase = 0;
  synth::Noise noise(101);
  return Drum("Kick", 0.35, 64, [&](double t) {
    phase += (50 + 130 * std::exp(-t / 0.03)) / kDrumRate;
    const double body = std::sin(kTwoPi * phase) * AttackDecay(t, 0.001, 0.16);
    return synth::SoftClip(1.3 * body + 0.25 * noise.White() * std::exp(-t / 0.002));
  });
}

xm::Instrument SoftKick() {
  double phase = 0;
  return Drum("Soft kick", 0.4, 64, [&](double t) {
    phase += (45 + 70 * std::exp(-t / 0.05)) / kDrumRate;
    return std::sin(kTwoPi * phase) * AttackDecay(t, 0.004, 0.2);
  });
}

xm::Instrument Snare() {
  synth::Noise noise(103);
  Biquad band(Biquad::Kind::BandPass);
  synth::HighPass1 high;
  return Drum("Snare", 0.3, 64, [&](double t) {
    const double w = noise.White();
    double v = 0.6 * std::sin(kTwoPi * 180 * t) * std::exp(-t / 0.04);
    v += 0.3 * std::sin(kTwoPi * 330 * t) * std::exp(-t / 0.03);
    v += (1.6 * band.Process(w, 3500, 0.7, kDrumRate) + 0.6 * high.Process(w, 1500, kDrumRate)) * std::exp(-t / 0.08);
    return v * std::min(t / 0.0005, 1.0);
  });
}

xm::Instrument BrushSnare() {
  synth::Noise noise(104);
  Biquad band(Biquad::Kind::BandPass);
  return Drum("Brush", 0.35, 64, [&](double t) {
    double v = 1.5 * band.Process(noise.White(), 2500, 0.8, kDrumRate) * AttackDecay(t, 0.012, 0.09);
    return v + 0.2 * std::sin(kTwoPi * 200 * t) * AttackDecay(t, 0.004, 0.05);
  });
}

xm::Instrument ClosedHat() {
  CymbalSource source(105);
  Biquad high(Biquad::Kind::HighPass);
  return Drum("Closed hat", 0.09, 64,
              [&](double t) { return high.Process(source.Next(), 7000, 0.7, kDrumRate) * std::exp(-t / 0.018); });
}

xm::Instrument OpenHat() {
  CymbalSource source(106);
  Biquad high(Biquad::Kind::HighPass);
  return Drum("Open hat", 0.5, 64, [&](double t) {
    return high.Process(source.Next(), 6500, 0.7, kDrumRate) * AttackDecay(t, 0.001, 0.15);
  });
}

xm::Instrument Crash() {
  CymbalSource source(107);
  Biquad high(Biquad::Kind::HighPass);
  Biquad sizzle(Biquad::Kind::BandPass);
  return Drum("Crash", 1.6, 64, [&](double t) {
    const double x = source.Next();
    const double v = high.Process(x, 4000, 0.7, kDrumRate) + 0.8 * sizzle.Process(x, 6000, 1.5, kDrumRate);
    return v * AttackDecay(t, 0.002, 0.45);
  });
}

xm::Instrument Shaker() {
  synth::Noise noise(108);
  Biquad high(Biquad::Kind::HighPass);
  return Drum("Shaker", 0.12, 64, [&](double t) {
    return high.Process(noise.White(), 6000, 0.7, kDrumRate) * AttackDecay(t, 0.012, 0.03);
  });
}

}  // namespace assetgen::music
