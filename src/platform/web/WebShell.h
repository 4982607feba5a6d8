#pragma once
#include "platform/Shell.h"

namespace sf {

// Links open in a new tab of the browser. Of the files the desktop opens, only Internet
// shortcuts mean anything in a page: one present in the game's folder opens its address.
class WebShell : public Shell {
 public:
  void OpenFileIfExists(const std::string& path) override;
  void OpenLink(const std::string& link) override;
};

}  // namespace sf
