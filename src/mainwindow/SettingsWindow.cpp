#include "mainwindow/SettingsWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "clipboard/CopyMarkers.h"
#include "common/WindowClass.h"
#include "common/WindowText.h"
#include "mainwindow/MainWindowParts.h"
#include "mainwindow/ModalWindow.h"
#include "mainwindow/PopupRules.h"
#include "mainwindow/SettingsRules.h"
#include "shell/PathHelpers.h"
#include "shell/SettingsStore.h"

namespace mainwindow {
namespace {

const int kFirstFieldId = 200;        // a field's box, then its problem line
const int kFirstButtonId = 300;       // the window's own buttons
const int kFirstFieldButtonId = 400;  // a field's Browse or Pick

struct Settings {
    const std::vector<SettingsButton>* buttons = nullptr;
    const SettingsApply* apply = nullptr;
    const SettingsLiveCheck* liveCheck = nullptr;
    std::vector<HWND> boxes, problems;  // a tick has no problem line
    std::vector<std::string> shown;
    bool done = false, applied = false;
};

std::string Typed(const Settings& settings, std::size_t i) {
    if (SettingFields()[i].kind == FieldKind::kTick) return common::IsTicked(settings.boxes[i]) ? shell::kOn : shell::kOff;
    return common::WindowText(settings.boxes[i]);
}

void SayProblem(const Settings& settings, std::size_t i, const std::string& problem) {
    if (settings.problems[i]) common::SetWindowTextUtf8(settings.problems[i], problem);
}

// Every field checked, what is wrong shown beside it; the changed ones put in force when all are understood.
void Take(Settings& settings) {
    const auto& fields = SettingFields();
    std::map<std::string, std::string> changed;
    HWND firstWrong = nullptr;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string typed = Typed(settings, i);
        const std::string wrong = fields[i].check(typed);
        SayProblem(settings, i, wrong);
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
            if (problem != outcome.problems.end()) SayProblem(settings, i, problem->second);
        }
        if (!outcome.applied) return;
    }
    settings.applied = !changed.empty();
    settings.done = true;
}

BOOL CALLBACK NoteProgramOfWindow(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!IsWindowVisible(window) || process == GetCurrentProcessId()) return TRUE;
    const std::string image = clipboard::ProcessImage(process);
    if (!image.empty())
        reinterpret_cast<std::set<std::string>*>(found)->insert(image.substr(image.find_last_of("\\/") + 1));
    return TRUE;
}

// The file names of the programs with a window on the desktop, this one left out.
std::vector<std::string> ProgramsWithWindows() {
    std::set<std::string> names;
    EnumWindows(NoteProgramOfWindow, reinterpret_cast<LPARAM>(&names));
    return {names.begin(), names.end()};
}

void PressFieldButton(HWND hwnd, const Settings& settings, std::size_t i) {
    HWND box = settings.boxes[i];
    if (SettingFields()[i].kind == FieldKind::kFolder) {
        const std::string chosen = shell::BrowseForFolder(hwnd, "Choose the folder that keeps the history:");
        if (!chosen.empty()) common::SetWindowTextUtf8(box, chosen);
        return;
    }
    const std::vector<std::string> programs = ProgramsWithWindows();
    HMENU menu = CreatePopupMenu();
    for (std::size_t p = 0; p < programs.size(); ++p)
        AppendMenuW(menu, MF_STRING, p + 1, common::Widen(programs[p]).c_str());
    if (programs.empty()) AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"No other program has a window open");
    const int chosen = ChooseFromMenu(hwnd, menu);
    DestroyMenu(menu);
    if (chosen > 0 && std::size_t(chosen) <= programs.size())
        common::SetWindowTextUtf8(box, WithProgram(common::WindowText(box), programs[std::size_t(chosen - 1)]));
}

// The hotkey's box: a combination pressed there (Ctrl, Alt or Win held with a key) is written by name in
// place of what the box held; typing without them edits the text as in any box.
LRESULT CALLBACK HotkeyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    static bool swallowChar = false;
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        const auto held = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
        Hotkey pressed{0, unsigned(wParam)};
        if (held(VK_CONTROL)) pressed.modifiers |= kModControl;
        if (held(VK_MENU)) pressed.modifiers |= kModAlt;
        if (held(VK_SHIFT)) pressed.modifiers |= kModShift;
        if (held(VK_LWIN) || held(VK_RWIN)) pressed.modifiers |= kModWin;
        const std::string name = HotkeyName(pressed);
        if ((pressed.modifiers & ~kModShift) != 0 && !name.empty()) {
            common::SetWindowTextUtf8(box, name);
            SendMessageW(box, EM_SETSEL, 0, -1);
            swallowChar = true;
            return 0;
        }
    }
    if ((message == WM_CHAR || message == WM_SYSCHAR) && swallowChar) {
        swallowChar = false;
        return 0;
    }
    if (message == WM_KEYUP || message == WM_SYSKEYUP) swallowChar = false;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, HotkeyBoxProc, 1);
    return DefSubclassProc(box, message, wParam, lParam);
}

