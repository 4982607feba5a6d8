#pragma once
// The program's icon: the player's warship on a sea-blue steel badge, for the desktop's icon theme
// and the Windows executable.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// The square sizes of the theme's PNG icons, and the images the Windows icon file holds.
inline constexpr std::array<int, 8> kAppIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};
inline constexpr std::array<int, 6> kAppIconIcoSizes = {16, 24, 32, 48, 64, 256};

// The icon at `size` x `size` pixels as a PNG file with alpha. Small sizes get a simpler drawing.
std::vector<uint8_t> AppIconPng(int size);
// The same drawing as a scalable SVG document, 256 pixels square.
std::vector<uint8_t> AppIconSvg();
// A Windows .ico file holding kAppIconIcoSizes.
std::vector<uint8_t> AppIconIco();
// An .ico file holding the given sizes (at most 256), smallest first.
std::vector<uint8_t> AppIconIco(const std::vector<int>& sizes);

// The web page's icons: the favicon's sizes, and the square PNGs of its manifest. A "full-bleed"
// icon is opaque to its edges, the badge inside the circle a launcher may cut out of it (the
// manifest's "maskable" purpose, and the home-screen icon of phones that round it themselves).
inline constexpr std::array<int, 3> kFaviconSizes = {16, 32, 48};
std::vector<uint8_t> AppIconFullBleedPng(int size);

// Writes <folder>/hicolor/<N>x<N>/apps/saltfang.png for every size,
// <folder>/hicolor/scalable/apps/saltfang.svg and <folder>/saltfang.ico.
void WriteAppIcons(const std::string& folder);
// Writes the web page's icons into <folder>: favicon.ico, icon-192.png, icon-512.png,
// maskable-512.png and apple-touch-icon.png (180 pixels, full-bleed).
void WriteWebIcons(const std::string& folder);

}  // namespace assetgen
