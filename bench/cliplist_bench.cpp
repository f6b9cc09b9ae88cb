// Prints how long the clip list takes to repaint a full page and to take 25 new items.
// Run it under Wine on a display: scripts/bench.sh.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "cliplist/ClipListControl.h"
#include "mainwindow/ClipKindIcons.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void Fill(cliplist::ClipListModel& items, int n) {
    for (int i = 0; i < n; ++i) {
        const int16_t icon = static_cast<int16_t>(1 + i % 4);
        items.AddItem("Clip number " + std::to_string(i) + " with a label of some forty characters", icon, icon);
    }
}

}  // namespace

int main() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ClipListBenchHost";
    RegisterClassExA(&wc);
    HWND host = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                nullptr, wc.hInstance, nullptr);
    HIMAGELIST icons = mainwindow::CreateClipKindIcons();
    cliplist::ClipListControl list;
    LOGFONTW font = {};
    font.lfHeight = -12;
    font.lfWeight = FW_BOLD;
    lstrcpyW(font.lfFaceName, L"Arial");
    list.SetFont(font);
    if (!host || !icons || !list.Create(host, 1, 8, 96, 169, 229)) {
        std::printf("set-up failed (error %lu)\n", GetLastError());
        return 1;
    }
    list.SetImageList(icons);
    Pump();

    const int kRounds = 200;
    Fill(list.Model(), 25);
    list.Model().SetListIndex(24);
    for (int style : {0, 2, 4}) {
        list.SetSelectModeStyle(style);
        const double start = Now();
        for (int i = 0; i < kRounds; ++i) {
            gdi::WindowDC dc(list.picList());
            list.RedrawVisible(dc.get());
            GdiFlush();
        }
        std::printf("repaint a full page (%d rows), style %d: %.3f ms\n", list.VisibleRows(), style,
                    (Now() - start) / kRounds);
    }

    double total = 0;
    for (int i = 0; i < 20; ++i) {
        list.Model().Clear();
        const double start = Now();
        Fill(list.Model(), 25);
        list.Model().SetListIndex(24);
        GdiFlush();
        total += Now() - start;
        Pump();
    }
    std::printf("add 25 items and select the newest: %.3f ms\n", total / 20);

    DestroyWindow(host);
    ImageList_Destroy(icons);
    return 0;
}
