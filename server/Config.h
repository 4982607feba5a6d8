#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "HttpServer.h"
#include "ScoreService.h"

namespace sf::scores {

// Everything saltfang-scores is told on its command line or in its environment. Each flag has an
// environment variable of the same meaning; a flag wins over its variable.
struct Config {
  std::string Command = "serve";       // serve, import, list, remove, help, version
  std::vector<std::string> Arguments;  // the command's own arguments
  std::string ListenHost = "127.0.0.1";
  uint16_t ListenPort = 8765;
  std::string Database = "sqlite:scores.db";
  std::string WebDir;
  ServiceConfig Service;
  ServerLimits Limits;
  int ReplayWorkers = 2;
  int ReplayQueue = 256;
  int64_t ListLimit = 50;
};

// Reads argv and the environment (getenv gives a variable's value or nothing). Throws
// std::invalid_argument with a clear sentence for anything it does not understand.
Config ParseConfig(const std::vector<std::string>& args,
                   const std::function<std::optional<std::string>(const char*)>& getenv);

std::string HelpText();

}  // namespace sf::scores
