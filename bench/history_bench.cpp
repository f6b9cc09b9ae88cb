// Prints what a long history costs the window, beside the same work with 25 clips, in one run: start-up
// with every clip listed, the first search typed after it, Delete All, and a start that trims the history
// to 25 (the others' files deleted). Run it under Wine on a display: scripts/bench.sh (argument: how many
// clips the long history holds; 100,000 by default).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <thread>
#include <vector>

#include "BenchClock.h"
#include "BenchForm.h"
#include "history/ClipFile.h"
#include "clipboard/ClipboardAccess.h"
#include "history/FolderKeys.h"
#include "history/HistoryFolder.h"
#include "history/SealedClipFile.h"
#include "history/HistoryStore.h"
#include "support/process_memory.h"
#include "support/win32_wait.h"

namespace {

using mainwindow::HistoryPopup;

// Each size has a folder of its own: a long history written once (half an hour under Wine for 100,000 files)
// is kept for the next run, which forgets the folder's index and writes again only the files gone (the clip
// the benchmark deletes).
std::wstring FolderOf(int clips) { return L"Z:\\tmp\\ardentia-history-bench-" + std::to_wstring(clips); }
std::filesystem::path WrittenMark(int clips) { return FolderOf(clips) + L".written"; }
std::filesystem::path MemoryFile(int clips) { return FolderOf(clips) + L".memory"; }

std::size_t FilesLeft(int clips) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(clips)))
        files += history::IsClipFileName(entry.path().filename().u8string()) ? 1 : 0;  // not the key file
    return files;
}

// Text clips captured a second apart, sealed with the folder's key and written as the store writes them
// (without waiting for the disk).
void StoreClips(int clips) {
    const std::wstring folder = FolderOf(clips);
    shell::SaveSetting(shell::kKeyHistoryFolder, std::filesystem::path(folder).u8string());
    const bool topUp = std::filesystem::exists(WrittenMark(clips));
    history::ForgetFolderIndex(folder);
    if (!topUp) std::filesystem::remove_all(folder);
    const auto key = history::KeyOfFolder(folder);
    if (!key.sealer) return;
    // Four writers: a hundred thousand files take minutes under Wine.
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&, t] {
            for (int i = t; i < clips; i += 4) {
                const std::string text = "Stored clip " + std::to_string(i) + ": a line of text as people copy them.";
                history::ClipFileContents clip;
                clip.header = {clips::kKindText, 1765000000000ull + std::uint64_t(i) * 1000, false, text};
                clip.formats = {{"#13", clips::UnicodeTextFormat(text).bytes}};
                const history::ClipFileId id{clip.header.capturedAtMs, 0,
                                             history::SealedContentId(clip.formats, *key.sealer).value_or(0)};
                const std::filesystem::path file = std::filesystem::path(folder) / history::ClipFileName(id);
                if (!topUp || !std::filesystem::exists(file))
                    std::ofstream(file, std::ios::binary) << history::WriteSealedClipFile(clip, *key.sealer);
            }
        });
    for (std::thread& writer : writers) writer.join();
    std::ofstream(WrittenMark(clips)) << clips;
}

// The folder's files are about to be deleted: the next run writes them again.
void Unmark(int clips) { std::filesystem::remove(WrittenMark(clips)); }

struct Figures {
    double convert = 0, converted = 0, start = 0, inStep = 0, search = 0, searchTyped = 0, memory = 0, freshStart = 0;
    double searchFirstPage = 0;
    double popup = 0, popupKey = 0, pageDown = 0, end = 0, home = 0, down = 0, pin = 0, deleteOne = 0;
    double deleteAll = -1, afterDeleteAll = -1, deleteFiles = -1, trimStart = -1, trimFiles = -1;
};

double LoadForm(mainwindow::MainWindow& form, const char* historySize) {
    shell::SaveSetting(shell::kKeyHistorySize, historySize);
    const double start = Now();
    if (!form.Load(false)) return -1;
    form.Show();
    UpdateWindow(form.hwnd());
    return Now() - start;
}

DWORD gLookMs = 2000;

// When a list window is first painted after gPaintedAt was set to 0: the first page of a search, before the rest
// of the list is narrowed.
double gPaintedAt = -1;
LRESULT CALLBACK NotePaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_PAINT && gPaintedAt == 0) gPaintedAt = Now();
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The time f takes until the window is painted again, best of three.
template <typename Act>
double Painted(HWND window, Act act) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const double start = Now();
        act();
        UpdateWindow(window);
        best = std::min(best, Now() - start);
    }
    return best;
}

