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

// Writes <folder>/hicolor/<N>x<N>/apps/saltfang.png for every size,
// <folder>/hicolor/scalable/apps/saltfang.svg and <folder>/saltfang.ico.
void WriteAppIcons(const std::string& folder);

}  // namespace assetgen
