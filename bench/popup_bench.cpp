// Prints the popup's times with the real main window: from the hotkey to the popup painted, and from
// Enter in it to the clip's text in the program the user was in (a window with an edit box). Best of 5.
// Run it under Wine on a display: scripts/bench.sh.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "BenchForm.h"
#include "common/WindowText.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "shell/SettingsStore.h"
#include "support/clipboard_peer.h"

namespace {

LRESULT CALLBACK FocusEdit(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR edit) {
    if (message == WM_SETFOCUS) {
        SetFocus(reinterpret_cast<HWND>(edit));
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

int main() {
    mainwindow::MainWindow form;
    if (!StartBenchForm(form)) return 1;
    for (int i = 0; i < 25; ++i) {
        const std::string text = "clip number " + std::to_string(i) + " with some words to search";
        testsupport::PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); },
                              [&] { return form.ClipList().Model().ListCount() == std::min(i + 1, 25); });
    }
    HWND target = CreateWindowExW(0, L"STATIC", L"bench target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 280, 150, target, nullptr,
                                nullptr, nullptr);
    SetWindowSubclass(target, FocusEdit, 1, reinterpret_cast<DWORD_PTR>(edit));
    double open = 1e9, paste = 1e9;
    for (int run = 0; run < 5; ++run) {
        SetWindowTextW(edit, L"");
        SetForegroundWindow(target);
        testsupport::PumpUntil([&] { return GetFocus() == edit; }, 2000);
        double start = Now();
        PostMessageA(form.hwnd(), WM_HOTKEY, 1, 0);
        testsupport::PumpUntil(
            [&] {
                RECT dirty;
                return form.Popup().IsOpen() && IsWindowVisible(form.Popup().hwnd()) &&
                       !GetUpdateRect(form.Popup().List().picList(), &dirty, FALSE);
            },
            5000);
        open = std::min(open, Now() - start);
        for (char c : std::string("number 5")) SendMessageW(form.Popup().FilterBox(), WM_CHAR, WPARAM(c), 0);
        start = Now();
        SendMessageW(form.Popup().FilterBox(), WM_KEYDOWN, VK_RETURN, 0);
        testsupport::PumpUntil([&] { return common::WindowText(edit).find("number 5") != std::string::npos; }, 5000);
        paste = std::min(paste, Now() - start);
    }
    std::printf("%-40s %8.1f ms\n", "hotkey to the popup painted", open);
    std::printf("%-40s %8.1f ms\n", "Enter to the text in the target", paste);
    RemoveWindowSubclass(target, FocusEdit, 1);
    DestroyWindow(target);
    return 0;
}