// Delete All with a quarter of the clips pinned (200 at most, spread over the list), which it keeps: the command
// on the window's thread, the longest message the window then handles (in two seconds, and until the files are
// gone when waitForFiles), and the time until every file is gone.
void DeleteAll(mainwindow::MainWindow& form, int clips, bool waitForFiles, Figures& figures) {
    auto& model = form.ClipList().Model();
    const int count = model.ListCount(), pins = std::min(200, count / 4);
    for (int n = 0; n < pins; ++n) {
        const int position = int(std::int64_t(n) * count / pins);
        if (!model.ItemPinned(position)) form.TogglePin(position);
    }
    form.History().FlushWrites();
    int pinned = 0;
    for (int i = 0; i < model.ListCount(); ++i) pinned += model.ItemPinned(i) ? 1 : 0;
    const double start = Now();
    form.DeleteAll();
    figures.deleteAll = Now() - start;
    figures.afterDeleteAll = 0;
    const double atLeast = Now() + 2000, atMost = Now() + 600000;
    for (double checked = 0; Now() < atMost;) {
        if (waitForFiles && figures.deleteFiles < 0 && Now() - checked > 100) {
            checked = Now();
            if (FilesLeft(clips) <= std::size_t(pinned)) figures.deleteFiles = checked - start;
        }
        if (Now() >= atLeast && (!waitForFiles || figures.deleteFiles >= 0)) break;
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        const double began = Now();
        TranslateMessage(&message);
        DispatchMessageW(&message);
        figures.afterDeleteAll = std::max(figures.afterDeleteAll, Now() - began);
    }
    if (!waitForFiles) return;
    if (FilesLeft(clips) != std::size_t(pinned))
        std::printf("  (%zu files left after Delete All, %d pinned)\n", FilesLeft(clips), pinned);
}

// The popup from its hotkey until painted, and its first key; the main list's keys; a pin and a delete.
void MeasureWindow(mainwindow::MainWindow& form, Figures& figures) {
    HistoryPopup& popup = form.Popup();
    HWND rows = popup.List().picList();
    figures.popup = 1e9;
    for (int run = 0; run < 3; ++run) {
        const double start = Now();
        PostMessageW(form.hwnd(), WM_HOTKEY, 1, 0);
        RECT dirty;
        testsupport::PumpUntil([&] { return popup.IsOpen() && !GetUpdateRect(rows, &dirty, FALSE); }, 60000);
        figures.popup = std::min(figures.popup, Now() - start);
        if (run < 2) popup.Close();
    }
    const double typed = Now();
    SendMessageW(popup.FilterBox(), WM_CHAR, 'c', 0);
    UpdateWindow(rows);
    figures.popupKey = Now() - typed;
    popup.Close();
    HWND list = form.ClipList().picList();
    auto& model = form.ClipList().Model();
    model.SetListIndex(model.ListCount() / 2);
    const auto key = [&](WPARAM k) { return Painted(list, [&] { SendMessageW(list, WM_KEYDOWN, k, 0); }); };
    figures.pageDown = key(VK_NEXT);
    figures.end = key(VK_END);
    figures.home = key(VK_HOME);
    figures.down = key(VK_DOWN);
    const int middle = model.ListCount() / 2;
    figures.pin = Painted(list, [&] { form.TogglePin(middle); });
    figures.deleteOne = Painted(list, [&] {
        model.SetListIndex(middle);
        form.DeleteClip();
    });
}

// Private memory as a start from the index leaves it, after a search, in a process of its own: a first start's
// peak (listing every file) stays in the heap of the process that made it. The index is made by another child
// first: this process never starts the window before them, as a second one would see another instance running.
// --shown: the time until shown alone; the window closes at once (the index keeps what it did not list yet).
int StartHere(int clips, const std::string& mode) {
    shell::SaveSetting(shell::kKeyHistoryFolder, std::filesystem::path(FolderOf(clips)).u8string());
    mainwindow::MainWindow form;
    const double shown = LoadForm(form, "100000");
    if (shown < 0) return 1;
    if (mode == "--shown") {
        std::ofstream(MemoryFile(clips)) << 0 << " " << shown;
        return 0;
    }
    testsupport::PumpUntil([&] { return form.History().InStep() && !form.History().ReadingSearchTextsAhead(); },
                           3600000);
    if (mode != "--memory") return 0;
    SendMessageW(form.SearchBox(), WM_CHAR, 'c', 0);
    testsupport::PumpUntil([&] { return !form.Search().Shown().empty(); }, 60000);
    form.Search().ClearFilter();
    std::ofstream(MemoryFile(clips)) << testsupport::PrivateMb() << " " << shown;
    return 0;
}

