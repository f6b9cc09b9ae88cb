// The search above the main list. While a text is typed, a list of the clips that hold it takes the
// clip list's place, newest first; a row chosen there is shown in the preview, and Enter, a double-click,
// Ctrl+P and Delete act on the clip it stands for. Escape empties the box and brings the whole list back.
#include <windows.h>
#include <commctrl.h>

#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"

namespace mainwindow {


bool MainWindow::CreateSearch(const RECT& area, int boxHeight) {
    if (!search_.Create(hwnd_, area, boxHeight, nullptr, kClipListProperties, false)) return false;
    SendMessageW(search_.FilterBox(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageW(search_.FilterBox(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Search (Ctrl+F)"));
    ShowWindow(search_.List().hwnd(), SW_HIDE);
    search_.ListOnlyWhatIsFound();  // the main list shows them all
    search_.onFilterChanged = [this] { SearchChanged(); };
    search_.keyOf = [this](const PopupItem& item) { return SearchKeyOf(item); };
    search_.labelOf = [this](int position) -> const std::string& { return LabelAt(position); };
    search_.onSelect = [this](int position) {
        choosingFromSearch_ = true;
        clipList_.Model().SetListIndex(position);
        choosingFromSearch_ = false;
    };
    search_.onChoose = [this](int position, bool plainText) { PutBack(position, plainText); };
    search_.onDelete = [this](int position) {
        clipList_.Model().SetListIndex(position);
        OnDeleteSelectedClicked();
    };
    search_.onPin = [this](int position) {
        TogglePin(position);
        RefreshSearch();
    };
    search_.onEscape = [this] {
        search_.ClearFilter();
        ::SetFocus(clipList_.picList());
    };
    return true;
}

void MainWindow::FocusSearch() {
    ::SetFocus(search_.FilterBox());
    SendMessageW(search_.FilterBox(), EM_SETSEL, 0, -1);
}

// The search reads the clips when it starts and follows them while it lasts; idle, it reads nothing.
void MainWindow::SearchChanged() {
    const bool searching = search_.Filtering();
    if (searching && searchStale_) {
        searchStale_ = false;
        search_.SetItems(PopupItems(search_.SpareItems()));  // filters again, and comes back here
        return;
    }
    if (!searching) searchStale_ = true;
    ShowWindow(search_.List().hwnd(), searching ? SW_SHOW : SW_HIDE);
    ShowWindow(clipList_.hwnd(), searching ? SW_HIDE : SW_SHOW);
    ShowWindow(emptyPanel_, !searching && clipList_.Model().ListCount() < 1 ? SW_SHOW : SW_HIDE);
}

void MainWindow::RefreshSearch() {
    if (choosingFromSearch_) return;
    if (search_.Filtering()) {
        search_.SetItems(PopupItems(search_.SpareItems()));
        return;
    }
    searchStale_ = true;
    // The keys made ahead follow a list that changed (a capture, a trim, a delete): the popup reads them too.
    if (ListShape() != keyedShape_) StartSearchKeysAhead();
}

std::tuple<int, clips::ClipId, clips::ClipId> MainWindow::ListShape() const {
    const int count = clipList_.Model().ListCount();
    return {count, clips_.Tags().Tag(0), clips_.Tags().Tag(count - 1)};
}

// Waiting for the history to be listed whole, the timer ticks slowly: a folder that is never in step (one that
// cannot be watched) would otherwise wake the program a hundred times a second for good.
void MainWindow::StartSearchKeysAhead() {
    searchKeysItemsMade_ = false;
    SetTimer(hwnd_, kSearchKeysTimer, kSearchKeysWaitMs, nullptr);
}

// A slice a tick, so that keys and clicks meanwhile wait no longer than it; while a search is typed, it makes
// the keys it needs itself.
void MainWindow::MakeSearchKeysAhead() {
    const double kSliceMs = 12;
    if (!history_.InStep() || history_.ListingUnfinished() || history_.ReadingSearchTextsAhead() ||
        search_.Filtering()) {
        SetTimer(hwnd_, kSearchKeysTimer, kSearchKeysWaitMs, nullptr);
        return;
    }
    SetTimer(hwnd_, kSearchKeysTimer, USER_TIMER_MINIMUM, nullptr);
    if (!searchKeysItemsMade_) {
        searchKeysItemsMade_ = true;
        keyedShape_ = ListShape();
        search_.SetItems(PopupItems(search_.SpareItems()));
        return;
    }
    if (!search_.MakeKeysAhead(kSliceMs)) KillTimer(hwnd_, kSearchKeysTimer);
}

}  // namespace mainwindow
