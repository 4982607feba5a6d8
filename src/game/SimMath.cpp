#include "game/SimMath.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace sf::simmath {
namespace {

// pi/2 in three parts of 33 bits: k times each part is exact for |k| < 2^20.
constexpr double kPio2Hi = 1.57079632673412561417e+00;
constexpr double kPio2Mid = 6.07710050630396597660e-11;
constexpr double kPio2Lo = 2.02226624871116645580e-21;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
// pi/2 and pi/4 as the nearest double and the rest.
constexpr double kHalfPi = 1.57079632679489655800e+00;
constexpr double kHalfPiRest = 6.12323399573676603587e-17;
constexpr double kQuarterPi = 7.85398163397448278999e-01;
constexpr double kQuarterPiRest = 3.06161699786838301793e-17;
// tan(pi/8) and tan(3 pi/8): the arc tangent's reduction points.
constexpr double kTanEighth = 0.41421356237309503;
constexpr double kTanThreeEighths = 2.41421356237309515;

// Taylor polynomials on |r| <= pi/4; the first left-out term is below 5e-17.
double SinKernel(double r) {
  const double z = r * r;
  const double p =
      -1.0 / 6.0 +
      z * (1.0 / 120.0 +
           z * (-1.0 / 5040.0 + z * (1.0 / 362880.0 + z * (-1.0 / 39916800.0 +
                                                           z * (1.0 / 6227020800.0 + z * (-1.0 / 1307674368000.0))))));
  return r + r * z * p;
}

double CosKernel(double r) {
  const double z = r * r;
  const double p =
      1.0 / 24.0 +
      z * (-1.0 / 720.0 +
           z * (1.0 / 40320.0 + z * (-1.0 / 3628800.0 + z * (1.0 / 479001600.0 + z * (-1.0 / 87178291200.0 +
                                                                                      z * (1.0 / 20922789888000.0))))));
  // 1 - z/2 loses bits when written plainly; the rest of the subtraction is carried separately.
  const double half = 0.5 * z;
  const double w = 1.0 - half;
  return w + (((1.0 - w) - half) + z * z * p);
}

// x = k pi/2 + r with |r| <= pi/4 (a little more for huge x); returns k mod 4.
int Reduce(double x, double& r) {
  const double k = std::floor(x * kTwoOverPi + 0.5);
  r = ((x - k * kPio2Hi) - k * kPio2Mid) - k * kPio2Lo;
  const double quarter = k - 4.0 * std::floor(k * 0.25);  // 0..3, exact
  return static_cast<int>(quarter);
}

// The arc tangent's series on |u| <= tan(pi/8); the first left-out term is below 3e-18 |u|.
double AtanKernel(double u) {
  const double z = u * u;
  double p = 0.0;
  for (int n = 20; n >= 0; --n) {
    const double term = (n % 2 == 0 ? 1.0 : -1.0) / static_cast<double>(2 * n + 1);
    p = term + z * p;
  }
  return u * p;
}

}  // namespace

double Sin(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  double r = 0.0;
  switch (Reduce(x, r)) {
    case 0: return SinKernel(r);
    case 1: return CosKernel(r);
    case 2: return -SinKernel(r);
    default: return -CosKernel(r);
  }
}

double Cos(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  double r = 0.0;
  switch (Reduce(x, r)) {
    case 0: return CosKernel(r);
    case 1: return -SinKernel(r);
    case 2: return -CosKernel(r);
    default: return SinKernel(r);
  }
}

double Atan(double x) {
  if (std::isnan(x)) return x;
  const double a = std::fabs(x);
  double result;
  if (a <= kTanEighth) {
    result = AtanKernel(a);
  } else if (a <= kTanThreeEighths) {
    result = kQuarterPi + (AtanKernel((a - 1.0) / (a + 1.0)) + kQuarterPiRest);
  } else {
    result = kHalfPi - (AtanKernel(1.0 / a) - kHalfPiRest);
  }
  return x < 0 ? -result : result;
}

int32_t RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  const double down = std::floor(v);
  const double diff = v - down;  // exact
  auto d = static_cast<int64_t>(down);
  if (diff > 0.5 || (diff == 0.5 && d % 2 != 0)) ++d;
  return static_cast<int32_t>(d);
}

bool ProductsRoundBeforeSums() {
  // (1 + 2^-30)(1 - 2^-30) - 1 is -2^-60 exactly, but the product alone rounds to 1: plain
  // arithmetic gives 0, a fused multiply-add gives -2^-60. volatile keeps the compiler from
  // folding it at build time, where its own rules would apply.
  volatile double a = 1.0 + 0x1p-30, b = 1.0 - 0x1p-30, c = -1.0;
  const double x = a, y = b, z = c;
  return x * y + z == 0.0;
}

}  // namespace sf::simmath