// While a value is typed: what is wrong with it once it is understood (a hotkey another program holds).
void CheckWhileTyped(const Settings& settings, HWND box) {
    const auto& fields = SettingFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (settings.boxes[i] != box || fields[i].kind != FieldKind::kHotkey || !*settings.liveCheck) continue;
        const std::string typed = Typed(settings, i);
        SayProblem(settings, i, fields[i].check(typed).empty() ? (*settings.liveCheck)(fields[i].key, typed) : "");
    }
}

LRESULT CALLBACK SettingsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ModalProcedure(hwnd, message, wParam, lParam, [&]() -> LRESULT {
        Settings* settings = common::WindowOwner<Settings>(hwnd, message, lParam, [](Settings*) {});
        if (settings && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            const int id = LOWORD(wParam);
            if (id == IDOK) Take(*settings);
            if (id == IDCANCEL) settings->done = true;
            if (id >= kFirstButtonId && id < kFirstButtonId + int(settings->buttons->size()))
                (*settings->buttons)[std::size_t(id - kFirstButtonId)].press();
            if (id >= kFirstFieldButtonId && id < kFirstFieldButtonId + int(settings->boxes.size()))
                PressFieldButton(hwnd, *settings, std::size_t(id - kFirstFieldButtonId));
            return 0;
        }
        if (settings && message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && settings->liveCheck)
            CheckWhileTyped(*settings, reinterpret_cast<HWND>(lParam));
        if (settings && message == WM_CLOSE) {
            settings->done = true;
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    });
}

}  // namespace

bool EditSettings(HWND owner, const std::vector<SettingsButton>& buttons, const SettingsApply& apply,
                  const std::map<std::string, std::string>& inUse, const SettingsLiveCheck& liveCheck) {
    if (!common::RegisterUnicodeClassOnce(kSettingsWindowClass, SettingsProc)) return false;
    Settings settings;
    settings.buttons = &buttons;
    settings.apply = &apply;
    settings.liveCheck = &liveCheck;
    const auto& fields = SettingFields();
    const DialogUnits units(owner);
    const auto x = [&](int u) { return units.X(u); };
    const auto y = [&](int u) { return units.Y(u); };
    // Boxes a row each, ticks two to a row: at 150% on a screen 768 pixels tall the window still fits.
    const int width = x(330), row = y(22), tickRow = y(13), top = y(7), column = (width - x(14)) / 2;
    const auto ticks = std::count_if(fields.begin(), fields.end(),
                                     [](const SettingField& field) { return field.kind == FieldKind::kTick; });
    const int below = top + row * int(fields.size() - std::size_t(ticks)) + tickRow * int((ticks + 1) / 2);
    RECT frame = {0, 0, width, below + y(24)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kSettingsWindowClass, L"Ardentia Settings",
                                WS_CAPTION | WS_SYSMENU | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                GetModuleHandleW(nullptr), &settings);
    if (!hwnd) return false;
    units.Adopt(hwnd);
    int at = top, ticked = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const SettingField& field = fields[i];
        const int id = kFirstFieldId + 2 * int(i);
        const bool kept = shell::SettingExists(field.key);
        const std::string value = kept ? shell::GetSetting(field.key, "") : "";
        const auto used = inUse.find(field.key);
        if (field.kind == FieldKind::kTick) {
            settings.shown.push_back(TickShown(field, value));
            settings.boxes.push_back(AddControl(L"BUTTON", field.label, BS_AUTOCHECKBOX | WS_TABSTOP, hwnd, id,
                                                x(7) + column * (ticked % 2), at, column - x(4), y(10)));
            SendMessageW(settings.boxes.back(), BM_SETCHECK, settings.shown.back() == shell::kOn ? BST_CHECKED : 0, 0);
            settings.problems.push_back(nullptr);
            if (ticked++ % 2 == 1) at += tickRow;
            continue;
        }
        settings.shown.push_back(value.empty() && used != inUse.end() ? used->second : kept ? value : field.absent);
        const bool buttoned = field.kind == FieldKind::kFolder || field.kind == FieldKind::kPrograms;
        AddControl(L"STATIC", field.label, 0, hwnd, 0, x(7), at + y(2), x(160), y(10));
        settings.boxes.push_back(AddControl(L"EDIT", settings.shown.back(), ES_AUTOHSCROLL | WS_TABSTOP, hwnd, id,
                                            x(170), at, x(buttoned ? 109 : 153), y(12)));
        if (field.kind == FieldKind::kHotkey) SetWindowSubclass(settings.boxes.back(), HotkeyBoxProc, 1, 0);
        if (buttoned)
            AddControl(L"BUTTON", field.kind == FieldKind::kFolder ? "Browse..." : "Pick...", WS_TABSTOP, hwnd,
                       kFirstFieldButtonId + int(i), x(283), at, x(40), y(12));
        // A value set by hand that is not understood is said at once: its default is in force meanwhile.
        settings.problems.push_back(AddControl(L"STATIC", kept ? field.check(settings.shown.back()) : "", 0, hwnd,
                                               id + 1, x(7), at + y(12), width - x(14), y(9)));
        at += row;
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
