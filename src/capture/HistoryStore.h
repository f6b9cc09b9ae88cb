// The history kept on disk. Every clip is written to the history folder once it is shown (a picture
// once it is compressed), in order on a thread of its own, never on the capture's path; its file goes
// when the clip goes. At start the clips are read back, in the order they were captured.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace capture {

// %LOCALAPPDATA%\Ardentia\History.
std::filesystem::path DefaultHistoryFolder();

// Starts keeping the history in folder (made when missing). Clips the holders let go from now on lose
// their files; program exit, which clears the holders, keeps them.
void OpenHistoryStore(const std::filesystem::path& folder);
void CloseHistoryStore();  // waits for the writes under way
const std::filesystem::path& HistoryFolder();

// A new clip, at its list position: written once the window is idle. window receives the timer that writes it.
void QueueClipForHistory(HWND window, const std::string& tag);
// Writes what is queued and can be written; true while some is still waiting (a picture compressing).
bool WriteQueuedClips();
// Waits until every file queued so far is on the disk or deleted.
void FlushHistoryWrites();

// Adds the newest maxClips clips of the folder to the list, oldest first. Returns what the information
// line says of the files skipped ("" for none).
std::string RestoreHistory(int maxClips);

// A clipboard format's name in a clip file ("#13", "HTML Format") and back; 0 when it cannot be.
std::string StoredFormatName(UINT format);
UINT FormatOfStoredName(const std::string& name);

}  // namespace capture
