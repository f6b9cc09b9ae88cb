// The program's clip collection: the tag table with its counters, the holders, and the window parts the
// capture fills.
#pragma once

#include <windows.h>

#include <string>

#include "clips/ClipCollection.h"
#include "clips/ClipHolders.h"

namespace cliplist {
class ClipListControl;
}

namespace clips {

// What the capture needs from the main window.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    virtual HWND HostWindow() const = 0;
    virtual cliplist::ClipListControl& ClipList() = 0;
    virtual void ShowPreviewText(const std::string& text) = 0;
    // Shows the picture unstretched, then fits it into the preview frame.
    virtual void ShowPreviewPicture(HBITMAP picture) = 0;
    virtual void HideEmptyPanel() = 0;
    // A copy was not kept; the message says why, for the information line.
    virtual void ReportRefusedClip(const std::string& message) = 0;
    // A copy that looks like a credential became (or is again) the newest clip: kept a while, in memory only.
    virtual void NoteCredentialClip(const ClipId&) {}
};

// The clips the program holds: their tags, their holders, the window parts that show them, and how many
// the history keeps. The main window owns one; tests make their own.
class Clips {
public:
    void SetHost(CaptureHost* host) { host_ = host; }
    CaptureHost* Host() const { return host_; }
    ClipCollection& Tags() { return tags_; }
    const ClipCollection& Tags() const { return tags_; }
    ClipHolders& Holders() { return holders_; }

    // How many clips are listed (none without a host), and the newest (no clip when there is none).
    int Count() const;
    ClipId Newest() const { return Count() > 0 ? tags_.Tag(Count() - 1) : ClipId(); }

    // How many clips the history keeps ("History Size"), 1 to kMaxHistoryClips; pinned ones count too.
    void SetHistorySize(int clips);
    int HistorySize() const { return historySize_; }

    // Removes the clip at a list position with its tag and holder (and its file, through the holders).
    void Remove(int position);
    // The same for many at once (positions ascending, each once): one pass over the list, not one a clip.
    void RemoveMany(const std::vector<int>& positions);
    // The oldest clip that may go to make room: not pinned, not the newest; -1 when there is none.
    int OldestUnpinned() const;
    // Moves the clip at `position` to the end of the list, tag and all; its holder stays where it is.
    void MakeNewest(int position);

    // The plain text of a clip as the preview and the label see it: text and file-list holders as they
    // are, rich text without its formatting; "" for pictures and missing holders.
    std::string Text(const ClipId& id) { return TextHead(id, std::string::npos); }
    // The first `characters` of it, read without converting or copying the rest (npos: all of it).
    std::string TextHead(const ClipId& id, std::size_t characters);

private:
    CaptureHost* host_ = nullptr;
    ClipCollection tags_;
    ClipHolders holders_;
    int historySize_ = kMaxClips;
};

}  // namespace clips
