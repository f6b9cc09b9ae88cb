// The main window in this process, against the real registry, clipboard and chain; message boxes,
// launches and the tray's shell requests are answered and recorded through their seams.
#pragma once

#include <gtest/gtest.h>

#include "support/win32_wait.h"
#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "clips/ClipCollection.h"
#include "history/HistoryFolder.h"
#include "history/HistoryStore.h"
#include "clipboard/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "common/WindowText.h"
#include "mainwindow/ChoiceWindow.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Launch.h"
#include "mainwindow/MainWindowParts.h"
#include "mainwindow/PassphraseDialog.h"
#include "shell/PathHelpers.h"
#include "shell/SettingsStore.h"
#include "shell/TrayRules.h"
#include "shell/RunKeyEntry.h"
#include "support/clipboard_peer.h"

namespace mainwindow {
namespace testing_form {

const char kSection[] = "Software\\Kestrovan\\Ardentia";

struct Box {
    std::string text, title;
    UINT style;
};
inline std::vector<Box> gBoxes;
inline int gAnswer = IDYES;
inline int RecordBox(HWND, const std::string& text, const std::string& title, UINT style) {
    gBoxes.push_back({text, title, style});
    return gAnswer;
}

// What the window that asks for a passphrase or a recovery code is typed, one answer after another, and what
// each answer was told (empty: taken).
inline std::vector<std::string> gTyped, gToldOfTyped;
inline std::optional<std::string> TypePassphrase(HWND, const PassphraseRequest&, const PassphraseCheck& check) {
    for (const std::string& typed : gTyped) {
        gToldOfTyped.push_back(check(typed));
        if (gToldOfTyped.back().empty()) return typed;
    }
    return std::nullopt;
}

struct Launch {
    bool openWith;
    std::string target;
};
inline std::vector<Launch> gLaunches;
inline void RecordLaunch(bool openWith, const std::string& target) { gLaunches.push_back({openWith, target}); }

inline std::vector<DWORD> gTray;  // the shell requests made
inline BOOL WINAPI RecordTray(DWORD operation, PNOTIFYICONDATAW) {
    gTray.push_back(operation);
    return TRUE;
}

// A user in front of the system's own dialogs (a real message box, the folder picker): from a thread of
// its own it reads the texts of each dialog that opens, in UTF-16, and answers it.
class DialogUser {
public:
    explicit DialogUser(WPARAM answer) : answer_(answer), thread_([this] { Run(); }) {}
    ~DialogUser() { Texts(); }
    // What the dialogs showed, once the user has stopped.
    std::vector<std::wstring> Texts() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return texts_;
    }

private:
    static BOOL CALLBACK Read(HWND child, LPARAM out) {
        wchar_t text[256] = {};
        if (GetWindowTextW(child, text, 256) > 0) reinterpret_cast<std::vector<std::wstring>*>(out)->push_back(text);
        return TRUE;
    }
    void Run() {
        for (; !stop_; Sleep(20)) {
            HWND dialog = FindWindowW(L"#32770", nullptr);
            if (!dialog || !IsWindowVisible(dialog)) continue;
            EnumChildWindows(dialog, Read, reinterpret_cast<LPARAM>(&texts_));
            PostMessageW(dialog, WM_COMMAND, answer_, 0);
        }
    }
    WPARAM answer_;
    std::atomic<bool> stop_{false};
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

inline bool Showed(const std::vector<std::wstring>& texts, const std::wstring& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The key pressed in window with modifier (VK_CONTROL, VK_SHIFT) held, as the window reads the keyboard state.
inline void PressWith(int modifier, HWND window, WPARAM key) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_CONTROL] = keys[VK_MENU] = 0;
    keys[modifier] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(window, WM_KEYDOWN, key, 0);
    keys[modifier] = 0;
    SetKeyboardState(keys);
}

using common::IsTicked;
using common::WindowText;

inline bool StoredKey(const char* key) {
    HKEY section = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSection, 0, KEY_READ, &section) != ERROR_SUCCESS) return false;
    const bool found = RegQueryValueExA(section, key, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(section);
    return found;
}

