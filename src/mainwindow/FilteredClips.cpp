#include "common/Guarded.h"
#include "mainwindow/FilteredClips.h"

#include <algorithm>
#include <optional>

#include "common/PropertyBag.h"
#include "common/WindowText.h"
#include "mainwindow/PopupRules.h"

namespace mainwindow {

bool FilteredClips::Create(HWND parent, const RECT& area, int filterHeight, HIMAGELIST kindIcons,
                           const std::string& listProperties, bool numbered) {
    numbered_ = numbered;
    const int width = area.right - area.left;
    filter_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                              area.left, area.top, width, filterHeight, parent, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (!filter_ ||
        !list_.Create(parent, 1, area.left, area.top + filterHeight, width, area.bottom - area.top - filterHeight))
        return false;
    SendMessageW(filter_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowSubclass(filter_, FilterProc, 1, reinterpret_cast<DWORD_PTR>(this));
    list_.ReadProperties(common::PropertyBag::Parse(listProperties), common::FontSpec());
    list_.SetImageList(kindIcons);
    list_.SetEvents(this);
    list_.Model().SetTextSource([this](int row) -> const std::string& { return RowText(row); });
    return true;
}

void FilteredClips::Move(const RECT& area, int filterHeight) {
    const int width = area.right - area.left;
    MoveWindow(filter_, area.left, area.top, width, filterHeight, TRUE);
    MoveWindow(list_.hwnd(), area.left, area.top + filterHeight, width, area.bottom - area.top - filterHeight, TRUE);
}

void FilteredClips::SetItems(std::vector<PopupItem> items) {
    const int chosen = Chosen();
    std::optional<PopupItem> keep;
    for (const PopupItem& item : items_)
        if (item.position == chosen) keep = item;
    KeepKeysOf(items);
    items_.swap(items);
    spareItems_ = std::move(items);
    ++itemsMade_;
    keysAheadFrom_ = items_.size();
    Refilter();
    for (std::size_t row = 0; row < shown_.size() && keep; ++row)
        if (items_[std::size_t(shown_[row])].SameClip(*keep)) list_.Model().SetListIndex(int(row));
}

std::vector<PopupItem> FilteredClips::SpareItems() {
    spareItems_.clear();
    return std::move(spareItems_);
}

// The keys made for the clips before stay with them: with a long history, making them again would take the
// first key typed in the popup a while at each opening. The clips are most often as they were, with a few more
// or fewer; a clip counts as the same only where its tag and label are.
void FilteredClips::KeepKeysOf(const std::vector<PopupItem>& items) {
    std::vector<KeySpan>& spans = spareKeySpans_;
    spans.assign(items.size(), KeySpan{});
    std::size_t bytes = 0;
    const auto same = [&](std::size_t was, std::size_t is) {
        return was < items_.size() && items_[was].SameClip(items[is]) && items_[was].labelHash == items[is].labelHash;
    };
    for (std::size_t is = 0, was = 0; is < items.size(); ++is) {
        std::size_t skip = 0;
        while (skip < kKeptKeySkip && was + skip < items_.size() && !same(was + skip, is)) ++skip;
        if (!same(was + skip, is)) continue;  // a clip added since
        was += skip;  // clips gone since
        spans[is] = keySpans_[was];
        if (spans[is].at != kNotKeyed) bytes += spans[is].length;
        ++was;
    }
    keySpans_.swap(spans);
    liveKeyBytes_ = bytes;
    if (keyText_.size() > 2 * liveKeyBytes_ + (1u << 20)) PackKeys();
}

void FilteredClips::PackKeys() {
    std::string packed;
    packed.reserve(liveKeyBytes_);
    for (KeySpan& span : keySpans_) {
        if (span.at == kNotKeyed) continue;
        const std::uint32_t at = std::uint32_t(packed.size());
        packed.append(keyText_, span.at, span.length);
        span.at = at;
    }
    keyText_ = std::move(packed);
}

void FilteredClips::SetNewestFirst(bool newestFirst) {
    if (newestFirst == newestFirst_) return;
    newestFirst_ = newestFirst;
    if (Filtering()) Refilter();
}

void FilteredClips::ClearFilter() {
    SetWindowTextW(filter_, L"");
    Refilter();
}

// A view into keyText_: good until the next key is kept.
std::string_view FilteredClips::KeyAt(std::size_t i, std::string& scratch) {
    const KeySpan span = keySpans_[i];
    if (span.at != kNotKeyed) return std::string_view(keyText_).substr(span.at, span.length);
    if (lender_)
        if (const auto lent = lender_->KeptKeyOf(items_[i])) return *lent;
    if (!keyOf) return {};
    const std::uint64_t made = itemsMade_;
    scratch = keyOf(items_[i]);
    // Nothing read (a file still arriving, or left in the cloud) is asked again next time; nor is a key made
    // while reading the clip gave the filter new items.
    if (scratch.empty() || made != itemsMade_ || keyText_.size() + scratch.size() > kKeptKeyBytes) return scratch;
    keySpans_[i] = {std::uint32_t(keyText_.size()), std::uint32_t(scratch.size())};
    keyText_ += scratch;
    liveKeyBytes_ += scratch.size();
    return std::string_view(keyText_).substr(keySpans_[i].at, keySpans_[i].length);
}

std::optional<std::string_view> FilteredClips::KeptKeyOf(const PopupItem& item) const {
    const std::size_t i = std::size_t(item.position);
    if (i >= items_.size() || keySpans_[i].at == kNotKeyed || items_[i].position != item.position ||
        !items_[i].SameClip(item) || items_[i].labelHash != item.labelHash)
        return std::nullopt;
    return std::string_view(keyText_).substr(keySpans_[i].at, keySpans_[i].length);
}

bool FilteredClips::MakeKeysAhead(double budgetMs) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const std::uint64_t made = itemsMade_;
    std::string scratch;
    for (int n = 1; keysAheadFrom_ > 0; ++n) {
        const std::size_t i = keysAheadFrom_ - 1;
        if (keySpans_[i].at == kNotKeyed) {
            KeyAt(i, scratch);
            if (made != itemsMade_) return true;  // reading the clip changed the list: the new items are keyed next
            if (keyText_.size() >= kKeptKeyBytes) return false;
        }
        keysAheadFrom_ = i;
        if (n % 64 == 0) {
            QueryPerformanceCounter(&now);
            if (double(now.QuadPart - start.QuadPart) * 1000.0 > budgetMs * double(frequency.QuadPart)) break;
        }
    }
    // Every key made: the room the text grew by is let go.
    if (keysAheadFrom_ == 0 && keyText_.capacity() > keyText_.size() + keyText_.size() / 8) PackKeys();
    return keysAheadFrom_ > 0;
}

void FilteredClips::Refilter() {
    KillTimer(filter_, kNarrowTimer);
    ++narrowing_;
    query_ = common::WindowText(filter_);
    unscanned_ = items_.size();
    firstShown_ = false;
    shown_.clear();
    refilling_ = true;  // the rows made here choose nothing
    list_.Model().Clear();
    refilling_ = false;
    if (query_.empty() && !listsAllUnfiltered_) unscanned_ = 0;
    Narrow();
}

// The clips are read newest first a slice at a time, and the rows found are shown as they come: the first page
// is painted at once, and when a key or a click waits the rest goes on from a timer after it, so that a long
// history never holds up typing.
void FilteredClips::Narrow() {
    const std::uint64_t narrowing = narrowing_;
    auto& model = list_.Model();
    // Painted when a page is first shown and when it stops, not after each slice: a paint takes longer than a
    // slice's reading.
    std::optional<cliplist::ClipListControl::PaintHold> hold;
    hold.emplace(list_);
    while (unscanned_ > 0) {
        const std::size_t from = unscanned_ - std::min(unscanned_, kNarrowSlice);
        std::vector<int> found = ShownClips(
            unscanned_ - from, [&](std::size_t i, std::string& scratch) { return KeyAt(from + i, scratch); },
            query_);  // newest first
        if (narrowing != narrowing_) return;  // a key read a clip's file, and its message restarted the search
        unscanned_ = from;
        std::vector<cliplist::ClipItem> rows;
        rows.reserve(found.size());
        for (int& index : found) {
            const PopupItem& item = items_[std::size_t(index) + from];
            rows.push_back({std::string(), item.icon, item.icon, item.pinned});  // its text is asked of RowText
            index = item.position;
        }
        refilling_ = true;
        if (newestFirst_) {
            shown_.insert(shown_.end(), found.begin(), found.end());
            model.InsertItems(model.ListCount(), std::move(rows));
        } else {  // older rows go before the others
            std::reverse(found.begin(), found.end());
            std::reverse(rows.begin(), rows.end());
            shown_.insert(shown_.begin(), found.begin(), found.end());
            model.InsertItems(0, std::move(rows));
        }
        if (model.ListIndex() < 0 && !shown_.empty()) model.SetListIndex(newestFirst_ ? 0 : int(shown_.size()) - 1);
        refilling_ = false;
        // A search read in one go is shown once, at its end.
        if (!firstShown_ && unscanned_ > 0 && int(shown_.size()) >= model.VisibleRows()) {
            firstShown_ = true;
            hold.reset();
            Shown(narrowing);  // the newest found chosen, the preview following it
            if (narrowing != narrowing_) return;
            UpdateWindow(list_.picList());
            hold.emplace(list_);
        }
        if (unscanned_ > 0 && HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON))) {
            SetTimer(filter_, kNarrowTimer, USER_TIMER_MINIMUM, nullptr);
            return;
        }
    }
    hold.reset();
    Shown(narrowing);
}

