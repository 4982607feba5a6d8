#pragma once
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace sf {

// Records what the program asked the shell to open.
class FakeShell : public Shell {
 public:
  void OpenFileIfExists(const std::string& path) override { FilesRequested.push_back(path); }
  void OpenLink(const std::string& link) override { LinksOpened.push_back(link); }

  std::vector<std::string> FilesRequested;
  std::vector<std::string> LinksOpened;
};

}  // namespace sf