// Delete All at a long history in a process of its own, which ends without waiting for the files to go (a hundred
// thousand deletes take most of an hour under Wine): its two figures are left in the memory file.
int DeleteAllHere(int clips) {
    shell::SaveSetting(shell::kKeyHistoryFolder, std::filesystem::path(FolderOf(clips)).u8string());
    mainwindow::MainWindow form;
    if (LoadForm(form, "100000") < 0) return 1;
    testsupport::PumpUntil([&] { return form.History().InStep() && !form.History().ReadingSearchTextsAhead(); },
                           3600000);
    Figures figures;
    DeleteAll(form, clips, false, figures);
    std::ofstream(MemoryFile(clips)) << figures.deleteAll << " " << figures.afterDeleteAll;
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

bool RunSelf(int clips, const wchar_t* mode) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + std::to_wstring(clips) + L" " + mode;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 3600000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

// The private memory, and the time until shown, of a start from the index in a process of its own (as a user
// starts it; a start in the benchmark's process follows the first start's work in the same heap). From one
// process to the next that time varies by tens of milliseconds under Wine: the best of three is given.
// Then the folder is made as it was: the files the program wrote (a pin writes its clip again under this
// machine's name) go, and those gone are written again.
void DeleteAllInANewProcess(int clips, Figures& figures) {
    if (RunSelf(clips, L"--delete-all")) std::ifstream(MemoryFile(clips)) >> figures.deleteAll >> figures.afterDeleteAll;
    std::filesystem::remove(MemoryFile(clips));
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(clips))) {
        bool exact = false;
        const auto id = history::ParseClipFileName(entry.path().filename().u8string(), exact);
        if (id && id->machine != 0) std::filesystem::remove(entry.path());
    }
    StoreClips(clips);
}

std::pair<double, double> StartInANewProcess(int clips) {
    StoreClips(clips);
    double mb = -1, shown = -1;
    if (!RunSelf(clips, L"--index")) return {mb, shown};
    for (int run = 0; run < 3; ++run) {
        double runMb = -1, runShown = -1;
        if (!RunSelf(clips, run == 0 ? L"--memory" : L"--shown")) return {-1, -1};
        std::ifstream(MemoryFile(clips)) >> runMb >> runShown;
        if (run == 0) mb = runMb;
        shown = shown < 0 ? runShown : std::min(shown, runShown);
    }
    std::filesystem::remove(MemoryFile(clips));
    return {mb, shown};
}

