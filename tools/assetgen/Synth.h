#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Random.h"

// Small sound-synthesis toolkit shared by the sound effects and the music instruments: seeded
// noise, band-limited oscillators, filters and envelopes. Everything is plain double arithmetic
// driven by sample indices, so the same code always gives the same samples.
namespace assetgen::synth {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2 * kPi;

// White noise in -1..1 from the program's seeded generator, plus a leaky integration of it
// (brown noise) for rumbles.
class Noise {
 public:
  explicit Noise(uint32_t seed) : random_(seed) {}
  double White();
  double Brown();

 private:
  sf::Random random_;
  double brown_ = 0;
};

// Phase-accumulating oscillator. Saw and square use polyBLEP corrections so that sweeps at the
// low effect rates do not fill the band with aliases.
class Oscillator {
 public:
  enum class Shape { Sine, Triangle, Saw, Square };
  explicit Oscillator(Shape shape, double duty = 0.5) : shape_(shape), duty_(duty) {}
  double Next(double hz, double rate);
  void SetDuty(double duty) { duty_ = duty; }

 private:
  Shape shape_;
  double duty_;
  double phase_ = 0;
};

// First-order smoothing filters; the cutoff may change every sample for sweeps.
class LowPass1 {
 public:
  double Process(double x, double cutoffHz, double rate);

 private:
  double y_ = 0;
};

class HighPass1 {
 public:
  double Process(double x, double cutoffHz, double rate);

 private:
  double x1_ = 0;
  double y_ = 0;
};

// Second-order (RBJ cookbook) filter with resonance, recomputed when the cutoff moves.
class Biquad {
 public:
  enum class Kind { LowPass, HighPass, BandPass };
  explicit Biquad(Kind kind) : kind_(kind) {}
  double Process(double x, double cutoffHz, double q, double rate);

 private:
  void Design(double cutoffHz, double q, double rate);
  Kind kind_;
  double designedHz_ = -1, designedQ_ = -1;
  double b0_ = 0, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Envelope shapes over time t in seconds.
double AttackDecay(double t, double attack, double decayTau);       // linear rise, exponential fall
double Ramp(double t, double t0, double v0, double t1, double v1);  // linear segment, held outside

// Finishing steps for a rendered sound.
void RemoveDc(std::vector<double>& s, double cutoffHz, double rate);
void Normalize(std::vector<double>& s, double peak);
void FadeIn(std::vector<double>& s, size_t count);
void FadeOut(std::vector<double>& s, size_t count);
double Peak(const std::vector<double>& s);

// Gentle saturation that keeps small signals linear.
double SoftClip(double x);

// Equal-tempered frequency of a note number (69 = A 440 Hz).
double NoteHz(double note);

}  // namespace assetgen::synth
