#pragma once
// Pieces shared by the ship, aircraft and gun pictures (top views).
#include <cairo.h>

#include <cstdint>

namespace assetgen::gameart {

// The concrete of an island's gun clearing, the colour the gun emplacement's edges blend into.
inline constexpr uint32_t kClearingConcrete = 0x90928C;

struct HullStyle {
  double Cx;      // keel line
  double SternY;  // the bow may point up (BowY < SternY) or down
  double BowY;
  double Half;  // half the beam
  uint32_t Side;
  uint32_t Deck;
  bool Planks;  // a wooden deck
};

void HullPath(cairo_t* cr, double cx, double sternY, double bowY, double half);
void Hull(cairo_t* cr, const HullStyle& style);
void Foam(cairo_t* cr, double x, double y, double r, double alpha);
// Foam trailing `len` pixels from y0 in direction dir (+1 down, -1 up), spreading sideways.
void Wake(cairo_t* cr, double cx, double y0, double dir, double len, double spread, int seed);
// Foam along both sides of a bow at bowY pointing in direction dir.
void BowWave(cairo_t* cr, double cx, double bowY, double dir, double half, double len, int seed);
// The ring a turning gun stands on; the gun's pivot is its centre.
void MountRing(cairo_t* cr, double x, double y, double r);
void Block(cairo_t* cr, double x, double y, double w, double h, uint32_t colour, double radius);
void Funnel(cairo_t* cr, double x, double y, double rx, double ry, uint32_t band);
void FixedTurret(cairo_t* cr, double x, double y, double r, int barrels, double dir, uint32_t colour);

// Aircraft and the island gun (GameArtAircraft.cpp).
void IslandGun(cairo_t* cr);
void Bomber(cairo_t* cr, double top, int frame);
void Helicopter(cairo_t* cr);
void SupplyPlane(cairo_t* cr);

}  // namespace assetgen::gameart
