#pragma once
#include "platform/Shell.h"

namespace sf {

// Opens files and links with the desktop's handlers (SDL_OpenURL: xdg-open on Linux).
class SdlShell : public Shell {
 public:
  void OpenFileIfExists(const std::string& path) override;
  void OpenLink(const std::string& link) override;
};

}  // namespace sf
