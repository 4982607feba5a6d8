// saltfang-scores [port] [data-file]: the local online score service on 127.0.0.1.
#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <exception>
#include <string_view>

#include "LoopbackServer.h"
#include "ScoreService.h"

int main(int argc, char** argv) {
  uint16_t port = 8765;
  const char* dataFile = "scores.txt";
  if (argc > 3 || (argc > 1 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help"))) {
    std::fprintf(stderr, "usage: %s [port (default 8765, 0 = any free)] [data file (default scores.txt)]\n", argv[0]);
    return 2;
  }
  if (argc > 1) {
    const std::string_view text = argv[1];
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc() || end != text.data() + text.size()) {
      std::fprintf(stderr, "not a port number: %s\n", argv[1]);
      return 2;
    }
  }
  if (argc > 2) dataFile = argv[2];
  std::signal(SIGPIPE, SIG_IGN);
  try {
    sf::scores::ScoreStore store(dataFile);
    sf::scores::ScoreService service(store, sf::scores::SystemRandomId,
                                     [] { return static_cast<int64_t>(std::time(nullptr)); });
    sf::scores::LoopbackServer server(port);
    std::printf("Salt Fang score service on http://127.0.0.1:%u (results in %s, %zu so far)\n",
                static_cast<unsigned>(server.Port()), dataFile, store.All().size());
    std::fflush(stdout);
    const std::atomic<bool> never{false};  // ends with the process (Ctrl+C); every result is on disk already
    server.Run([&](const sf::scores::HttpRequest& r) { return service.Handle(r); }, never);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "saltfang-scores: %s\n", e.what());
    return 1;
  }
  return 0;
}
