#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

namespace testing_audio {

// The pitch of a steady stretch of samples, from its autocorrelation between lowestHz and 1000 Hz:
// the first lag whose correlation is nearly as strong as the strongest, so a multiple of the period
// never wins. The stretch starts at from and holds length samples; the lagged copy may reach past
// it but not past the end of s. 0 when no peak stands out.
template <typename Sample>
double PitchHz(std::span<const Sample> s, size_t from, size_t length, int rate, int lowestHz) {
  std::vector<double> r;
  const int minLag = rate / 1000;
  for (int lag = minLag; lag <= rate / lowestHz; ++lag) {
    const size_t shift = static_cast<size_t>(lag);
    double sum = 0, e1 = 0, e2 = 0;
    for (size_t i = from; i < from + length && i + shift < s.size(); ++i) {
      sum += static_cast<double>(s[i]) * s[i + shift];
      e1 += static_cast<double>(s[i]) * s[i];
      e2 += static_cast<double>(s[i + shift]) * s[i + shift];
    }
    r.push_back(sum / std::sqrt(e1 * e2 + 1));
  }
  const double best = *std::max_element(r.begin(), r.end());
  for (size_t k = 1; k + 1 < r.size(); ++k) {
    if (r[k] >= 0.9 * best && r[k] >= r[k - 1] && r[k] >= r[k + 1]) {
      return static_cast<double>(rate) / (minLag + static_cast<int>(k));
    }
  }
  return 0;
}

}  // namespace testing_audio
