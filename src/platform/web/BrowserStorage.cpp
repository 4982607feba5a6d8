#include "platform/web/BrowserStorage.h"

#include <emscripten.h>

namespace sf {
namespace {

// The formatter does not know JavaScript.
// clang-format off
EM_ASYNC_JS(int, saltfang_mount_idbfs, (const char* folder), {
  const path = UTF8ToString(folder);
  try {
    FS.mkdirTree(path);
    FS.mount(IDBFS, {}, path);
  } catch (e) {
    console.error('Salt Fang: cannot mount the saved files: ' + e);
    return 0;
  }
  const read = await new Promise((resolve) => FS.syncfs(true, (err) => {
    if (err) console.error('Salt Fang: cannot read the saved files: ' + err);
    resolve(!err);
  }));
  // Without working storage the folder stays in memory, so saves do not fail on every sync.
  if (!read) FS.unmount(path);
  return read ? 1 : 0;
});
// clang-format on

}  // namespace

bool MountPersistentFolder(const std::string& folder) { return saltfang_mount_idbfs(folder.c_str()) != 0; }

}  // namespace sf
