// Another program in the clipboard-viewer chain, for tests: "pass" passes notices on as it should,
// "swallow" keeps them to itself. It joins at once and lives until closed, killed, or 60 s are up.
#include <windows.h>

#include <cstring>

namespace {

HWND gNext = nullptr;
bool gSwallow = false;

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DRAWCLIPBOARD:
        if (!gSwallow && gNext) SendMessageA(gNext, msg, wp, lp);
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wp) == gNext)
            gNext = reinterpret_cast<HWND>(lp);
        else if (gNext)
            SendMessageA(gNext, msg, wp, lp);
        return 0;
    case WM_TIMER:
    case WM_CLOSE:
        ChangeClipboardChain(hwnd, gNext);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
    gSwallow = argc > 1 && std::strcmp(argv[1], "swallow") == 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ViewerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ArdentiaHelperViewer";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA(wc.lpszClassName, "helper viewer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
    gNext = SetClipboardViewer(hwnd);
    SetTimer(hwnd, 1, 60000, nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    return 0;
}
