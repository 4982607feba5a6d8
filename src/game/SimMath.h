#pragma once
#include <cstdint>

#include "game/SimArithmetic.h"

namespace sf::simmath {

// The game's own sine, cosine and arc tangent. A game is played again on other machines (the score
// service, other compilers and C libraries), so everything the world computes must come out the
// same bit for bit everywhere. These use only IEEE additions, multiplications and divisions in a
// fixed order (the library compiles with contraction off), and stay within a few units in the last
// place of the C library's results.
//
// Sin and Cos reduce the argument by pi/2 in three parts; they are exact to a few ulp for
// |x| < 1e6, which covers every angle of the game by far, and deterministic for any argument.
double Sin(double x);
double Cos(double x);
double Atan(double x);

// Rounds to the nearest integer, halves to the even neighbour, whatever the floating-point
// rounding mode. NaN gives 0; values beyond the 32-bit range give its ends.
int32_t RoundHalfEven(double v);

// True when this library rounds a product before adding to it, as plain IEEE arithmetic does;
// false when the compiler fused them (contraction), which would make recorded games play back
// differently on other builds.
bool ProductsRoundBeforeSums();

}  // namespace sf::simmath
