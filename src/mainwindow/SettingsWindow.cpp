#include "mainwindow/SettingsWindow.h"

#include "common/WindowClass.h"
#include "common/WindowText.h"
#include "mainwindow/ModalWindow.h"
#include "mainwindow/SettingsRules.h"
#include "shell/SettingsStore.h"

namespace mainwindow {
namespace {

const int kFirstFieldId = 200;  // a field's box, then its problem line
const int kFirstButtonId = 300;

struct Settings {
    const std::vector<SettingsButton>* buttons = nullptr;
    const SettingsApply* apply = nullptr;
    std::vector<HWND> boxes, problems;
    std::vector<std::string> shown;
    bool done = false, applied = false;
};

// Every field checked, what is wrong shown beside it; the changed ones put in force when all are understood.
void Take(Settings& settings) {
    const auto& fields = SettingFields();
    std::map<std::string, std::string> changed;
    HWND firstWrong = nullptr;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string typed = common::WindowText(settings.boxes[i]);
        const std::string wrong = fields[i].check(typed);
        common::SetWindowTextUtf8(settings.problems[i], wrong);
        if (!wrong.empty() && !firstWrong) firstWrong = settings.boxes[i];
        if (typed != settings.shown[i]) changed[fields[i].key] = typed;
    }
    if (firstWrong) {
        SetFocus(firstWrong);
        SendMessageW(firstWrong, EM_SETSEL, 0, -1);
        return;
    }
    if (!changed.empty()) {
        const SettingsOutcome outcome = (*settings.apply)(changed);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const auto problem = outcome.problems.find(fields[i].key);
            if (problem != outcome.problems.end()) common::SetWindowTextUtf8(settings.problems[i], problem->second);
        }
        if (!outcome.applied) return;
    }
    settings.applied = !changed.empty();
    settings.done = true;
}

LRESULT CALLBACK SettingsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Settings* settings = common::WindowOwner<Settings>(hwnd, message, lParam, [](Settings*) {});
    if (settings && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const int id = LOWORD(wParam);
        if (id == IDOK) Take(*settings);
        if (id == IDCANCEL) settings->done = true;
        if (id >= kFirstButtonId && id < kFirstButtonId + int(settings->buttons->size()))
            (*settings->buttons)[std::size_t(id - kFirstButtonId)].press();
        return 0;
    }
    if (settings && message == WM_CLOSE) {
        settings->done = true;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool EditSettings(HWND owner, const std::vector<SettingsButton>& buttons, const SettingsApply& apply) {
    if (!common::RegisterUnicodeClassOnce(kSettingsWindowClass, SettingsProc)) return false;
    Settings settings;
    settings.buttons = &buttons;
    settings.apply = &apply;
    const auto& fields = SettingFields();
    const DialogUnits units;
    const auto x = [&](int u) { return units.X(u); };
    const auto y = [&](int u) { return units.Y(u); };
    const int width = x(300), row = y(26), top = y(7);
    const int below = top + row * int(fields.size());
    RECT frame = {0, 0, width, below + y(24)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kSettingsWindowClass, L"Ardentia Settings",
                                WS_CAPTION | WS_SYSMENU | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                GetModuleHandleW(nullptr), &settings);
    if (!hwnd) return false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int at = top + row * int(i);
        const bool kept = shell::SettingExists(fields[i].key);
        settings.shown.push_back(kept ? shell::GetSetting(fields[i].key, "") : fields[i].absent);
        AddControl(L"STATIC", fields[i].label, 0, hwnd, 0, x(7), at + y(2), x(160), y(10));
        settings.boxes.push_back(AddControl(L"EDIT", settings.shown.back(), ES_AUTOHSCROLL | WS_TABSTOP, hwnd,
                                         kFirstFieldId + 2 * int(i), x(170), at, x(123), y(12)));
        // A value set by hand that is not understood is said at once: its default is in force meanwhile.
        settings.problems.push_back(AddControl(L"STATIC", kept ? fields[i].check(settings.shown.back()) : "", 0, hwnd,
                                            kFirstFieldId + 2 * int(i) + 1, x(7), at + y(13), width - x(14), y(10)));
    }
    int left = x(7);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        AddControl(L"BUTTON", buttons[i].text, WS_TABSTOP, hwnd, kFirstButtonId + int(i), left, below, x(80), y(14));
        left += x(84);
    }
    AddControl(L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, hwnd, IDOK, width - x(108), below, x(48), y(14));
    AddControl(L"BUTTON", "Cancel", WS_TABSTOP, hwnd, IDCANCEL, width - x(55), below, x(48), y(14));
    RunModal(hwnd, owner, settings.boxes.front(), settings.done);
    return settings.applied;
}

}  // namespace mainwindow
