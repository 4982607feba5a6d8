#include "StaticFiles.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <system_error>

#include "ListingCache.h"
#include "PagePolicy.h"
#include "Text.h"

namespace sf::scores {

namespace fs = std::filesystem;

namespace {

constexpr uintmax_t kMaxFileBytes = 64u << 20;
constexpr size_t kMaxCacheBytes = 128u << 20;

bool Compressible(const std::string& mime) {
  return mime.rfind("text/", 0) == 0 || mime.rfind("application/javascript", 0) == 0 ||
         mime.rfind("application/json", 0) == 0 || mime == "application/wasm" || mime == "application/octet-stream" ||
         mime.rfind("image/svg", 0) == 0;
}

bool AcceptsGzip(const HttpRequest& request) {
  const std::string accept = request.Header("Accept-Encoding");
  size_t at = accept.find("gzip");
  if (at == std::string::npos) return false;
  // "gzip;q=0" refuses it.
  const size_t end = accept.find(',', at);
  const std::string part = accept.substr(at, end == std::string::npos ? std::string::npos : end - at);
  const size_t q = part.find("q=");
  return q == std::string::npos || std::strtod(part.c_str() + q + 2, nullptr) > 0;
}

// If-None-Match lists the tag (or is "*"); weak comparison, as RFC 9110 asks for this header.
bool Matches(const std::string& ifNoneMatch, const std::string& tag) {
  if (ifNoneMatch.empty()) return false;
  if (ifNoneMatch.find('*') != std::string::npos) return true;
  const std::string_view bare(tag);
  for (size_t at = ifNoneMatch.find(bare); at != std::string::npos; at = ifNoneMatch.find(bare, at + 1)) {
    const size_t end = at + bare.size();
    if (end == ifNoneMatch.size() || ifNoneMatch[end] == ',' || ifNoneMatch[end] == ' ') return true;
  }
  return false;
}

HttpResponse Status(int status, const char* text) {
  HttpResponse r;
  r.Status = status;
  r.Body = std::string(text) + "\n";
  return r;
}

}  // namespace

std::string Gzip(std::string_view bytes) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::string out(deflateBound(&z, static_cast<uLong>(bytes.size())) + 32, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  const size_t produced = z.total_out;
  deflateEnd(&z);
  if (rc != Z_STREAM_END) return {};
  out.resize(produced);
  return out;
}

StaticFiles::StaticFiles(fs::path root) {
  std::error_code ec;
  root_ = fs::canonical(root, ec);
  if (ec || !fs::is_directory(root_)) throw std::runtime_error("not a folder: " + root.string());
}

std::string StaticFiles::MimeType(const fs::path& file) {
  const std::string ext = file.extension().string();
  if (ext == ".html" || ext == ".htm") return "text/html; charset=utf-8";
  if (ext == ".js" || ext == ".mjs") return "application/javascript; charset=utf-8";
  if (ext == ".wasm") return "application/wasm";
  if (ext == ".css") return "text/css; charset=utf-8";
  if (ext == ".json" || ext == ".map") return "application/json";
  if (ext == ".png") return "image/png";
  if (ext == ".jpg" || ext == ".jpeg") return "image/jpeg";
  if (ext == ".svg") return "image/svg+xml";
  if (ext == ".ico") return "image/x-icon";
  if (ext == ".txt") return "text/plain; charset=utf-8";
  return "application/octet-stream";  // .data and everything else
}

bool StaticFiles::HasContentHash(std::string_view name) {
  // A dot, at least 8 hex digits, a dot: "game.3f9a2c1d.wasm".
  for (size_t dot = name.find('.'); dot != std::string_view::npos; dot = name.find('.', dot + 1)) {
    size_t end = dot + 1;
    while (end < name.size() && std::isxdigit(static_cast<unsigned char>(name[end]))) ++end;
    if (end - dot - 1 >= 8 && end < name.size() && name[end] == '.') return true;
  }
  return false;
}

std::shared_ptr<const StaticFiles::Cached> StaticFiles::Load(const fs::path& file) const {
  std::error_code ec;
  const auto modified = fs::last_write_time(file, ec);
  const auto size = ec ? 0 : fs::file_size(file, ec);
  if (ec || size > kMaxFileBytes) return nullptr;
  const std::string key = file.string();
  {
    // One request reads (and compresses) a file; the others asking meanwhile wait for its copy
    // instead of each making one of their own.
    std::unique_lock lock(mutex_);
    while (true) {
      const auto it = cache_.find(key);
      if (it != cache_.end() && it->second->Modified == modified && it->second->Size == size) return it->second;
      if (!loading_.count(key)) break;
      loaded_.wait(lock);
    }
    loading_.insert(key);
  }
  struct Done {
    const StaticFiles* self;
    const std::string& key;
    ~Done() {
      std::lock_guard lock(self->mutex_);
      self->loading_.erase(key);
      self->loaded_.notify_all();
    }
  } done{this, key};
  std::ifstream in(file, std::ios::binary);
  if (!in) return nullptr;
  auto plain = std::make_shared<std::string>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.eof() && in.fail()) return nullptr;
  auto entry = std::make_shared<Cached>();
  entry->Modified = modified;
  entry->Size = size;
  if (Compressible(MimeType(file)) && plain->size() > 256) {
    // Compressed once per version of the file; served from memory afterwards.
    auto gz = std::make_shared<std::string>(Gzip(*plain));
    if (!gz->empty() && gz->size() < plain->size()) entry->Gzipped = std::move(gz);
  }
  entry->Tag = ETagOf(*plain);
  if (MimeType(file).rfind("text/html", 0) == 0) entry->PageHeaders = StaticPageHeaders(*plain);
  entry->Plain = std::move(plain);
  std::lock_guard lock(mutex_);
  const size_t bytes = entry->Plain->size() + (entry->Gzipped ? entry->Gzipped->size() : 0);
  if (cachedBytes_ + bytes > kMaxCacheBytes) {
    cache_.clear();
    cachedBytes_ = 0;
  }
  auto& slot = cache_[key];
  if (slot) cachedBytes_ -= slot->Plain->size() + (slot->Gzipped ? slot->Gzipped->size() : 0);
  slot = entry;
  cachedBytes_ += bytes;
  return entry;
}

