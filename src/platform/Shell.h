#pragma once
#include <string>

namespace sf {

// Opening files and links with the desktop's handlers.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens the file with its handler when it exists; nothing happens when it is missing.
  virtual void OpenFileIfExists(const std::string& path) = 0;
  // Opens a link (an address) in the user's browser, without any existence test.
  virtual void OpenLink(const std::string& link) = 0;
};

}  // namespace sf