// The shortcut menus opened, each as its items' texts, and the item each chooses (by its text; none: no choice).
inline std::vector<std::vector<std::string>> gMenus;
inline std::string gMenuPick;
inline int PickFromMenu(HWND, HMENU menu) {
    gMenus.emplace_back();
    int picked = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
        const bool checked = (GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_CHECKED) != 0;
        gMenus.back().push_back(std::string(checked ? "[x] " : "") + common::Narrow(text));
        if (common::Narrow(text) == gMenuPick) picked = int(GetMenuItemID(menu, i));
    }
    return picked;
}

// The questions with several answers asked, and the answer each gets (by its text).
inline std::vector<std::string> gChoices;
inline std::string gChoiceAnswer;
inline int AnswerChoice(HWND, const std::string& text, const std::vector<std::string>& answers) {
    gChoices.push_back(text);
    const auto it = std::find(answers.begin(), answers.end(), gChoiceAnswer);
    return it == answers.end() ? -1 : int(it - answers.begin());
}

class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageBoxForTesting(RecordBox);
        SetPassphraseDialogForTesting(TypePassphrase);
        SetMenuChoiceForTesting(PickFromMenu);
        SetChoiceForTesting(AnswerChoice);
        SetLaunchForTesting(RecordLaunch);
        shell::SetShellNotifyForTesting(RecordTray);
    }
    void SetUp() override {
        testsupport::ForgetSettings();
        std::filesystem::remove_all(history::DefaultHistoryFolder());  // every test starts with no history
        gBoxes.clear();
        gTray.clear();
        gLaunches.clear();
        gAnswer = IDYES;
        gTyped.clear();
        gToldOfTyped.clear();
        gMenus.clear();
        gMenuPick.clear();
        gChoices.clear();
    }
    void TearDown() override {
        form_.reset();
        testsupport::PumpFor(50);
        testsupport::ForgetSettings();
        std::filesystem::remove_all(history::DefaultHistoryFolder());
    }
    void Start() {
        form_ = std::make_unique<MainWindow>();
        ASSERT_TRUE(form_->Load(false));
        form_->Show();
        testsupport::PumpFor(200);
    }
    // Starts with the manager on; the start-up report of the missing hand cursor is not this test's.
    void StartOn(bool on = true) {
        if (on) shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
        Start();
        gBoxes.clear();
    }
    // An empty folder on the Linux side, so that Linux tools can read what was written.
    std::string OutputFolder() {
        testsupport::RunUnixShell("rm -rf /tmp/ardentia_out && mkdir -p /tmp/ardentia_out");
        testsupport::PumpUntil([] { return shell::FolderExists("Z:\\tmp\\ardentia_out"); }, testsupport::kPatientMs);
        return "Z:\\tmp\\ardentia_out\\";
    }
    int Count() { return form_->ClipList().Model().ListCount(); }
    std::string ClipboardText() {
        return clips::TrimAtNull(clipboard::ReadClipboardBytes(form_->hwnd(), CF_TEXT).value_or(""));
    }
    // Another program copies; true once that copy is one more clip.
    bool Copy(const std::function<void()>& fill) {
        const int wanted = Count() + 1;
        const bool copied = testsupport::PeerCopy(fill, [&] { return Count() == wanted; });
        SettlePreview();
        return copied;
    }
    // The preview is filled once the window has handled what came before.
    void SettlePreview() {
        testsupport::PumpUntil([&] { return !form_->PreviewPending(); }, testsupport::kPatientMs);
    }
    bool CopyText(const std::string& text) { return Copy([&] { testsupport::OfferText(CF_TEXT, text); }); }
    bool CopyWide(const std::wstring& text) { return Copy([&] { testsupport::OfferWide(CF_UNICODETEXT, text); }); }
    bool CopyRich(const std::string& rtf, const std::string& plain) {
        return Copy([&] {
            testsupport::OfferText(clipboard::RichTextFormat(), rtf);
            testsupport::OfferText(CF_TEXT, plain);
        });
    }
    bool CopyPicture(int width, int height, COLORREF (*colour)(int, int)) {
        return Copy([&] { SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(width, height, colour)); });
    }
    // Saves the clips into folder; the one message the user was shown.
    std::string Save(const std::string& folder) {
        SetWindowTextA(form_->OutputFolderBox(), folder.c_str());
        gBoxes.clear();
        Click(form_->SaveResultsButton());
        return gBoxes.size() == 1 ? gBoxes[0].text : std::to_string(gBoxes.size()) + " messages";
    }
    void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

    std::unique_ptr<MainWindow> form_;
};

}  // namespace testing_form
}  // namespace mainwindow