HttpResponse StaticFiles::Serve(const HttpRequest& request) const {
  std::string_view target = request.Target;
  target = target.substr(0, target.find('?'));
  const auto decoded = UrlDecode(target);
  if (!decoded || decoded->empty() || decoded->front() != '/') return Status(400, "bad path");
  std::string relative = decoded->substr(1);
  if (relative.empty() || relative.back() == '/') relative += "index.html";
  // No parent steps, no NULs or backslashes, no hidden files: anything else is refused outright.
  if (relative.find('\0') != std::string::npos || relative.find('\\') != std::string::npos)
    return Status(400, "bad path");
  for (const auto& part : fs::path(relative)) {
    const std::string p = part.string();
    if (p == ".." || p == "." || (!p.empty() && p.front() == '.')) return Status(404, "not found");
  }
  std::error_code ec;
  fs::path file = fs::weakly_canonical(root_ / relative, ec);
  if (!ec && fs::is_directory(file)) file /= "index.html";
  // Symbolic links out of the folder are refused as well.
  const std::string rootText = root_.string() + "/";
  if (ec || file.string().rfind(rootText, 0) != 0 || !fs::is_regular_file(file, ec)) return Status(404, "not found");
  const auto entry = Load(file);
  if (!entry) return Status(404, "not found");

  HttpResponse r;
  r.ContentType = MimeType(file);
  r.Headers.emplace_back("Cache-Control",
                         HasContentHash(file.filename().string()) ? "public, max-age=31536000, immutable" : "no-cache");
  if (entry->Gzipped) r.Headers.emplace_back("Vary", "Accept-Encoding");
  for (const auto& header : entry->PageHeaders) r.Headers.push_back(header);
  const bool gzip = entry->Gzipped && AcceptsGzip(request);
  // Each encoding is its own representation, with its own tag.
  const std::string tag = gzip ? entry->Tag.substr(0, entry->Tag.size() - 1) + "-gz\"" : entry->Tag;
  r.Headers.emplace_back("ETag", tag);
  if (Matches(request.Header("If-None-Match"), tag)) {
    r.Status = 304;
    return r;
  }
  // Every reply of the file sends the one copy in memory.
  if (gzip) {
    r.Headers.emplace_back("Content-Encoding", "gzip");
    r.Shared = entry->Gzipped;
  } else {
    r.Shared = entry->Plain;
  }
  return r;
}

}  // namespace sf::scores
