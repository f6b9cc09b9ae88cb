// The clip-kind icons the clip list draws: 1 text, 2 picture, 3 rich text, 4 file list; 5 a lock, for a clip
// that looks like a credential.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace mainwindow {

enum ClipKindIcon { kIconText = 1, kIconPicture = 2, kIconRichText = 3, kIconFileList = 4, kIconLock = 5 };

// Icons drawn at run time on a 16 by 16 grid, size by size pixels; the caller destroys the list with
// ImageList_Destroy.
HIMAGELIST CreateClipKindIcons(int size = 16);

// The application icon, a white K on blue, size by size pixels; the caller destroys it with DestroyIcon.
HICON CreateAppIcon(int size);

}  // namespace mainwindow
