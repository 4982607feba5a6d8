#pragma once
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "HttpMessage.h"

namespace sf::scores {

// Serves the files of one folder (the browser build) at "/": index.html for "/", the right MIME
// type, gzip for clients that accept it, and caching by name: names holding a content hash
// ("game.3f9a2c1d.wasm") are cached for a year, the rest revalidated every time: each reply
// carries an ETag of the bytes it sends, and a request naming it in If-None-Match gets 304 with
// no body, so a return visit does not fetch the whole page again. Nothing outside the folder is
// ever served.
class StaticFiles {
 public:
  explicit StaticFiles(std::filesystem::path root);

  HttpResponse Serve(const HttpRequest& request) const;

  static std::string MimeType(const std::filesystem::path& file);
  static bool HasContentHash(std::string_view fileName);

 private:
  struct Cached {
    std::filesystem::file_time_type Modified;
    uintmax_t Size = 0;
    std::shared_ptr<const std::string> Plain, Gzipped;  // Gzipped empty when it does not pay
    std::string Tag;  // the quoted ETag of Plain; Gzipped's adds "-gz" inside the quotes
    std::vector<std::pair<std::string, std::string>> PageHeaders;  // an HTML page's policy
  };
  std::shared_ptr<const Cached> Load(const std::filesystem::path& file) const;

  std::filesystem::path root_;
  mutable std::mutex mutex_;
  mutable std::condition_variable loaded_;
  mutable std::map<std::string, std::shared_ptr<const Cached>> cache_;
  mutable std::set<std::string> loading_;  // files being read now
  mutable size_t cachedBytes_ = 0;
};

// gzip of bytes (best compression); empty on failure.
std::string Gzip(std::string_view bytes);

}  // namespace sf::scores
