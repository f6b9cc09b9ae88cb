// The history popup a hotkey opens at the pointer: a filter box over the clips, newest first. It only
// shows and chooses; its owner puts a clip back, pastes it or deletes it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "mainwindow/FilteredClips.h"
#include "mainwindow/PopupRules.h"
#include "shell/LookColours.h"

namespace mainwindow {

class HistoryPopup {
public:
    HistoryPopup() = default;
    // The window goes with the object: left behind, it would reach a destroyed object when the
    // program ends.
    ~HistoryPopup();
    HistoryPopup(const HistoryPopup&) = delete;
    HistoryPopup& operator=(const HistoryPopup&) = delete;

    bool Create(HIMAGELIST kindIcons);
    HWND hwnd() const { return hwnd_; }
    HWND FilterBox() const { return clips_.FilterBox(); }
    cliplist::ClipListControl& List() { return clips_.List(); }
    bool IsOpen() const { return open_; }

    // Opens at the pointer with these clips (oldest first, as the main list holds them).
    void Open(std::vector<PopupItem> items);
    // The clips changed while it is open (one was deleted, or captured and the oldest let go): the filter
    // stays, and so does the clip chosen where it is still shown.
    void Update(std::vector<PopupItem> items);
    std::vector<PopupItem> SpareItems() { return clips_.SpareItems(); }  // to fill for Open or Update
    void BorrowKeysOf(const FilteredClips* lender) { clips_.BorrowKeysOf(lender); }
    // Hides the popup; the owner decides where the focus goes.
    void Close();
    // The positions now shown, newest first.
    const std::vector<int>& Shown() const { return clips_.Shown(); }

    // Enter (plainText false) or Shift+Enter (true) on a clip, or a digit 1-9 on an empty filter.
    std::function<void(int position, bool plainText)> onChoose;
    std::function<void(int position)> onDelete;
    std::function<void(int position)> onPin;  // Ctrl+P
    // Escape. A click elsewhere only closes the popup: the focus stays where the user clicked.
    std::function<void()> onDismiss;
    // The system's look, for the window's face and filter box (its list is coloured by its owner).
    void SetLook(shell::Look look) { look_ = look; }
    // What search reads of a clip; see FilteredClips.
    void SetKeyOf(std::function<std::string(const PopupItem&)> keyOf,
                  std::function<const std::string&(int position)> labelOf) {
        clips_.keyOf = std::move(keyOf);
        clips_.labelOf = std::move(labelOf);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Dismiss();
    PopupSize SizeNow() const;
    void FitToRows();
    void LayOutClips();
    int FilterHeight() const;

    HWND hwnd_ = nullptr;
    FilteredClips clips_;
    bool open_ = false;
    int dpi_ = 96;        // the scale its list is drawn at
    int madeAtDpi_ = 96;  // the scale its sizes are given for
    shell::Look look_ = shell::Look::kLight;
    RECT work_ = {};  // the work area of the monitor it opened on
};

}  // namespace mainwindow
