#pragma once
#include <cstdio>
#include <cstdlib>

// A broken property is a crash for libFuzzer: it saves the input and prints where it failed.
#define SF_FUZZ_CHECK(condition)                                                            \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)
