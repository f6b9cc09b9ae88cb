// The history kept on disk. Every clip is written to the history folder once it is shown (a picture
// once it is compressed), in order on a thread of its own, never on the capture's path; its file goes
// when the clip goes. At start the clips are read back, in the order they were captured.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "clips/ClipCollection.h"
#include "history/HistoryFolder.h"

namespace history {

// %LOCALAPPDATA%\Ardentia\History.
std::filesystem::path DefaultHistoryFolder();

// Starts keeping the history in folder (made when missing). Clips the holders let go from now on lose
// their files; program exit, which clears the holders, keeps them.
void OpenHistoryStore(const std::filesystem::path& folder);
void CloseHistoryStore();  // waits for the writes under way
const std::filesystem::path& HistoryFolder();

// "History Disk MB": past it, the oldest unpinned clips go.
void SetHistoryDiskLimit(std::uint64_t bytes);
// "Remember History": off, only pinned clips are written (and a clip unpinned loses its file).
void SetRememberHistory(bool remember);
bool RememberHistory();
// This machine's part of the file names it writes (the settings' "Machine Id").
void SetMachineId(std::uint32_t machine);

// A new clip, or one made newest again, at its list position: written under the time of now once the
// window is idle. window receives the timer that writes it.
void QueueClipForHistory(HWND window, const clips::ClipId& tag);
// The same clip written again (pinned or unpinned), under the time it was captured.
void QueueClipRewrite(HWND window, const clips::ClipId& tag);
// After Remember History changed: switched on, every clip without a file is written; switched off, the
// unpinned clips' files are deleted (the clips stay listed, held in memory).
void QueueHistoryChoice(HWND window);
// Writes what is queued and can be written; true while some is still waiting (a picture compressing).
bool WriteQueuedClips();
// Waits until every file queued so far is on the disk or deleted.
void FlushHistoryWrites();

// Clips read back from their files that stay held in memory at most, and how many start-up reads whole.
const int kClipsHeldInMemory = 100;
const std::size_t kClipsReadAtStart = 25;

// A clip listed from its file's header is read into its holder; true when it is held (or was never on
// disk only). Reading a clip may let the oldest read ones go back to the disk.
bool LoadClip(const clips::ClipId& tag);
// LoadClip before the clip is shown, put back, opened or saved; a file found damaged takes its clip off
// the list (the file stays) and says so on the information line.
bool UseClip(const clips::ClipId& tag);
// Lets go of what a clip holds when its file on disk holds it all; false when it cannot.
bool UnloadClip(const clips::ClipId& tag);
// True when the clip's file on disk holds it whole (written, not waiting to be written again).
bool StoredOnDisk(const clips::ClipId& tag);
// False for a clip listed from its file and not read yet.
bool ClipHeld(const clips::ClipId& tag);
// For a clip not held: what search reads of it, from its file (read once); false for a held clip. Its list
// position, when known, spares a search for it.
bool StoredClipSearchText(const clips::ClipId& tag, std::string& text, unsigned& width, unsigned& height,
                          int position = -1);

// While one lives, clips go to meet this machine's limits: another machine's files stay in the shared folder
// for it (this machine only stops listing them); this machine's own files go with their clips.
class TrimScope {
public:
    TrimScope();
    ~TrimScope();
    TrimScope(const TrimScope&) = delete;
    TrimScope& operator=(const TrimScope&) = delete;
};
// Removes the oldest unpinned clips while the list holds more than the history's size.
void RemoveClipsOverLimit();
// True for a file this machine wrote (or the first version wrote, before folders were shared).
bool WrittenHere(const ClipFileId& id);

// Adds the clips of the folder to the list, oldest first, as many as the limits let stay (the others'
// files go, oldest unpinned first). Returns what the information line says of the files skipped.
std::string RestoreHistory(const HistoryLimits& limits);

// For a history folder other machines write too: what this machine lists of the folder,
// settled when its file was written before writesDoneBefore of this program's own writes were done.
struct StoredClipState {
    ClipFileId id;
    int position;
    bool pinned;
    bool settled;
};
std::uint64_t HistoryWritesDone();
// Whether a change seen in the folder (a file's name there) is only one of this program's own writes or deletes.
bool IsOwnHistoryChange(const std::filesystem::path& name, bool removed);
std::vector<StoredClipState> StoredClipStates(std::uint64_t writesDoneBefore);
const std::set<ClipFileId>& FilesDeletedHere();
// What another machine did: a clip whose file it deleted goes (no file is deleted here), a clip it copied
// comes, listed by its capture time and read when used, and its pin follows.
void RemoveClipDeletedElsewhere(const ClipFileId& id);
void AddClipFromElsewhere(const StoredClip& stored);
void SetPinFromElsewhere(const ClipFileId& id, bool pinned);

// A clipboard format's name in a clip file ("#13", "HTML Format") and back; 0 when it cannot be.
std::string StoredFormatName(UINT format);
UINT FormatOfStoredName(const std::string& name);

}  // namespace history
