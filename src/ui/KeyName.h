#pragma once
#include <cstdint>
#include <string>

namespace sf {

// The name shown for a virtual-key code on the minimise-key button, or "Bad" for a key that
// cannot be chosen (among them the digit 0 and the generic Shift and Ctrl codes 16 and 17).
std::string KeyName(uint32_t code);

inline bool IsBadKeyName(const std::string& name) { return name == "Bad"; }

}  // namespace sf
