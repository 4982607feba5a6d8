#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sf::scores {

// The headers every HTML page of the service goes out with: what it may load and run
// (Content-Security-Policy), that no other site may frame it, that its type is not to be guessed.
using PageHeaders = std::vector<std::pair<std::string, std::string>>;

// The world page: the service's own markup and style, no script at all, forms to itself only.
PageHeaders WorldPageHeaders();

// A page of the browser build: its own scripts and the inline ones it holds (each allowed by its
// hash, as are its inline event handlers), WebAssembly, same-origin requests, pictures and sound
// from its own files or from memory, and nothing framed or framing it.
PageHeaders StaticPageHeaders(std::string_view html);

// "sha256-<base64>": a CSP source of the bytes' SHA-256.
std::string CspHash(std::string_view bytes);

}  // namespace sf::scores
