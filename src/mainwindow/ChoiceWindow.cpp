#include "mainwindow/ChoiceWindow.h"

#include <algorithm>

#include "common/WindowClass.h"
#include "common/WindowText.h"
#include "mainwindow/ModalWindow.h"

namespace mainwindow {
namespace {

const int kFirstAnswerId = 100;
ChoiceFn gChoiceForTesting = nullptr;

struct Choice {
    int answer = -1;
    bool done = false;
};

LRESULT CALLBACK ChoiceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ModalProcedure(hwnd, message, wParam, lParam, [&]() -> LRESULT {
        Choice* choice = common::WindowOwner<Choice>(hwnd, message, lParam, [](Choice*) {});
        if (choice && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) != IDCANCEL) choice->answer = LOWORD(wParam) - kFirstAnswerId;
            choice->done = true;
            return 0;
        }
        if (choice && message == WM_CLOSE) {
            choice->done = true;
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    });
}

}  // namespace

void SetChoiceForTesting(ChoiceFn fn) { gChoiceForTesting = fn; }

int AskChoice(HWND owner, const std::string& text, const std::vector<std::string>& answers) {
    if (gChoiceForTesting) return gChoiceForTesting(owner, text, answers);
    if (answers.empty() || !common::RegisterUnicodeClassOnce(kChoiceWindowClass, ChoiceProc)) return -1;
    const DialogUnits units(owner);
    const int buttonWidth = units.X(60), gap = units.X(4), margin = units.X(7);
    const int width = std::max(units.X(260), int(answers.size()) * (buttonWidth + gap) - gap + 2 * margin);
    // The text's height as the dialog font wraps it.
    RECT measured = {0, 0, width - 2 * margin, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ was = SelectObject(dc, units.Font());
    const std::wstring wide = common::Widen(text);
    DrawTextW(dc, wide.c_str(), int(wide.size()), &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, was);
    ReleaseDC(nullptr, dc);
    const int textHeight = measured.bottom + units.Y(2), below = units.Y(7) + textHeight + units.Y(7);
    RECT frame = {0, 0, width, below + units.Y(21)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    Choice choice;
    HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kChoiceWindowClass, common::Widen(common::WindowText(owner)).c_str(),
                                WS_CAPTION | WS_SYSMENU | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                GetModuleHandleW(nullptr), &choice);
    if (!hwnd) return -1;
    units.Adopt(hwnd);
    AddControl(L"STATIC", text, SS_NOPREFIX, hwnd, 0, margin, units.Y(7), width - 2 * margin, textHeight);
    int left = width - margin - int(answers.size()) * (buttonWidth + gap) + gap;
    HWND first = nullptr;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        HWND button = AddControl(L"BUTTON", answers[i], WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : 0), hwnd,
                                 kFirstAnswerId + int(i), left, below, buttonWidth, units.Y(14));
        if (!first) first = button;
        left += buttonWidth + gap;
    }
    RunModal(hwnd, owner, first, choice.done);
    return choice.answer;
}

}  // namespace mainwindow
