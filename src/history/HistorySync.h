// Keeps the history shown in step with a history folder that other machines write too: the folder is
// watched, and what another machine added, deleted or pinned there is added, removed or pinned here,
// without the clipboard or the focus. This machine's own writes change nothing here.
#pragma once

#include <windows.h>

namespace history {

// The message the watcher posts to the window; the window hands it to ApplyFolderListing.
const UINT kFolderListedMessage = WM_APP + 0x53;

// Watches the history store's folder for window. False when the folder cannot be watched.
bool StartHistorySync(HWND window);
void StopHistorySync();
bool HistorySyncRunning();
// Merges a listing the watcher posted (it owns lParam); true when the clips changed.
bool ApplyFolderListing(LPARAM listed);

}  // namespace history
