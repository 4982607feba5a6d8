#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace sf {

// The address of a Windows ".url" shortcut file's text: the value of its first "URL=" line in
// the [InternetShortcut] section (or anywhere, for files without sections). Empty when absent.
std::optional<std::string> UrlOfShortcut(std::string_view text);

// True when the file name ends in ".url" (any case).
bool IsUrlShortcutName(std::string_view name);

}  // namespace sf
