// The ".url" shortcut files the program opens after closing ("Play.url"): which address is read
// from them, and which names count as shortcuts.
#include <gtest/gtest.h>

#include <string>

#include "platform/UrlShortcut.h"

namespace sf {
namespace {

TEST(UrlShortcut, ReadsTheTrimmedAddressOfTheShortcutSection) {
  EXPECT_EQ(UrlOfShortcut("[InternetShortcut]\r\nURL=http://example.test/play\r\n"), "http://example.test/play");
  EXPECT_EQ(UrlOfShortcut("  [InternetShortcut]  \n  URL=  http://a.test/x?y=1  \n"), "http://a.test/x?y=1");
  EXPECT_EQ(UrlOfShortcut("[InternetShortcut]\nURL=http://no.newline.test"), "http://no.newline.test");
  // Key and section names in any case, as Windows writes and reads them.
  EXPECT_EQ(UrlOfShortcut("[internetshortcut]\nurl=http://lower.test\n"), "http://lower.test");
  // The value keeps its own '=' and case.
  EXPECT_EQ(UrlOfShortcut("[InternetShortcut]\nURL=http://A.test/?k=V\n"), "http://A.test/?k=V");
}

TEST(UrlShortcut, OtherSectionsAndKeysAreIgnoredAndTheFirstAddressWins) {
  const std::string file =
      "[DEFAULT]\r\nBASEURL=http://base.test\r\nURL=http://default-section.test\r\n"
      "[InternetShortcut]\r\nIconIndex=0\r\nURL=http://first.test\r\nURL=http://second.test\r\n"
      "[Other]\r\nURL=http://other.test\r\n";
  EXPECT_EQ(UrlOfShortcut(file), "http://first.test");
  EXPECT_EQ(UrlOfShortcut("[Other]\nURL=http://other.test\n"), std::nullopt) << "no shortcut section";
  // A file without sections is read as a whole.
  EXPECT_EQ(UrlOfShortcut("IconIndex=0\nURL=http://loose.test\n"), "http://loose.test");
  EXPECT_EQ(UrlOfShortcut("BASEURL=http://base.test\nMYURL=http://my.test\n"), std::nullopt)
      << "only a line starting with URL= names the address";
}

TEST(UrlShortcut, MissingEmptyOrDamagedFilesGiveNoAddress) {
  EXPECT_EQ(UrlOfShortcut(""), std::nullopt);
  EXPECT_EQ(UrlOfShortcut("\n\r\n   \n"), std::nullopt);
  EXPECT_EQ(UrlOfShortcut("[InternetShortcut]\n"), std::nullopt);
  EXPECT_EQ(UrlOfShortcut("[InternetShortcut]\nURL=   \nURL=http://later.test\n"), std::nullopt)
      << "the first URL= line decides, and an empty one names no address";
  const std::string junk("\0\xff[\x01URL\n=\0\n[", 13);
  EXPECT_EQ(UrlOfShortcut(junk), std::nullopt);
  EXPECT_EQ(UrlOfShortcut("URL="), std::nullopt);
}

TEST(UrlShortcut, OnlyNamesEndingInDotUrlAreShortcuts) {
  for (const char* name : {"Play.url", "PLAY.URL", "sound/More.Url", ".url"}) {
    EXPECT_TRUE(IsUrlShortcutName(name)) << name;
  }
  for (const char* name : {"", "url", ".ur", "Play.url.exe", "Play_url", "wgame.exe", "Play.urls"}) {
    EXPECT_FALSE(IsUrlShortcutName(name)) << name;
  }
}

}  // namespace
}  // namespace sf
