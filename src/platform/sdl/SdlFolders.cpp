#include "platform/sdl/SdlFolders.h"

#include <SDL.h>

namespace sf {

namespace {

// SDL hands out its paths in memory the caller frees.
std::string TakeSdlPath(char* path) {
  if (!path) return {};
  std::string folder(path);
  SDL_free(path);
  return folder;
}

}  // namespace

std::string ExecutableFolder() { return TakeSdlPath(SDL_GetBasePath()); }

// An empty organisation keeps the folder one level deep, as players expect of a game's files.
std::string PlayerFolder(const char* app) { return TakeSdlPath(SDL_GetPrefPath("", app)); }

}  // namespace sf
