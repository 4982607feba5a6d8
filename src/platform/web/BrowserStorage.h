#pragma once
#include <string>

namespace sf {

// The folder whose files survive a reload: an IndexedDB-backed file system mounted at `folder`.
// Mount reads what the last visit stored (the program waits for it); every fsync of a file or of
// the folder afterwards writes the whole folder back to IndexedDB before it returns, so a save
// that syncs is kept even when the tab closes right after. False when the browser keeps no
// storage: the folder then lives in memory, for this visit only.
bool MountPersistentFolder(const std::string& folder);

}  // namespace sf
