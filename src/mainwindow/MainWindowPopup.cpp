// The history popup as the main window runs it: the hotkey, the clips it lists, and what a choice does.
#include <windows.h>

#include "capture/ClipboardMonitor.h"
#include "history/HistoryStore.h"
#include "capture/PutBack.h"
#include "common/WindowText.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PasteKeys.h"
#include "mainwindow/PopupRules.h"
#include "mainwindow/PreviewRules.h"
#include "mainwindow/UserMessages.h"
#include "shell/SettingsStore.h"

namespace mainwindow {

// Made once the kind icons exist; a hotkey that cannot be had is told in the information line, not a box.
void MainWindow::RegisterPopupHotkey() {
    if (!popup_.hwnd()) {
        if (!popup_.Create(kindIcons_)) return;
        popup_.onChoose = [this](int position, bool plainText) { PasteFromPopup(position, plainText); };
        popup_.onDelete = [this](int position) {
            // A pinned clip is not deleted from here: a box would close the popup. Unpinned first, it goes.
            if (clipList_.Model().ItemPinned(position)) {
                MessageBeep(MB_ICONWARNING);
                return;
            }
            clipList_.Model().SetListIndex(position);
            DeleteClip();
            popup_.Update(PopupItems(popup_.SpareItems()));
        };
        popup_.onPin = [this](int position) {
            TogglePin(position);
            popup_.Update(PopupItems(popup_.SpareItems()));
        };
        popup_.onDismiss = [this] { ReturnFocusTo(popupReturnTo_); };
        popup_.BorrowKeysOf(&search_);  // made ahead for the search
        popup_.SetKeyOf([this](const PopupItem& item) { return SearchKeyOf(item); },
                        [this](int position) -> const std::string& { return LabelAt(position); });
    }
    if (hotkeyRegistered_) UnregisterHotKey(hwnd_, kPopupHotkeyId);
    const std::string wanted = shell::GetSetting(shell::kKeyHotkey, kDefaultHotkey);
    std::optional<Hotkey> hotkey = ParseHotkey(wanted);
    const bool known = hotkey.has_value();
    const std::string name = known ? wanted : kDefaultHotkey;
    if (!known) hotkey = ParseHotkey(kDefaultHotkey);
    hotkeyRegistered_ = RegisterHotKey(hwnd_, kPopupHotkeyId, hotkey->modifiers, hotkey->key);
    hotkeyName_ = name;
    if (!hotkeyRegistered_)
        common::SetWindowTextUtf8(infoLine_, "The hotkey " + name + " is taken by another program: start Ardentia with "
                                            "/popup, or choose another in the settings");
    else if (!known)
        common::SetWindowTextUtf8(infoLine_,
                                  "The hotkey \"" + wanted + "\" is not one Ardentia knows: " + name + " is used");
}

void MainWindow::ShowEmptyListText() {
    common::SetWindowTextUtf8(emptyMessage_,
                              EmptyListText(monitor_.ManagerOn(), hotkeyName_.empty() ? kDefaultHotkey : hotkeyName_));
}

// Items carry no text: what search reads of each clip is made only once something is typed.
std::vector<PopupItem> MainWindow::PopupItems(std::vector<PopupItem> items) const {
    const auto& list = clipList_.Model();
    items.clear();
    items.reserve(std::size_t(list.ListCount()));
    for (int i = 0; i < list.ListCount(); ++i) {
        const clips::ClipId& tag = clips_.Tags().Tag(i);
        items.push_back({i, LabelHash(list.ItemText(i)), list.ItemIcon(i), clips::FamilyOfKind(tag.kind), tag.holder,
                         list.ItemPinned(i)});
    }
    return items;
}

const std::string& MainWindow::LabelAt(int position) const {
    static const std::string none;
    const auto& list = clipList_.Model();
    return position >= 0 && position < list.ListCount() ? list.ItemText(position) : none;
}

std::string MainWindow::SearchKeyOf(const PopupItem& item) {
    const clips::ClipId tag = clips_.Tags().Tag(item.position);
    // The list changed since the items were made: asked again once they are made anew.
    if (clips::FamilyOfKind(tag.kind) != item.family || tag.holder != item.holder) return {};
    PopupClip clip{tag.kind, "", 0, 0};
    unsigned width = 0, height = 0;
    if (history_.StoredClipSearchText(tag, clip.text, width, height, item.position)) {  // not held: read from its file
        clip.width = width, clip.height = height;
    } else if (clip.kind == clips::kKindPicture) {
        if (clips_.Holders().Pictures().Size(tag.holder, width, height))
            clip.width = width, clip.height = height;
    } else {
        clip.text = clips_.TextHead(tag, kSearchedBytes);
    }
    return SearchKey(clip);
}

void MainWindow::OpenPopup() {
    HWND front = GetForegroundWindow();
    // Asked again while open, the window to return to stays what it was. With nothing in front there is
    // none: never the window an earlier opening returned to.
    if (!popup_.IsOpen() || (front && front != popup_.hwnd())) popupReturnTo_ = front;
    popup_.Open(PopupItems(popup_.SpareItems()));
}

bool MainWindow::PutBack(int position, bool plainText) {
    // A clip whose file proved damaged is gone, and the line says so.
    if (position < 0 || !history_.UseClip(clips_.Tags().Tag(position))) return false;
    if (!capture::PutClipBack(monitor_, position, plainText)) {
        common::SetWindowTextUtf8(infoLine_, "Not put back: another program holds the clipboard");
        return false;
    }
    const auto& list = clipList_.Model();
    const clips::ClipId tag = clips_.Tags().Tag(list.ListIndex());
    const std::string head = clips_.TextHead(tag, kInfoTextHead);
    common::SetWindowTextUtf8(infoLine_, InfoLine(InfoPrefix(tag.kind, head), list.ListIndex(),
                                                 list.ListCount()) + " - on the clipboard");
    return true;
}

bool MainWindow::IsOwnWindow(HWND window) const {
    return window && (window == popup_.hwnd() || GetAncestor(window, GA_ROOTOWNER) == hwnd_);
}

void MainWindow::PasteFromPopup(int position, bool plainText) {
    popup_.Close();
    const bool put = PutBack(position, plainText);
    // Opened from one of Ardentia's own windows (the main window, a box it shows), a Ctrl+V would paste
    // into Ardentia itself, into the folder box say: the clip only goes on the clipboard, and the
    // information line says so.
    // With no window to go back to (none was in front, or it has closed since), the same.
    const bool returnable = popupReturnTo_ && IsWindow(popupReturnTo_);
    if (put && returnable && !IsOwnWindow(popupReturnTo_)) {
        PasteInto(popupReturnTo_);
        return;
    }
    if (put) common::SetWindowTextUtf8(infoLine_, common::WindowText(infoLine_) + ", ready to paste where you want it");
    ReturnFocusTo(returnable ? popupReturnTo_ : IsWindowVisible(hwnd_) ? hwnd_ : nullptr);
}

}  // namespace mainwindow
