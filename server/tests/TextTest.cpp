// Conversions at the service's edges, the old file's import and the command line.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "Backends.h"
#include "Config.h"
#include "PagePolicy.h"
#include "RateLimiter.h"
#include "StaticFiles.h"
#include "Text.h"
#include "TextImport.h"

namespace sf::scores::testing {
namespace {

namespace fs = std::filesystem;

TEST(Text, NamesFromTheGameBecomeUtf8AndAreEscapedWhereShown) {
  EXPECT_EQ(Cp1252ToUtf8("J\xF6rg \x80\x81"), "J\xC3\xB6rg \xE2\x82\xAC\xEF\xBF\xBD");
  EXPECT_TRUE(IsCleanUtf8(Cp1252ToUtf8(std::string("\x80\x9F\xA0\xFF", 4))));
  EXPECT_FALSE(IsCleanUtf8("\xC3"));          // cut short
  EXPECT_FALSE(IsCleanUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(IsCleanUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(IsCleanUtf8("a\tb"));
  EXPECT_EQ(HtmlEscape("<script>alert('x')&\"</script>"), "&lt;script&gt;alert(&#39;x&#39;)&amp;&quot;&lt;/script&gt;");
  EXPECT_EQ(JsonEscape("a\"\\\n</script>"), "a\\\"\\\\\\u000a\\u003c/script\\u003e");
}

TEST(Text, QueryStrings) {
  const auto p = ParseQueryParams("prg=Saltfang&show&type=0&q=J%C3%B6rg+B&&empty=");
  ASSERT_TRUE(p);
  EXPECT_EQ(Param(*p, "show"), "");
  EXPECT_EQ(Param(*p, "q"), "J\xC3\xB6rg B");
  EXPECT_EQ(Param(*p, "empty"), "");
  EXPECT_FALSE(Param(*p, "none"));
  for (const char* bad : {"a=%", "a=%4", "a=%G0", "%=1"}) EXPECT_FALSE(ParseQueryParams(bad)) << bad;
  EXPECT_EQ(UrlDecode(UrlEncode("a b&c=d/\xC3\xB6")), "a b&c=d/\xC3\xB6");
  EXPECT_EQ(ParseCount("100", 100), 100);
  for (const char* bad : {"", "101", "-1", "+1", " 1", "1x", "99999999999999999999"})
    EXPECT_FALSE(ParseCount(bad, 100)) << bad;
}

TEST(Text, DaysAndWeeksStartAtUtcMidnightAndMonday) {
  const int64_t tuesday = 1700000000;  // 2023-11-14 22:13:20 UTC
  EXPECT_EQ(FormatIso(StartOfDay(tuesday)), "2023-11-14T00:00:00Z");
  EXPECT_EQ(FormatIso(StartOfWeek(tuesday)), "2023-11-13T00:00:00Z");
  EXPECT_EQ(StartOfWeek(StartOfWeek(tuesday)), StartOfWeek(tuesday));
  EXPECT_EQ(FormatIso(StartOfWeek(StartOfWeek(tuesday) - 1)), "2023-11-06T00:00:00Z");
}

TEST(RateLimiter, BurstThenSteadyRateAndABoundedTable) {
  RateLimiter limit(60, 2, 2);  // one a second, two at once, two clients remembered
  EXPECT_TRUE(limit.Allow("a", 0));
  EXPECT_TRUE(limit.Allow("a", 0));
  EXPECT_FALSE(limit.Allow("a", 0));
  EXPECT_FALSE(limit.Allow("a", 999));
  EXPECT_TRUE(limit.Allow("a", 1000));
  EXPECT_TRUE(limit.Allow("b", 1000));
  EXPECT_FALSE(limit.Allow("c", 1000));  // table full of busy clients: strangers wait
  EXPECT_TRUE(limit.Allow("c", 10000));  // refilled clients are forgotten to make room
  RateLimiter off(0, 1);
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(off.Allow("a", 0));
}

TEST(RateLimiter, ACostlyRequestTakesItsCostAndOneAboveTheBurstLeavesADebt) {
  RateLimiter rows(600, 100);  // ten a second, a hundred at once
  EXPECT_TRUE(rows.Allow("a", 0, 60));
  EXPECT_FALSE(rows.Allow("a", 0, 50));
  EXPECT_TRUE(rows.Allow("a", 0, 40));
  EXPECT_FALSE(rows.Allow("a", 0, 1));
  EXPECT_TRUE(rows.Allow("b", 0, 300)) << "more than the burst: taken from a full bucket";
  EXPECT_FALSE(rows.Allow("b", 10000, 1)) << "200 owed, 100 back: still owing";
  EXPECT_FALSE(rows.Allow("b", 29999, 100));
  EXPECT_TRUE(rows.Allow("b", 30000, 100)) << "full again after the debt is paid";
}

TEST(Config, FlagsWinOverTheEnvironment) {
  std::map<std::string, std::string> env = {{"SALTFANG_LISTEN", "0.0.0.0:9000"},
                                            {"SALTFANG_DB", "postgresql://x@db/scores"},
                                            {"SALTFANG_MAX_SCORE", "5000"},
                                            {"SALTFANG_TRUSTED_PROXY", "10.0.0.2"},
                                            {"SALTFANG_RATE_REPLAY", "120"}};
  const auto getenv = [&](const char* name) -> std::optional<std::string> {
    const auto it = env.find(name);
    return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  Config c = ParseConfig({"--listen", "127.0.0.1:7000", "--web=/srv/web"}, getenv);
  EXPECT_EQ(c.Command, "serve");
  EXPECT_EQ(c.ListenHost, "127.0.0.1");
  EXPECT_EQ(c.ListenPort, 7000);
  EXPECT_EQ(c.Database, "postgresql://x@db/scores");
  EXPECT_EQ(c.Service.MaxScore, 5000);
  EXPECT_EQ(c.Service.TrustedProxy, "10.0.0.2");
  EXPECT_EQ(c.Limits.UncappedPeer, "10.0.0.2");
  EXPECT_EQ(c.WebDir, "/srv/web");
  EXPECT_EQ(c.Service.ReplayPerMinute, 120);
  EXPECT_EQ(c.Service.ReplayBurst, 60);
  EXPECT_EQ(ParseConfig({"--rate-replay", "0"}, getenv).Service.ReplayPerMinute, 0) << "the flag wins";
  const auto none = [](const char*) { return std::optional<std::string>(); };
  c = ParseConfig({}, none);
  EXPECT_EQ(c.Database, "sqlite:scores.db");
  EXPECT_EQ(c.ListenPort, 8765);
  EXPECT_EQ(c.Service.UploadBytesPerDay, 32 << 20);
  EXPECT_EQ(c.Service.KeepUnverifiedDays, 30);
  c = ParseConfig({"--upload-bytes-per-day", "0", "--keep-unverified-days=7", "--max-pending-heads", "99"}, none);
  EXPECT_EQ(c.Service.UploadBytesPerDay, 0);
  EXPECT_EQ(c.Service.KeepUnverifiedDays, 7);
  EXPECT_EQ(c.Limits.MaxPendingHeads, 99);
  c = ParseConfig({"remove", "42", "--db", "sqlite:/tmp/x.db"}, none);
  EXPECT_EQ(c.Command, "remove");
  EXPECT_EQ(c.Arguments, std::vector<std::string>{"42"});
  EXPECT_EQ(ParseConfig({"--help"}, none).Command, "help");
  EXPECT_EQ(ParseConfig({"list", "--version"}, none).Command, "version");
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--listen", "8765"},
                                              {"--listen", "h:70000"},
                                              {"--max-score", "-1"},
                                              {"--rate-replay", "many"},
                                              {"--keep-unverified-days", "-1"},
                                              {"--max-pending-heads", "0"},
                                              {"--bogus"},
                                              {"frobnicate"},
                                              {"import"},
                                              {"remove", "1", "2"},
                                              {"--db"}})
    EXPECT_THROW(ParseConfig(bad, none), std::invalid_argument) << bad[0];
  EXPECT_NE(HelpText().find("SALTFANG_TRUSTED_PROXY"), std::string::npos);
  EXPECT_NE(HelpText().find("SALTFANG_RATE_REPLAY"), std::string::npos);
}

using ImportTest = BackendTest;

TEST_P(ImportTest, OldTextFileComesInWithoutItsOldLimits) {
  const fs::path file = fs::temp_directory_path() / ("sf_import_" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(file, std::ios::binary);
    out << "1700000000\t1200\tBob\tAnonymous\n"
        << "garbage line\n1\t2\n"
        << "1700000001\t-5\tNeg\tx\n"
        << "1700000002\t77\tJ\xF6rg\t\r\n";
    for (int i = 0; i < 25000; ++i) out << 1600000000 + i << "\t" << i << "\tN" << i << "\tP\n";
    out << "1700000003\t99\tTorn";  // the last append was cut short
  }
  const ImportCount n = ImportTextFile(*store_, file);
  fs::remove(file);
  EXPECT_EQ(n.Added, 25002);
  EXPECT_EQ(n.Skipped, 4);
  ListQuery q;
  q.NameContains = "rg";
  const auto found = store_->List(q).Results;
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Name, "J\xC3\xB6rg");
  EXPECT_EQ(found[0].PlayerName, "");
  EXPECT_EQ(found[0].Time, 1700000002);
  EXPECT_THROW(ImportTextFile(*store_, "/nonexistent/scores.txt"), std::runtime_error);
}

SF_BOTH_DATABASES(ImportTest);

class StaticFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("sf_web_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "assets");
    Write("index.html", "<!DOCTYPE html><title>Salt Fang</title>" + std::string(2000, ' '));
    Write("game.0123abcd.wasm", std::string("\0asm", 4) + std::string(5000, 'w'));
    Write("game.js", std::string(3000, ';'));
    Write("assets/sprites.png", std::string(400, 'p'));
    Write(".secret", "no");
    std::ofstream(root_.parent_path() / ("sf_outside_" + std::to_string(::getpid()))) << "outside";
    fs::create_symlink(root_.parent_path() / ("sf_outside_" + std::to_string(::getpid())), root_ / "link.txt");
  }
  void TearDown() override {
    fs::remove_all(root_);
    fs::remove(root_.parent_path() / ("sf_outside_" + std::to_string(::getpid())));
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
  }
  static HttpRequest Get(const std::string& target, const std::string& encoding = "") {
    HttpRequest r;
    r.Method = "GET";
    r.Target = target;
    if (!encoding.empty()) r.Headers.emplace_back("Accept-Encoding", encoding);
    return r;
  }
  static std::string Header(const HttpResponse& r, const std::string& name) {
    for (const auto& [n, v] : r.Headers)
      if (n == name) return v;
    return "";
  }
  static std::string Gunzip(const std::string& gz) {
    z_stream z{};
    inflateInit2(&z, 15 + 16);
    std::string out(1 << 20, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gz.data()));
    z.avail_in = static_cast<uInt>(gz.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
  }
  fs::path root_;
};

TEST_F(StaticFilesTest, TypesCompressionAndCaching) {
  StaticFiles web(root_);
  const HttpResponse index = web.Serve(Get("/"));
  EXPECT_EQ(index.Status, 200);
  EXPECT_EQ(index.ContentType, "text/html; charset=utf-8");
  EXPECT_EQ(Header(index, "Cache-Control"), "no-cache");
  EXPECT_EQ(Header(index, "Content-Encoding"), "");

  const HttpResponse wasm = web.Serve(Get("/game.0123abcd.wasm?v=1", "deflate, gzip;q=0.8"));
  EXPECT_EQ(wasm.ContentType, "application/wasm");
  EXPECT_EQ(Header(wasm, "Cache-Control"), "public, max-age=31536000, immutable");
  EXPECT_EQ(Header(wasm, "Content-Encoding"), "gzip");
  EXPECT_LT(wasm.Bytes().size(), 5004u);
  EXPECT_EQ(Gunzip(wasm.Bytes()), std::string("\0asm", 4) + std::string(5000, 'w'));
  EXPECT_EQ(web.Serve(Get("/game.0123abcd.wasm", "gzip;q=0")).Bytes().size(), 5004u);  // refused gzip

  EXPECT_EQ(web.Serve(Get("/game.js")).ContentType, "application/javascript; charset=utf-8");
  EXPECT_EQ(Header(web.Serve(Get("/game.js")), "Cache-Control"), "no-cache");
  EXPECT_EQ(web.Serve(Get("/assets/sprites.png", "gzip")).ContentType, "image/png");
  EXPECT_EQ(Header(web.Serve(Get("/assets/sprites.png", "gzip")), "Content-Encoding"), "");  // already compressed
  EXPECT_EQ(StaticFiles::MimeType("x.data"), "application/octet-stream");
  EXPECT_EQ(StaticFiles::MimeType("x.css"), "text/css; charset=utf-8");
  EXPECT_EQ(StaticFiles::MimeType("x.json"), "application/json");
  EXPECT_FALSE(StaticFiles::HasContentHash("game.0123abc.wasm"));  // seven digits
  EXPECT_FALSE(StaticFiles::HasContentHash("game.0123abcdz.wasm"));

  // A changed file is served anew, not from the compressed copy in memory.
  Write("game.js", std::string(4000, '/'));
  EXPECT_EQ(Gunzip(web.Serve(Get("/game.js", "gzip")).Bytes()), std::string(4000, '/'));
}

// An HTML page of the browser build may run its own scripts and the inline ones it holds, each
// allowed by its hash, and nothing else; no site may frame it. Other files carry no page policy.
TEST_F(StaticFilesTest, PagesRunOnlyTheirOwnScripts) {
  const std::string inline1 = "\n  var Module = {canvas: 1};\n", inline2 = "go()";
  Write("page.html", "<!DOCTYPE html><html><head><script>" + inline1 +
                         "</script><script async src=\"saltfang.js\"></script></head><body>"
                         "<canvas id=c oncontextmenu=\"event.preventDefault()\"></canvas><!-- <script>no</script> -->"
                         "<SCRIPT type=\"text/javascript\">" +
                         inline2 + "</SCRIPT></body></html>");
  StaticFiles web(root_);
  const HttpResponse page = web.Serve(Get("/page.html"));
  const std::string policy = Header(page, "Content-Security-Policy");
  EXPECT_NE(policy.find("script-src 'self' 'wasm-unsafe-eval' "), std::string::npos) << policy;
  EXPECT_NE(policy.find(CspHash(inline1)), std::string::npos) << policy;
  EXPECT_NE(policy.find(CspHash(inline2)), std::string::npos) << policy;
  EXPECT_NE(policy.find("'unsafe-hashes' " + CspHash("event.preventDefault()")), std::string::npos) << policy;
  EXPECT_EQ(policy.find(CspHash("no")), std::string::npos) << policy;
  EXPECT_EQ(policy.find("'unsafe-inline'", policy.find("script-src")),
            policy.find("'unsafe-inline'", policy.find("style-src")));
  EXPECT_NE(policy.find("frame-ancestors 'none'"), std::string::npos);
  EXPECT_NE(policy.find("object-src 'none'"), std::string::npos);
  EXPECT_EQ(Header(page, "X-Frame-Options"), "DENY");
  EXPECT_EQ(Header(web.Serve(Get("/game.js")), "Content-Security-Policy"), "");

  // The hashes are SHA-256 (FIPS 180-4's examples), in base64.
  EXPECT_EQ(CspHash(""), "'sha256-47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU='");
  EXPECT_EQ(CspHash("abc"), "'sha256-ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0='");
  EXPECT_EQ(CspHash(std::string(1000000, 'a')), "'sha256-zcduXJkU+5KBocfihNc+Z/GAmkiklyAOBG05zMcRLNA='");
  EXPECT_EQ(CspHash("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "'sha256-JI1qYdIGOLjlwCaTDD5gOaM85Flk/yFn9uzt1BnbBsE='");
}

TEST_F(StaticFilesTest, RevalidationAnswersNotModified) {
  StaticFiles web(root_);
  const HttpResponse first = web.Serve(Get("/game.js", "gzip"));
  const std::string tag = Header(first, "ETag");
  ASSERT_FALSE(tag.empty());
  EXPECT_EQ(Header(web.Serve(Get("/game.js", "gzip")), "ETag"), tag);  // stable across requests
  const std::string plainTag = Header(web.Serve(Get("/game.js")), "ETag");
  EXPECT_NE(plainTag, tag);  // the uncompressed bytes are another representation

  auto revalidate = [&](const std::string& ifNoneMatch, const std::string& encoding) {
    HttpRequest r = Get("/game.js", encoding);
    r.Headers.emplace_back("If-None-Match", ifNoneMatch);
    return web.Serve(r);
  };
  const HttpResponse same = revalidate(tag, "gzip");
  EXPECT_EQ(same.Status, 304);
  EXPECT_TRUE(same.Bytes().empty());
  EXPECT_EQ(Header(same, "ETag"), tag);
  EXPECT_EQ(revalidate("\"other\", W/" + tag, "gzip").Status, 304);
  EXPECT_EQ(revalidate(tag, "").Status, 200);                   // a gzip tag does not validate the plain bytes
  EXPECT_EQ(revalidate(tag.substr(0, 5), "gzip").Status, 200);  // a prefix of the tag is another tag

  // A changed file gets a new tag, so the old one fetches it again.
  Write("game.js", std::string(3500, '/'));
  const HttpResponse changed = revalidate(tag, "gzip");
  EXPECT_EQ(changed.Status, 200);
  EXPECT_NE(Header(changed, "ETag"), tag);
  EXPECT_EQ(Gunzip(changed.Bytes()), std::string(3500, '/'));
}

TEST_F(StaticFilesTest, NothingOutsideTheFolder) {
  StaticFiles web(root_);
  for (const char* bad : {"/../sf_outside", "/assets/../../etc/passwd", "/%2e%2e/etc/passwd", "/assets/%2E%2E/%2E%2E/x",
                          "/.secret", "/link.txt", "/missing.js", "/assets"}) {
    const int status = web.Serve(Get(bad)).Status;
    EXPECT_TRUE(status == 404 || status == 400) << bad << " " << status;
  }
  EXPECT_EQ(web.Serve(Get("/a%00b")).Status, 400);
  EXPECT_EQ(web.Serve(Get("/a\\..\\b")).Status, 400);
  EXPECT_THROW(StaticFiles(root_ / "missing"), std::runtime_error);
}

}  // namespace
}  // namespace sf::scores::testing
