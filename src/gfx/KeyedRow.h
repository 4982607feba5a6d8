#pragma once
#include <cstdint>

namespace sf {

// One row of a keyed copy: every source pixel that is not the key replaces the target pixel.
using KeyedRowFn = void (*)(uint32_t* dst, const uint32_t* src, int32_t count, uint32_t key);

// The straightforward loop every faster variant must match.
void KeyedRowPlain(uint32_t* dst, const uint32_t* src, int32_t count, uint32_t key);

// Vector variants, or nullptr when this processor lacks the instructions.
KeyedRowFn KeyedRowAvx2();
KeyedRowFn KeyedRowAvx512();

// The fastest variant this processor runs, chosen once.
KeyedRowFn BestKeyedRow();

}  // namespace sf