// Deleting every file takes 0.5-3 ms a file under Wine: a long history's deletes are measured up to 10,000.
Figures Measure(int clips, bool deletes) {
    Figures figures;
    StoreClips(clips);
    {
        // The first start lists the files and makes the folder's index; the next lists from the index.
        mainwindow::MainWindow first;
        const double start = Now();
        figures.convert = LoadForm(first, "100000");
        testsupport::PumpUntil(
            [&] { return first.History().InStep() && !first.History().ReadingSearchTextsAhead(); }, 3600000);
        figures.converted = Now() - start;
    }
    {
        mainwindow::MainWindow form;
        double start = Now();
        figures.start = LoadForm(form, "100000");
        testsupport::PumpUntil([&] { return form.History().InStep(); }, 3600000);
        figures.inStep = Now() - start;
        testsupport::PumpFor(gLookMs);  // the user looks before typing; reading ahead goes on meanwhile
        // Each key is handled before SendMessage returns; the list is then painted.
        HWND rows = form.Search().List().picList();
        SetWindowSubclass(rows, NotePaint, 1, 0);
        gPaintedAt = 0;
        const double typed = Now();
        SendMessageW(form.SearchBox(), WM_CHAR, 'c', 0);
        UpdateWindow(form.Search().List().hwnd());
        figures.search = Now() - typed;
        figures.searchFirstPage = gPaintedAt > 0 ? gPaintedAt - typed : -1;
        RemoveWindowSubclass(rows, NotePaint, 1);
        for (char c : std::string("lip 1")) SendMessageW(form.SearchBox(), WM_CHAR, WPARAM(c), 0);
        UpdateWindow(form.Search().List().hwnd());
        figures.searchTyped = Now() - typed;
        if (form.Search().Shown().empty()) std::printf("  (nothing found)\n");
        form.Search().ClearFilter();
        MeasureWindow(form, figures);
        if (!deletes) return figures;
        Unmark(clips);
        DeleteAll(form, clips, true, figures);
    }
    StoreClips(clips);
    {
        mainwindow::MainWindow form;
        const double start = Now();
        figures.trimStart = LoadForm(form, "25");
        // Without an index the newest files are listed first; the limit applies once the folder's listing is in.
        testsupport::PumpUntil([&] { return form.History().InStep(); }, 3600000);
        form.History().FlushWrites();
        figures.trimFiles = Now() - start;
        if (FilesLeft(clips) != std::size_t(std::min(clips, 25)))
            std::printf("  (%zu files left after the trim)\n", FilesLeft(clips));
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    const int many = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string mode = argc > 2 ? argv[2] : "";
    if (argc > 2 && mode.rfind("--", 0) != 0) gLookMs = DWORD(std::atoi(argv[2]));
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    mainwindow::SetMessageBoxForTesting(AnswerOk);
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    if (mode == "--store") {
        StoreClips(many);
        return 0;
    }
    if (mode == "--index" || mode == "--memory" || mode == "--shown") return StartHere(many, mode);
    if (mode == "--delete-all") return DeleteAllHere(many);
    // Children first, before any window of this process: see StartHere.
    const auto fewStart = StartInANewProcess(25), lotsStart = StartInANewProcess(many);
    Figures deletes;
    if (many > 10000) DeleteAllInANewProcess(many, deletes);
    Figures few = Measure(25, true), lots = Measure(many, many <= 10000);
    if (many > 10000) lots.deleteAll = deletes.deleteAll, lots.afterDeleteAll = deletes.afterDeleteAll;
    std::tie(few.memory, few.freshStart) = fewStart;
    std::tie(lots.memory, lots.freshStart) = lotsStart;
    std::printf("%-44s %10s %10s\n", "", "25 clips", (std::to_string(many) + " clips").c_str());
    const auto row = [](const char* what, double a, double b, const char* unit = "ms") {
        if (b < 0) std::printf("%-44s %8.1f %s %11s\n", what, a, unit, "-");
        else std::printf("%-44s %8.1f %s %8.1f %s\n", what, a, unit, b, unit);
    };
    row("first start-up (no index), until shown", few.convert, lots.convert);
    row("first start-up, until every file is listed and read", few.converted, lots.converted);
    row("start-up from the index in a new process, until shown (best of 3)", few.freshStart, lots.freshStart);
    row("start-up from the index after the first, until shown", few.start, lots.start);
    row("the same, until listed and the folder's in step", few.inStep, lots.inStep);
    row("first key of a search, until its first page is painted", few.searchFirstPage, lots.searchFirstPage);
    row("first key of a search, a moment after start", few.search, lots.search);
    row("\"clip 1\" typed in the search", few.searchTyped, lots.searchTyped);
    row("private memory after a start from the index and a search", few.memory, lots.memory, "MB");
    row("hotkey until the popup is painted", few.popup, lots.popup);
    row("first key in the popup until painted", few.popupKey, lots.popupKey);
    row("the list: Page Down until painted", few.pageDown, lots.pageDown);
    row("the list: End until painted", few.end, lots.end);
    row("the list: Home until painted", few.home, lots.home);
    row("the list: Down (the next row chosen)", few.down, lots.down);
    row("pin a clip in the middle", few.pin, lots.pin);
    row("delete a clip in the middle", few.deleteOne, lots.deleteOne);
    row("Delete All, a quarter pinned (200 at most), window thread", few.deleteAll, lots.deleteAll);
    row("the longest message handled in the 2 s after", few.afterDeleteAll, lots.afterDeleteAll);
    row("Delete All until every file is gone", few.deleteFiles, lots.deleteFiles);
    row("start-up trimming to 25", few.trimStart, lots.trimStart);
    row("start-up trimming to 25, files deleted", few.trimFiles, lots.trimFiles);
    shell::SaveSetting(shell::kKeyHistoryFolder, "");
    shell::SaveSetting(shell::kKeyHistorySize, "");
    for (int clips : {25, many})
        if (clips <= 10000) {
            Unmark(clips);
            std::filesystem::remove_all(FolderOf(clips));
        }
    return 0;
}
