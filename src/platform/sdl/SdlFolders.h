#pragma once
#include <string>

namespace sf {

// Where an installed program finds its data and keeps the player's files; both folders end with a
// separator, and both are empty when the system cannot tell.

// The folder of the running executable (found from the executable itself, never the working
// folder).
std::string ExecutableFolder();
// The player's own folder for the program named app, created when missing: ~/.local/share/<app>/
// on Linux ($XDG_DATA_HOME when set), %APPDATA%\<app>\ on Windows.
std::string PlayerFolder(const char* app);

}  // namespace sf
