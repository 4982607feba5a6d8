// libFuzzer target: any bytes as a request head, and as the symbols or the plain record of a
// submission. The service must answer or refuse, never crash or store an unstorable name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "HttpMessage.h"
#include "ResultRecord.h"
#include "ScoreService.h"
#include "ScoreStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const auto record = sf::scores::ParseResultRecord(input)) {
    if (!sf::scores::IsStorableName(record->Name) || record->Score < 0) std::abort();
  }
  (void)sf::scores::DecodeSubmission(input);

  static sf::scores::ScoreStore store("/dev/null");
  static sf::scores::ScoreService service(store, [] { return std::string(32, 'A'); }, [] { return int64_t{0}; });
  if (const auto request = sf::scores::ParseHttpRequest(input)) (void)service.Handle(*request);
  sf::scores::HttpRequest submission{"GET", "/cgi/version.pl?hs&prg=Saltfang&inf=" + std::string(input),
                                     "sfsid=" + std::string(32, 'A'), {}};
  (void)service.Handle(submission);
  return 0;
}