// A row's text: its clip's label, numbered by the order found (the first nine carry the number Ctrl picks).
const std::string& FilteredClips::RowText(int row) {
    static const std::string none;
    if (row < 0 || std::size_t(row) >= shown_.size() || !labelOf) return none;
    const std::string& label = labelOf(shown_[std::size_t(row)]);
    const std::size_t found = newestFirst_ ? std::size_t(row) : shown_.size() - 1 - std::size_t(row);
    if (!numbered_ || found >= 9) return label;
    return numberedTexts_[found] = NumberedLabel(found, label);
}

void FilteredClips::Shown(std::uint64_t narrowing) {
    if (onFilterChanged) onFilterChanged();
    if (narrowing == narrowing_ && Filtering() && Chosen() >= 0 && onSelect) onSelect(Chosen());
}

int FilteredClips::Chosen() const {
    const int row = list_.Model().ListIndex();
    return row >= 0 && row < int(shown_.size()) ? shown_[std::size_t(row)] : -1;
}

void FilteredClips::DblClick() {
    if (Chosen() >= 0 && onChoose) onChoose(Chosen(), false);
}

void FilteredClips::ListIndexChange() {
    if (!refilling_ && Chosen() >= 0 && onSelect) onSelect(Chosen());
}

void FilteredClips::KeyDown(int keyCode, int shift) {
    const int position = Chosen();
    if (keyCode == VK_ESCAPE && onEscape) onEscape();
    if (position < 0) return;
    if (keyCode == VK_RETURN && onChoose) onChoose(position, shift == 1);
    if (keyCode == 'P' && shift == 2 && onPin) onPin(position);  // Ctrl alone
}

