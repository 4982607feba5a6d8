#pragma once
#include "XmWriter.h"

// The two compositions: the calm menu theme ("1.xm") and the driving game theme ("2.xm"). Each
// plays its patterns once in order, one pattern per order, and loops back to order 0.
namespace assetgen::music {

xm::Module ComposeMenuTheme();
xm::Module ComposeGameTheme();

}  // namespace assetgen::music
