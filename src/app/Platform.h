#pragma once
// The main window is built on the platform's services; the bundle itself lives with them.
#include "platform/Platform.h"
