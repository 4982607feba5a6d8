#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen::synth {

double Noise::White() { return random_.RandInt(65536) / 32768.0 - 1.0; }

double Noise::Brown() {
  // The leak keeps the walk bounded and free of a slow drift.
  brown_ = 0.98 * brown_ + 0.1 * White();
  return brown_;
}

namespace {

// Correction of a unit step at phase 0 for a phase increment dt.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

double Oscillator::Next(double hz, double rate) {
  const double dt = std::clamp(hz / rate, 0.0, 0.5);
  double v = 0;
  switch (shape_) {
    case Shape::Sine: v = std::sin(kTwoPi * phase_); break;
    case Shape::Triangle: v = phase_ < 0.5 ? 4 * phase_ - 1 : 3 - 4 * phase_; break;
    case Shape::Saw: v = 2 * phase_ - 1 - PolyBlep(phase_, dt); break;
    case Shape::Square: {
      v = phase_ < duty_ ? 1.0 : -1.0;
      v += PolyBlep(phase_, dt);
      double fall = phase_ - duty_;
      if (fall < 0) fall += 1;
      v -= PolyBlep(fall, dt);
      break;
    }
  }
  phase_ += dt;
  if (phase_ >= 1) phase_ -= 1;
  return v;
}

double LowPass1::Process(double x, double cutoffHz, double rate) {
  const double a = 1 - std::exp(-kTwoPi * cutoffHz / rate);
  y_ += a * (x - y_);
  return y_;
}

double HighPass1::Process(double x, double cutoffHz, double rate) {
  const double rc = 1 / (kTwoPi * cutoffHz);
  const double a = rc / (rc + 1 / rate);
  y_ = a * (y_ + x - x1_);
  x1_ = x;
  return y_;
}

void Biquad::Design(double cutoffHz, double q, double rate) {
  designedHz_ = cutoffHz;
  designedQ_ = q;
  const double w = kTwoPi * std::clamp(cutoffHz, 10.0, rate * 0.45) / rate;
  const double cw = std::cos(w), alpha = std::sin(w) / (2 * q);
  const double a0 = 1 + alpha;
  switch (kind_) {
    case Kind::LowPass: b0_ = (1 - cw) / 2, b1_ = 1 - cw, b2_ = (1 - cw) / 2; break;
    case Kind::HighPass: b0_ = (1 + cw) / 2, b1_ = -(1 + cw), b2_ = (1 + cw) / 2; break;
    case Kind::BandPass: b0_ = alpha, b1_ = 0, b2_ = -alpha; break;
  }
  b0_ /= a0, b1_ /= a0, b2_ /= a0;
  a1_ = -2 * cw / a0;
  a2_ = (1 - alpha) / a0;
}

double Biquad::Process(double x, double cutoffHz, double q, double rate) {
  if (cutoffHz != designedHz_ || q != designedQ_) Design(cutoffHz, q, rate);
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_, x1_ = x;
  y2_ = y1_, y1_ = y;
  return y;
}

double AttackDecay(double t, double attack, double decayTau) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decayTau);
}

double Ramp(double t, double t0, double v0, double t1, double v1) {
  if (t <= t0) return v0;
  if (t >= t1) return v1;
  return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
}

void RemoveDc(std::vector<double>& s, double cutoffHz, double rate) {
  HighPass1 hp;
  for (double& v : s) v = hp.Process(v, cutoffHz, rate);
}

double Peak(const std::vector<double>& s) {
  double p = 0;
  for (double v : s) p = std::max(p, std::abs(v));
  return p;
}

void Normalize(std::vector<double>& s, double peak) {
  const double p = Peak(s);
  if (p <= 0) return;
  for (double& v : s) v *= peak / p;
}

void FadeIn(std::vector<double>& s, size_t count) {
  count = std::min(count, s.size());
  for (size_t i = 0; i < count; ++i) s[i] *= static_cast<double>(i) / static_cast<double>(count);
}

void FadeOut(std::vector<double>& s, size_t count) {
  count = std::min(count, s.size());
  const size_t start = s.size() - count;
  for (size_t i = 0; i < count; ++i) s[start + i] *= static_cast<double>(count - i) / static_cast<double>(count);
}

double SoftClip(double x) { return std::tanh(x); }

double NoteHz(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

}  // namespace assetgen::synth
