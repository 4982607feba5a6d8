#include "platform/web/WebShell.h"

#include <emscripten.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/UrlShortcut.h"

namespace sf {

void WebShell::OpenFileIfExists(const std::string& path) {
  std::error_code ec;
  if (!IsUrlShortcutName(path) || !std::filesystem::is_regular_file(path, ec)) return;
  std::ifstream f(path, std::ios::binary);
  std::stringstream text;
  text << f.rdbuf();
  if (const auto url = UrlOfShortcut(text.str())) OpenLink(*url);
}

void WebShell::OpenLink(const std::string& link) {
  if (link.empty()) return;
  // A relative address (the service that served the page) resolves against the page; the tab
  // opens within the click's user activation, so no pop-up blocker stops it.
  // The formatter does not know JavaScript.
  // clang-format off
  EM_ASM({ window.open(new URL(UTF8ToString($0), document.baseURI).href, '_blank', 'noopener'); }, link.c_str());
  // clang-format on
}

}  // namespace sf
