#include "mainwindow/PassphraseDialog.h"

#include "common/WindowClass.h"
#include "common/WindowText.h"
#include "mainwindow/ModalWindow.h"

namespace mainwindow {
namespace {

const wchar_t kClass[] = L"ArdentiaPassphrase";
enum { kIdFirst = 101, kIdSecond, kIdProblem };

struct Dialog {
    const PassphraseRequest* request = nullptr;
    const PassphraseCheck* check = nullptr;
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
    return ModalProcedure(hwnd, message, wParam, lParam, [&]() -> LRESULT {
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
    });
}

std::optional<std::string> RealDialog(HWND owner, const PassphraseRequest& request, const PassphraseCheck& check) {
    if (!common::RegisterUnicodeClassOnce(kClass, DialogProc)) return std::nullopt;
    Dialog dialog;
    dialog.request = &request;
    dialog.check = &check;
    const DialogUnits units(owner);
    const auto x = [&](int u) { return units.X(u); };
    const auto y = [&](int u) { return units.Y(u); };
    const int width = x(220), rows = request.twice ? 2 : 1;
    RECT frame = {0, 0, width, y(62 + 16 * rows)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, L"Ardentia", WS_CAPTION | WS_SYSMENU | WS_POPUP,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                owner, nullptr, GetModuleHandleW(nullptr), &dialog);
    if (!hwnd) return std::nullopt;
    units.Adopt(hwnd);
    AddControl(L"STATIC", request.text, 0, hwnd, 0, x(7), y(6), width - x(14), y(20));
    dialog.first = AddControl(L"EDIT", "", (request.hidden ? ES_PASSWORD : 0) | ES_AUTOHSCROLL | WS_TABSTOP, hwnd,
                           kIdFirst, x(7), y(28), width - x(14), y(12));
    if (request.twice)
        dialog.second = AddControl(L"EDIT", "", ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, hwnd, kIdSecond, x(7), y(44),
                                width - x(14), y(12));
    const int below = y(28 + 16 * rows);
    dialog.problem = AddControl(L"STATIC", "", 0, hwnd, kIdProblem, x(7), below, width - x(14), y(10));
    AddControl(L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, hwnd, IDOK, width - x(108), below + y(14), x(48), y(14));
    AddControl(L"BUTTON", "Cancel", WS_TABSTOP, hwnd, IDCANCEL, width - x(55), below + y(14), x(48), y(14));
    RunModal(hwnd, owner, dialog.first, dialog.done);
    return dialog.taken;
}

PassphraseFn gAsk = RealDialog;

}  // namespace

std::optional<std::string> AskPassphrase(HWND owner, const PassphraseRequest& request, const PassphraseCheck& check) {
    return gAsk(owner, request, check);
}

void SetPassphraseDialogForTesting(PassphraseFn fn) { gAsk = fn ? fn : RealDialog; }

}  // namespace mainwindow
