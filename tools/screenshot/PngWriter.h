#pragma once
#include <string>

#include "gfx/Surface.h"

// Writes the surface as a PNG file; false when it cannot be written.
bool WritePng(const sf::Surface& surface, const std::string& path);
