#pragma once
// The size of every picture in the image pack. The asset generator draws each picture at this
// size and the game places, clips and collides its sprites by it.
#include <array>
#include <cstdint>

#include "layout/MenuLayout.h"

namespace sf {

struct ImageSize {
  int32_t Width;
  int32_t Height;
  bool operator==(const ImageSize&) const = default;
};

// Game images 0..41 are pack entries 0..41; 15, 16 and 32 are spare tiles.
inline constexpr std::array<ImageSize, 42> kGameImageSizes{{
    {118, 600}, {118, 600}, {32, 32},   {28, 144},  {61, 305},  {123, 247}, {78, 210}, {62, 139}, {77, 191},
    {72, 176},  {1024, 64}, {1024, 64}, {1024, 64}, {1024, 64}, {1024, 64}, {16, 16},  {16, 16},  {24, 88},
    {30, 111},  {34, 136},  {47, 146},  {23, 28},   {47, 224},  {50, 55},   {73, 72},  {76, 103}, {12, 24},
    {14, 25},   {18, 24},   {7, 14},    {7, 14},    {7, 27},    {16, 16},   {61, 305}, {24, 23},  {24, 23},
    {24, 23},   {24, 23},   {23, 23},   {24, 23},   {24, 23},   {23, 23},
}};

// Menu image k is pack entry 42 + k; 22, 26..28 and 30..33 are spare tiles.
inline constexpr std::array<ImageSize, 34> kMenuImageSizes{{
    {800, 600}, {224, 42},  {160, 49},  {222, 40}, {96, 49},   {261, 42},  {83, 39},  {107, 19}, {166, 19},
    {205, 30},  {496, 345}, {121, 21},  {178, 21}, {496, 345}, {496, 345}, {102, 21}, {66, 21},  {36, 19},
    {48, 19},   {420, 200}, {120, 200}, {800, 1},  {16, 16},   {110, 49},  {48, 40},  {170, 49}, {16, 16},
    {16, 16},   {16, 16},   {800, 600}, {16, 16},  {16, 16},   {16, 16},   {16, 16},
}};

// Which pictures have transparent (magenta) pixels: the program draws these with the colour key
// (of the game images, all but the health bar and the sea tile).
inline constexpr bool GameImageKeyed(int k) { return k != 3 && k != 5; }
inline constexpr bool MenuImageKeyed(int k) { return k == menuImgAbout || k == menuImgTitle; }

}  // namespace sf
