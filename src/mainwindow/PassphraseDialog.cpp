#include "mainwindow/PassphraseDialog.h"

#include "common/WindowClass.h"
#include "common/WindowText.h"

namespace mainwindow {
namespace {

const wchar_t kClass[] = L"ArdentiaPassphrase";
enum { kIdFirst = 101, kIdSecond, kIdProblem };

struct Dialog {
    const PassphraseRequest* request;
    const PassphraseCheck* check;
    HWND hwnd = nullptr, first = nullptr, second = nullptr, problem = nullptr;
    std::optional<std::string> taken;
    bool done = false;
};

std::string TextOf(HWND edit) {
    std::wstring text(std::size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(edit, &text[0], int(text.size()))));
    const std::string utf8 = common::Narrow(text);
    SecureZeroMemory(&text[0], text.size() * sizeof(wchar_t));
    return utf8;
}

void Take(Dialog& dialog) {
    const std::string typed = TextOf(dialog.first);
    std::string wrong;
    if (dialog.request->twice && TextOf(dialog.second) != typed) wrong = "The two passphrases differ.";
    if (wrong.empty()) {
        const HCURSOR was = SetCursor(LoadCursor(nullptr, IDC_WAIT));  // deriving a key takes a moment
        wrong = (*dialog.check)(typed);
        SetCursor(was);
    }
    if (wrong.empty()) {
        dialog.taken = typed;
        dialog.done = true;
        return;
    }
    common::SetWindowTextUtf8(dialog.problem, wrong);
    SetWindowTextW(dialog.first, L"");
    if (dialog.second) SetWindowTextW(dialog.second, L"");
    SetFocus(dialog.first);
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = common::WindowOwner<Dialog>(hwnd, message, lParam, [&](Dialog* d) { d->hwnd = hwnd; });
    if (dialog && message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK) Take(*dialog);
        if (LOWORD(wParam) == IDCANCEL) dialog->done = true;
        return 0;
    }
    if (dialog && message == WM_CLOSE) {
        dialog->done = true;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Control(const wchar_t* cls, const std::string& text, DWORD style, HWND parent, int id, int x, int y, int w,
             int h) {
    HWND control = CreateWindowExW(cls == std::wstring(L"EDIT") ? WS_EX_CLIENTEDGE : 0, cls,
                                   common::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                   nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

std::optional<std::string> RealDialog(HWND owner, const PassphraseRequest& request, const PassphraseCheck& check) {
    if (!common::RegisterUnicodeClassOnce(kClass, DialogProc)) return std::nullopt;
    Dialog dialog{&request, &check};
    // Laid out in dialog units of the system font, so that it grows with the screen's scale.
    const LONG units = GetDialogBaseUnits();
    const auto x = [&](int u) { return MulDiv(u, LOWORD(units), 4); };
    const auto y = [&](int u) { return MulDiv(u, HIWORD(units), 8); };
    const int width = x(220), rows = request.twice ? 2 : 1;
    RECT frame = {0, 0, width, y(62 + 16 * rows)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, L"Ardentia", WS_CAPTION | WS_SYSMENU | WS_POPUP,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                owner, nullptr, GetModuleHandleW(nullptr), &dialog);
    if (!hwnd) return std::nullopt;
    Control(L"STATIC", request.text, 0, hwnd, 0, x(7), y(6), width - x(14), y(20));
    dialog.first = Control(L"EDIT", "", (request.hidden ? ES_PASSWORD : 0) | ES_AUTOHSCROLL | WS_TABSTOP, hwnd,
                           kIdFirst, x(7), y(28), width - x(14), y(12));
    if (request.twice)
        dialog.second = Control(L"EDIT", "", ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, hwnd, kIdSecond, x(7), y(44),
                                width - x(14), y(12));
    const int below = y(28 + 16 * rows);
    dialog.problem = Control(L"STATIC", "", 0, hwnd, kIdProblem, x(7), below, width - x(14), y(10));
    Control(L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, hwnd, IDOK, width - x(108), below + y(14), x(48), y(14));
    Control(L"BUTTON", "Cancel", WS_TABSTOP, hwnd, IDCANCEL, width - x(55), below + y(14), x(48), y(14));
    // Centred on the owner (or the screen), in front, the owner waiting meanwhile as for a message box.
    RECT around = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &around);
    SetWindowPos(hwnd, HWND_TOP, (around.left + around.right - (frame.right - frame.left)) / 2,
                 (around.top + around.bottom - (frame.bottom - frame.top)) / 2, 0, 0, SWP_NOSIZE);
    const bool ownerEnabled = owner && IsWindowEnabled(owner);
    if (ownerEnabled) EnableWindow(owner, FALSE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(dialog.first);
    MSG msg;
    while (!dialog.done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!dialog.done) PostQuitMessage(int(msg.wParam));  // the program is ending: its loop must see it too
    if (ownerEnabled) EnableWindow(owner, TRUE);
    DestroyWindow(hwnd);
    if (owner) SetForegroundWindow(owner);
    return dialog.taken;
}

PassphraseFn gAsk = RealDialog;

}  // namespace

std::optional<std::string> AskPassphrase(HWND owner, const PassphraseRequest& request, const PassphraseCheck& check) {
    return gAsk(owner, request, check);
}

void SetPassphraseDialogForTesting(PassphraseFn fn) { gAsk = fn ? fn : RealDialog; }

}  // namespace mainwindow
