#pragma once
#include <cstdint>

// Watching a world result's replay in the browser (the page's ?watch=ID): fetches the replay from
// the service that served the page and plays it with the game's pictures, sound and music, with
// the page's controls around the picture. id below 1: the address named no valid id, which the
// page is told in one sentence. The browser owns the loop from here on.
void WatchInBrowser(int64_t id);
