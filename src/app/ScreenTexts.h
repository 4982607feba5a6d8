#pragma once
#include <cstdint>

namespace sf {

// One fixed line of a page: where it goes and what it says.
struct PlacedText {
  int32_t X;
  int32_t Y;
  const char* Text;
};

// "GAME OVERVIEW" page.
inline constexpr PlacedText kOverviewLines[] = {
    {340, 200, "A line boat that was on an intercontinental cruise"},
    {320, 220, "was hijacked. There were a lot of rich people aboard."},
    {320, 240, "The terrorists who have a lot of military vessels at their"},
    {320, 260, "disposal hijacked this watercraft. Your mission is to"},
    {320, 280, "destroy all of the terrorists and save hostages lives. "},
    {340, 300, "An armed ship is your sword of justice. From time to "},
    {320, 320, "time you are supplied with ammunitions from the air.If"},
    {320, 340, "you collect different objects, you will get additional"},
    {320, 360, "arms and scores."},
};

// "MENU NAVIGATIONS" and "GAME NAVIGATIONS" page.
inline constexpr PlacedText kMenuNavigationLines[] = {
    {320, 200, "Use the cursor keys or mouse to move the menu cursor"},
    {320, 215, "up and down. Press the \"Enter\" key or any mouse button"},
    {320, 230, "to enter menu options. Press the \"Left Arrow\", \"Right"},
    {320, 245, "Arrow\", \"Enter\" keys or any mouse button to change a"},
    {320, 260, "menu option. Press \"Esc\" to back from the submenu to"},
    {320, 275, "Main Menu"},
};
inline constexpr PlacedText kGameNavigationLines[] = {
    {320, 330, "Use the arrow keys or mouse to move the spaceship and"},
    {320, 345, "rotate the gun. Press \"Ctrl\" key or left mouse button"},
    {320, 360, "to fire. Press \"Space\" key or mouse wheel to change the"},
    {320, 375, "gun. Use \"P\" to pause or resume the game. Use \"Escape\""},
    {320, 390, "key to quit the game to Main Menu. Use \"Alt\"+\"Enter\""},
    {320, 405, "keys to change window/full screen modes."},
};

// "Enemies" and "Bonuses" page.
inline constexpr PlacedText kEnemyLines[] = {
    {330, 200, "Cutter        - 15 scores"}, {330, 220, "Destroyer  - 25 scores"},
    {330, 240, "Crulser      - 50 scores"},  {330, 260, "BattleShip - 75 scores"},
    {330, 280, "Bomber     - 25 scores"},    {330, 300, "Helicopter - 50 scores"},
};
struct BonusLegendRow {
  int32_t IconY;
  int32_t GameImage;
  int32_t LabelY;
  const char* Label;
};
inline constexpr BonusLegendRow kBonusLegend[] = {
    {200, 35, 205, "Gun"},           {225, 37, 230, "Gun 2x"}, {250, 34, 255, "Rocket"}, {275, 36, 280, "Rocket 3x"},
    {300, 38, 305, "First-aid set"}, {325, 39, 330, "Ice"},    {350, 40, 355, "Coins"},  {375, 41, 380, "Mega-Bomb"},
};

// "ABOUT" page: the title line and the two notice lines.
inline constexpr const char* kAboutTitle = "Salt Fang v.2.0";
inline constexpr const char* kAboutNotice1 = "Free naval arcade action";
inline constexpr const char* kAboutNotice2 = "Thanks for playing!";

}  // namespace sf
