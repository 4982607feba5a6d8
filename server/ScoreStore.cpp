#include "ScoreStore.h"

#include "PostgresStore.h"
#include "SqliteStore.h"

namespace sf::scores {

std::unique_ptr<ScoreStore> OpenStore(const std::string& url) {
  if (url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0)
    return std::make_unique<PostgresStore>(url);
  std::string path = url.rfind("sqlite:", 0) == 0 ? url.substr(7) : url;
  if (path.empty()) throw std::runtime_error("no database file in \"" + url + "\"");
  return std::make_unique<SqliteStore>(path);
}

}  // namespace sf::scores
