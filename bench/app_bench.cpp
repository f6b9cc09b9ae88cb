// Prints figures of the whole program: start-up to first paint of the real Ardentia.exe (with an empty
// history, and with 1,000 clips stored on disk), its CPU time while idle for 10 s with the manager on, and
// the private memory of a main window holding 25 text clips of 1 MB each. Run it under Wine on a display:
// scripts/bench.sh.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchClock.h"
#include "BenchForm.h"
#include "history/ClipFile.h"
#include "clipboard/ClipboardAccess.h"
#include "history/DiskFiles.h"
#include "history/FolderKeys.h"
#include "history/HistoryFolder.h"
#include "history/SealedClipFile.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "shell/SettingsStore.h"
#include "support/clipboard_peer.h"
#include "support/process_memory.h"

namespace {

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM lp) {
    auto* found = reinterpret_cast<Found*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != found->pid || !IsWindowVisible(hwnd)) return TRUE;
    found->window = hwnd;
    return FALSE;
}

const char kBenchHistory[] = "Z:\\tmp\\ardentia-bench-history";

// A history folder holding `clips` text clips, each with its HTML, captured a second apart: sealed with the
// folder's key as the program writes them, or plain as the first version did. The folder's key when sealed.
std::shared_ptr<const seal::KeySealer> StoreClips(int clips, bool plain = false) {
    std::filesystem::remove_all(kBenchHistory);
    std::filesystem::create_directories(kBenchHistory);
    const auto key = plain ? history::FolderKey{} : history::KeyOfFolder(kBenchHistory);
    for (int i = 0; i < clips; ++i) {
        const std::string text = "Stored clip " + std::to_string(i) + ": a line of text as people copy them.";
        history::ClipFileContents clip;
        clip.header = {clips::kKindText, 1765000000000ull + std::uint64_t(i) * 1000, false, text};
        clip.formats = {{"#13", clips::UnicodeTextFormat(text).bytes}, {"HTML Format", "Version:0.9\r\n<p>" + text}};
        const std::string bytes =
            key.sealer ? history::WriteSealedClipFile(clip, *key.sealer) : history::WriteClipFile(clip);
        const std::uint64_t content = key.sealer ? history::SealedContentId(clip.formats, *key.sealer).value_or(0)
                                                 : history::ContentChecksum(clip.formats);
        history::WriteFileWhole(
            std::filesystem::path(kBenchHistory) / history::ClipFileName({clip.header.capturedAtMs, 1, content}),
            bytes);
    }
    return key.sealer;
}

// The least a listing of plain files does: each file's first bytes read and its header parsed, one thread.
std::size_t ListPlainHeaders() {
    std::size_t listed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kBenchHistory)) {
        std::FILE* in = history::OpenSharing(entry.path(), false);
        if (!in) continue;
        std::string leading(history::kClipFileHeaderRead, '\0');
        leading.resize(std::fread(&leading[0], 1, leading.size(), in));
        std::fclose(in);
        history::ClipFileError error = history::ClipFileError::kNone;
        listed += history::ReadClipFileHeader(leading, error) ? 1 : 0;
    }
    return listed;
}

void StartUpAndIdle(const std::string& exe, bool idle, const std::string& historySize = "") {
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    shell::SaveSetting(shell::kKeyHistoryFolder, kBenchHistory);
    shell::SaveSetting(shell::kKeyHistorySize, historySize);
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const double start = Now();
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("could not start %s\n", exe.c_str());
        return;
    }
    Found found = {pi.dwProcessId, nullptr};
    while (!found.window && Now() - start < 20000) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
        if (!found.window) Sleep(2);
    }
    // Painted once it answers: a message sent after the first paint was queued.
    if (found.window) SendMessageA(found.window, WM_NULL, 0, 0);
    std::printf("start-up to first paint:      %8.1f ms\n", Now() - start);
    if (idle) {
        testsupport::PumpFor(1000);
        const double before = CpuMs(pi.hProcess);
        testsupport::PumpFor(10000);
        std::printf("CPU time while idle for 10 s: %8.1f ms\n", CpuMs(pi.hProcess) - before);
    }
    if (found.window) PostMessageA(found.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void MemoryWith25Clips() {
    const double before = testsupport::PrivateMb();
    mainwindow::MainWindow form;
    if (!StartBenchForm(form)) return;
    testsupport::PumpFor(300);
    const double empty = testsupport::PrivateMb();
    for (int i = 0; i < 25; ++i) {
        const std::string text = std::to_string(i) + std::string(1 << 20, 'm');
        const int wanted = i + 1;
        testsupport::PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); },
                              [&] { return form.ClipList().Model().ListCount() == wanted; }, 20000);
    }
    testsupport::PumpFor(300);
    const double full = testsupport::PrivateMb();
    std::printf("private memory, window only:  %8.1f MB\n", empty - before);
    std::printf("25 text clips of 1 MB:        %8.1f MB (%.2f MB a clip)\n", full - empty, (full - empty) / 25);
}

}  // namespace

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (argc > 1) {
        StoreClips(0);
        StartUpAndIdle(argv[1], true);
        StoreClips(1000, true);
        double start = Now();
        const std::size_t plain = ListPlainHeaders();
        const double plainMs = Now() - start;
        const auto sealer = StoreClips(1000);
        if (!sealer) return 1;
        history::HeaderCache cache;
        start = Now();
        const auto listing = history::ListHistoryFolder(kBenchHistory, *sealer, &cache);
        std::printf("listing 1,000 sealed clips:   %8.1f ms (%zu listed); plain, minimal reader: %.1f ms (%zu)\n",
                    Now() - start, listing.clips.size(), plainMs, plain);
        // What the folder's watcher does after each copy: only the new file is opened.
        std::filesystem::copy_file(listing.clips.back().file,
                                   std::filesystem::path(kBenchHistory) / "9999999999999-0000000000000001.clip");
        start = Now();
        const auto again = history::ListHistoryFolder(kBenchHistory, *sealer, &cache);
        std::printf("listing again after a copy:   %8.1f ms (%zu listed)\n", Now() - start, again.clips.size());
        std::printf("History Size 1000, all listed: ");
        StartUpAndIdle(argv[1], false, "1000");
        std::printf("History Size 25, 975 deleted: ");
        StartUpAndIdle(argv[1], false);
        std::filesystem::remove_all(kBenchHistory);
        shell::SaveSetting(shell::kKeyHistoryFolder, "");
    }
    MemoryWith25Clips();
    return 0;
}
