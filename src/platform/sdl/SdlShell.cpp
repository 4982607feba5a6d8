#include "platform/sdl/SdlShell.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/UrlShortcut.h"

namespace sf {

void SdlShell::OpenFileIfExists(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return;
  if (IsUrlShortcutName(path)) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream text;
    text << f.rdbuf();
    if (const auto url = UrlOfShortcut(text.str())) OpenLink(*url);
    return;
  }
  const auto absolute = std::filesystem::absolute(path, ec);
  if (!ec) OpenLink("file://" + absolute.string());
}

void SdlShell::OpenLink(const std::string& link) {
  if (!link.empty()) SDL_OpenURL(link.c_str());
}

}  // namespace sf
