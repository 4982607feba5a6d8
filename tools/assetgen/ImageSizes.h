#pragma once

namespace assetgen {

struct Size {
  int Width;
  int Height;
};

// Sizes of the 76 pack entries: game images 0..41 are entries 0..41, menu image k is entry 42 + k.
// Sizes follow the places and frame layouts where the program draws them.
inline constexpr Size kGameImageSizes[42] = {
    {118, 600}, {118, 600}, {32, 32},   {28, 144},  {61, 305},  {123, 247}, {78, 210},  {62, 139},  {77, 191},
    {72, 176},  {1024, 64}, {1024, 64}, {1024, 64}, {1024, 64}, {1024, 64}, {16, 16},   {16, 16},   {24, 88},
    {30, 111},  {34, 136},  {47, 146},  {23, 28},   {47, 224},  {50, 55},   {73, 72},   {76, 103},  {12, 24},
    {14, 25},   {18, 24},   {7, 14},    {7, 14},    {7, 27},    {16, 16},   {61, 305},  {24, 23},   {24, 23},
    {24, 23},   {24, 23},   {23, 23},   {24, 23},   {24, 23},   {23, 23},
};

inline constexpr Size kMenuImageSizes[34] = {
    {800, 600}, {224, 42}, {160, 49}, {222, 40}, {96, 49},  {261, 42},  {83, 39},   {107, 19}, {166, 19},
    {205, 30},  {496, 345}, {121, 21}, {178, 21}, {496, 345}, {496, 345}, {102, 21}, {66, 21},  {36, 19},
    {48, 19},   {420, 200}, {120, 200}, {800, 1},  {16, 16},   {110, 49},  {48, 40},  {170, 49}, {16, 16},
    {16, 16},   {16, 16},   {800, 600}, {16, 16},  {16, 16},   {16, 16},   {16, 16},
};

// Which pictures are drawn with the colour key (transparent pixels magenta).
inline constexpr bool GameImageKeyed(int k) { return k != 3 && k != 5; }
inline constexpr bool MenuImageKeyed(int k) { return k == 20 || k == 29; }

}  // namespace assetgen