// The filter box has the keyboard; the keys that move and choose act on the list instead.
bool FilteredClips::FilterKey(WPARAM key) {
    auto& model = list_.Model();
    const int count = model.ListCount(), row = model.ListIndex(), page = std::max(1, model.VisibleRows() - 1);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
        case VK_UP: if (row > 0) model.SetListIndex(row - 1); return true;
        case VK_DOWN: if (row + 1 < count) model.SetListIndex(row + 1); return true;
        case VK_PRIOR: if (count) model.SetListIndex(std::max(0, row - page)); return true;
        case VK_NEXT: if (count) model.SetListIndex(std::min(count - 1, row + page)); return true;
        case VK_HOME: if (count) model.SetListIndex(0); return true;
        case VK_END: if (count) model.SetListIndex(count - 1); return true;
        case VK_ESCAPE:
            if (onEscape) onEscape();
            return true;
        case VK_RETURN:
            if (Chosen() >= 0 && onChoose) onChoose(Chosen(), shift);
            return true;
        case VK_DELETE: {
            // Text after the caret, or a selection: the key is the filter's, as in any text box.
            DWORD from = 0, to = 0;
            SendMessageW(filter_, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            if (from != to || int(to) < GetWindowTextLengthW(filter_)) return false;
            if (Chosen() >= 0 && onDelete) {
                const int keep = row;
                onDelete(Chosen());
                if (model.ListCount() > 0) model.SetListIndex(std::min(keep, model.ListCount() - 1));
            }
            return true;
        }
        default: break;
    }
    // Ctrl+1 to Ctrl+9 pick the row with that number; plain digits are search text like any other
    // character ("2024" finds a date). Ctrl with Alt is AltGr, which types characters on many layouts.
    const bool ctrl = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
    if (key == 'P' && ctrl) {
        if (Chosen() >= 0 && onPin) onPin(Chosen());
        return true;
    }
    if (numbered_ && key >= '1' && key <= '9' && ctrl) {
        const std::size_t n = key - '1';
        if (n < shown_.size() && onChoose) onChoose(shown_[n], false);
        return true;
    }
    return false;
}

LRESULT CALLBACK FilteredClips::FilterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
    auto* clips = reinterpret_cast<FilteredClips*>(self);
    // In a window that walks its controls as a dialog does, Enter and Escape would go to the window.
    if (message == WM_GETDLGCODE) {
        const auto* asked = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
        if (asked && asked->message == WM_KEYDOWN && (asked->wParam == VK_RETURN || asked->wParam == VK_ESCAPE))
            return code | DLGC_WANTALLKEYS;
        return code;
    }
    if (message == WM_KEYDOWN && common::Guarded<bool>([&] { return clips->FilterKey(wParam); }, true)) return 0;
    // The keys handled above also arrive as characters: they are no text. 0x10 is Ctrl+P.
    if (message == WM_CHAR && (wParam == '\r' || wParam == 27 || wParam == 0x10)) return 0;
    if (message == WM_TIMER && wParam == kNarrowTimer) {
        KillTimer(hwnd, kNarrowTimer);
        common::Guarded<bool>([&] { return clips->Narrow(), true; }, false);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FilterProc, 1);
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    // Backspace and Delete included: they widen the list again.
    if (message == WM_CHAR || (message == WM_KEYDOWN && wParam == VK_DELETE)) clips->Refilter();
    return result;
}

}  // namespace mainwindow
