// Prints figures of the whole program: start-up to first paint of the real Ardentia.exe (with an empty
// history, and with 1,000 clips stored on disk), its CPU time while idle for 10 s with the manager on, and
// the private memory of a main window holding 25 text clips of 1 MB each. Run it under Wine on a display:
// scripts/bench.sh.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

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
const char kPlainHistory[] = "Z:\\tmp\\ardentia-bench-plain";

// A history folder holding `clips` text clips, each with its HTML, captured a second apart: sealed with the
// folder's key as the program writes them, or plain as the first version did. The folder's key when sealed.
std::shared_ptr<const seal::KeySealer> StoreClips(int clips, bool plain = false) {
    const std::filesystem::path folder = plain ? kPlainHistory : kBenchHistory;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto key = plain ? history::FolderKey{} : history::KeyOfFolder(folder);
    for (int i = 0; i < clips; ++i) {
        const std::string text = "Stored clip " + std::to_string(i) + ": a line of text as people copy them.";
        history::ClipFileContents clip;
        clip.header = {clips::kKindText, 1765000000000ull + std::uint64_t(i) * 1000, false, text};
        clip.formats = {{"#13", clips::UnicodeTextFormat(text).bytes}, {"HTML Format", "Version:0.9\r\n<p>" + text}};
        const std::string bytes =
            key.sealer ? history::WriteSealedClipFile(clip, *key.sealer) : history::WriteClipFile(clip);
        const std::uint64_t content = key.sealer ? history::SealedContentId(clip.formats, *key.sealer).value_or(0)
                                                 : history::ContentChecksum(clip.formats);
        const auto file = folder / history::ClipFileName({clip.header.capturedAtMs, 1, content});
        history::WriteFileWhole(file, bytes);
        // As a history kept for a while: files changed in the last seconds are read again by every listing.
        std::error_code ignored;
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1),
                                         ignored);
    }
    return key.sealer;
}

// The least a listing of plain files does: each file's first bytes read and its header parsed, by four
// threads as the program's listing.
std::size_t ListPlainHeaders() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kPlainHistory)) files.push_back(entry.path());
    std::atomic<std::size_t> listed{0};
    std::vector<std::thread> readers;
    for (std::size_t t = 0; t < 4; ++t)
        readers.emplace_back([&, t] {
            for (std::size_t n = t; n < files.size(); n += 4) {
                const auto leading = history::ReadLeadingBytes(files[n], history::kClipFileHeaderRead);
                history::ClipFileError error = history::ClipFileError::kNone;
                listed += leading && history::ReadClipFileHeader(*leading, error) ? 1 : 0;
            }
        });
    for (std::thread& reader : readers) reader.join();
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
        const auto sealer = StoreClips(1000);
        if (!sealer) return 1;
        // Taking turns, best of three each: the machine's load moves both alike.
        double plainMs = 1e9, sealedMs = 1e9;
        std::size_t plain = 0;
        history::HistoryListing listing;
        for (int run = 0; run < 3; ++run) {
            double start = Now();
            plain = ListPlainHeaders();
            plainMs = std::min(plainMs, Now() - start);
            start = Now();
            listing = history::ListHistoryFolder(kBenchHistory, *sealer);
            sealedMs = std::min(sealedMs, Now() - start);
        }
        std::printf("listing 1,000 sealed clips:   %8.1f ms (%zu listed); plain, minimal reader: %.1f ms (%zu)\n",
                    sealedMs, listing.clips.size(), plainMs, plain);
        history::HeaderCache cache;
        history::ListHistoryFolder(kBenchHistory, *sealer, &cache);
        std::filesystem::remove_all(kPlainHistory);
        // What the folder's watcher does after each copy: only the new file is opened.
        std::filesystem::copy_file(listing.clips.back().File(kBenchHistory),
                                   std::filesystem::path(kBenchHistory) / "9999999999999-0000000000000001.clip");
        const double start = Now();
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
