// The main window moved to a monitor of another scale (or the scale changed): its fonts, controls, lists and
// splitter laid out again at the new DPI, in the rectangle the system suggests, so nothing is blurred or cut.
#include <windows.h>

#include "common/WindowDpi.h"
#include "mainwindow/ClipKindIcons.h"
#include "mainwindow/MainWindow.h"

namespace mainwindow {

void MainWindow::FollowDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0) return;
    const int was = dpi_;
    if (dpi != was) {
        dpi_ = dpi;
        LOGFONTW face = {};
        GetObjectW(font_.get(), sizeof(face), &face);
        face.lfHeight = MulDiv(face.lfHeight, dpi, was);
        gdi::Font font(CreateFontIndirectW(&face));
        // Every control made in twips goes where its twips are at the new DPI; the layout then places the ones
        // that follow the window's size.
        for (const auto& [control, place] : twipsPlaces_) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
            MoveWindow(control, Px(place.left), Px(place.top), Px(place.right), Px(place.bottom), FALSE);
        }
        SendMessageW(search_.FilterBox(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        font_ = std::move(font);
        for (cliplist::ClipListControl* list : {&clipList_, &search_.List()}) list->Rescale(dpi, was);
        // The kind icons at the rows' new size; the popup shares them.
        if (HIMAGELIST icons = CreateClipKindIcons(MulDiv(16, dpi, common::SystemDpi()))) {
            for (cliplist::ClipListControl* list : {&clipList_, &search_.List(), &popup_.List()}) list->SetImageList(icons);
            if (kindIcons_) ImageList_Destroy(kindIcons_);
            kindIcons_ = icons;
        }
        listWidth_ = MulDiv(listWidth_, dpi, was);
    }
    common::MoveToSuggested(hwnd_, suggested);
    LayOut();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace mainwindow
