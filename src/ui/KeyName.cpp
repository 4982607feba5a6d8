#include "ui/KeyName.h"

namespace sf {

std::string KeyName(uint32_t code) {
  switch (code) {
    case 8: return "Back";
    case 9: return "Tab";
    case 13: return "Enter";
    case 27: return "Esc";
    case 32: return "Space";
    case 33: return "PgUp";
    case 34: return "PgDn";
    case 35: return "End";
    case 36: return "Home";
    case 37: return "Left";
    case 38: return "Up";
    case 39: return "Right";
    case 40: return "Down";
    case 45: return "Ins";
    case 46: return "Del";
    case 160:
    case 161: return "Shift";
    case 162:
    case 163: return "Ctrl";
    case 164: return "Alt";
    default: break;
  }
  // The digits 1 to 9, the capital letters and the characters of codes 58 to 64 and 91 stand for
  // themselves; 0 is refused.
  if (code >= 49 && code <= 91) return std::string(1, static_cast<char>(code));
  if (code >= 112 && code <= 126) {
    std::string name = std::to_string(code - 111);
    name.insert(name.begin(), 'F');
    return name;
  }
  return "Bad";
}

}  // namespace sf
