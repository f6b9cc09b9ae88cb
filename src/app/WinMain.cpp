// Program entry: creates the top-level window with the clip list and runs the message loop.
// Until the capture exists the list shows sample items, one of each clip kind, so it can be seen.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "cliplist/ucClipList.h"
#include "common/units.h"
#include "mainwindow/ClipKindIcons.h"

namespace {

const char kClassName[] = "ArdentiaMainWindow";
const char kCaption[] = "Ardentia";

struct Sample {
    const char* label;
    int icon;
};
const Sample kSamples[] = {
    {"Meeting moved to Thursday, 10:30 in room 4", mainwindow::kIconText},
    {"<Graphic Image Clip>", mainwindow::kIconPicture},
    {"Quarterly figures && notes (formatted)", mainwindow::kIconRichText},
    {"C:\\Users\\Public\\Documents\\report.doc", mainwindow::kIconFileList},
    {"https://example.org/downloads", mainwindow::kIconText},
    {"Dear team, thank you for the quick replies...", mainwindow::kIconRichText},
};

std::unique_ptr<cliplist::ucClipList> gSampleList;
HIMAGELIST gIcons = nullptr;

int Px(HWND hwnd, int twips) {
    HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(hwnd, dc);
    return units::TwipsToPixels(twips, dpi);
}

bool CreateSampleList(HWND hwnd) {
    gSampleList = std::make_unique<cliplist::ucClipList>();
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(9, Px(hwnd, 1440), 72);
    font.lfWeight = FW_BOLD;
    lstrcpyA(font.lfFaceName, "Arial");
    gSampleList->SetFont(font);
    if (!gSampleList->Create(hwnd, 1, Px(hwnd, 120), Px(hwnd, 1440), Px(hwnd, 2535), Px(hwnd, 3435))) return false;
    gSampleList->SetItemTextLeft(20);
    gIcons = mainwindow::CreateClipKindIcons();
    gSampleList->SetImageList(gIcons);
    cliplist::ClipListModel& items = gSampleList->Model();
    for (int round = 0; round < 3; ++round)
        for (const Sample& s : kSamples)
            items.AddItem(s.label, static_cast<int16_t>(s.icon), static_cast<int16_t>(s.icon));
    items.SetListIndex(items.ListCount() - 1);
    return true;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return CreateSampleList(hwnd) ? 0 : -1;
    case WM_DESTROY:
        gSampleList.reset();
        if (gIcons) ImageList_Destroy(gIcons);
        gIcons = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void ReportStartFailure(const char* what) {
    char text[256];
    wsprintfA(text, "%s failed (error %lu).", what, GetLastError());
    MessageBoxA(nullptr, text, kCaption, MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc)) {
        ReportStartFailure("RegisterClassEx");
        return 1;
    }
    HWND hwnd = CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                560, 520, nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        ReportStartFailure("CreateWindowEx");
        return 1;
    }
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
