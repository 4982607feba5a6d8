#pragma once
// A recorded game is played again by other builds (the score service, other compilers, the
// browser), and each must compute the world bit for bit alike. Builds whose floating-point
// arithmetic differs from plain IEEE double would refuse honest replays, so they stop here.
#include <cfloat>

#if defined(__FAST_MATH__) || defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error \
    "The game's simulation must not be built with -ffast-math (or -ffinite-math-only): it reorders and drops IEEE operations, so recorded games would not play back the same on other builds."
#endif

#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error \
    "The game's simulation needs FLT_EVAL_METHOD 0 (every double computed as a double, as SSE2 and WebAssembly do); x87 maths (-mfpmath=387) keeps wider intermediates, so recorded games would not play back the same on other builds."
#endif
