// The fake window is header-only; this file keeps the fake platform library non-empty.
#include "platform/fake/FakeWindow.h"
