#include "platform/sdl/SdlShell.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/UrlShortcut.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>
#endif

namespace sf {

#ifdef _WIN32
// Windows has its own handlers for programs and Internet shortcuts: "open" runs wgame.exe and opens
// Play.url in the browser, as a double click would.
void SdlShell::OpenFileIfExists(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return;
  ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SdlShell::OpenLink(const std::string& link) {
  if (!link.empty()) ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
#else
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
#endif

}  // namespace sf
