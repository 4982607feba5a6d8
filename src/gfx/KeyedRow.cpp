#include "gfx/KeyedRow.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SF_KEYED_X86 1
#endif

namespace sf {

void KeyedRowPlain(uint32_t* d, const uint32_t* s, int32_t n, uint32_t key) {
  for (int32_t i = 0; i < n; ++i) {
    const uint32_t p = s[i];
    d[i] = p == key ? d[i] : p;
  }
}

#ifdef SF_KEYED_X86
namespace {

// Eight pixels at a time. Keyed images are mostly long stretches of key or of picture, so
// all-key blocks are skipped without touching the target and all-picture blocks are stored
// whole; only mixed blocks use a masked store (which never writes the keyed pixels).
__attribute__((target("avx2"))) void RowAvx2(uint32_t* d, const uint32_t* s, int32_t n, uint32_t key) {
  const __m256i k = _mm256_set1_epi32(static_cast<int>(key));
  const __m256i ones = _mm256_set1_epi32(-1);
  int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i isKey = _mm256_cmpeq_epi32(v, k);
    const int mask = _mm256_movemask_ps(_mm256_castsi256_ps(isKey));
    if (mask == 0xFF) continue;
    if (mask == 0) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), v);
    } else {
      _mm256_maskstore_epi32(reinterpret_cast<int*>(d + i), _mm256_xor_si256(isKey, ones), v);
    }
  }
  KeyedRowPlain(d + i, s + i, n - i, key);
}

// Sixteen pixels at a time with mask registers; the tail is one more masked block.
__attribute__((target("avx512f"))) void RowAvx512(uint32_t* d, const uint32_t* s, int32_t n, uint32_t key) {
  const __m512i k = _mm512_set1_epi32(static_cast<int>(key));
  int32_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m512i v = _mm512_loadu_si512(s + i);
    const __mmask16 opaque = _mm512_cmpneq_epi32_mask(v, k);
    if (opaque == 0) continue;
    if (opaque == 0xFFFF) {
      _mm512_storeu_si512(d + i, v);
    } else {
      _mm512_mask_storeu_epi32(d + i, opaque, v);
    }
  }
  if (i < n) {
    const __mmask16 inRow = static_cast<__mmask16>((1u << (n - i)) - 1u);
    const __m512i v = _mm512_maskz_loadu_epi32(inRow, s + i);
    const __mmask16 opaque = _mm512_mask_cmpneq_epi32_mask(inRow, v, k);
    _mm512_mask_storeu_epi32(d + i, opaque, v);
  }
}

}  // namespace

KeyedRowFn KeyedRowAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? RowAvx2 : nullptr;
}

KeyedRowFn KeyedRowAvx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") ? RowAvx512 : nullptr;
}
#else
KeyedRowFn KeyedRowAvx2() { return nullptr; }
KeyedRowFn KeyedRowAvx512() { return nullptr; }
#endif

KeyedRowFn BestKeyedRow() {
  static const KeyedRowFn best = [] {
    if (KeyedRowFn f = KeyedRowAvx512()) return f;
    if (KeyedRowFn f = KeyedRowAvx2()) return f;
    return static_cast<KeyedRowFn>(KeyedRowPlain);
  }();
  return best;
}

}  // namespace sf
