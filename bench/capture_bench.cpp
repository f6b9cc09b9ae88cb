// Prints the capture latency of the real main window: from a peer's copy until the clip is in the list,
// the information line names it and the window has painted (it answers again by then: it runs on this
// thread), for UTF-16 texts of 1 KB, 1 MB and 10 MB and a 4000 x 3000 picture, beside a minimal history
// that only copies the same data into memory and names the new item in a label, in the same run. Best of 5
// for text (a copy's few milliseconds vary with the machine's load), of 3 for pictures. Then what sealing
// adds to each text clip's file beside writing it plain: laying it out sealed and naming it by a keyed digest,
// against the plain layout and its checksum, best of 5 each.
// Run it under Wine on a display: scripts/bench.sh.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchForm.h"
#include "support/banded_picture.h"
#include "support/peer_clock.h"
#include "capture/ClipboardMonitor.h"
#include "clipboard/PictureReaderProcess.h"
#include "common/WindowText.h"
#include "history/FolderKeys.h"
#include "history/SealedClipFile.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "shell/SettingsStore.h"
#include "support/clipboard_peer.h"
#include "support/win32_wait.h"

namespace {

// The least a history can do: in the viewer chain, copy the data into memory, name the item in a label.
struct MinimalHistory {
    testsupport::TestViewer viewer;
    HWND label = nullptr;
    bool on = false;
    int items = 0;
    std::vector<std::wstring> texts;
    std::vector<HBITMAP> pictures;

    void Capture() {
        if (!on) return;
        // As any history must: the copying program may still hold the clipboard for a moment.
        bool open = false;
        for (int tries = 0; tries < 400 && !(open = OpenClipboard(viewer.hwnd)); ++tries) Sleep(5);
        if (!open) return;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data));
            texts.emplace_back(text, wcsnlen(text, GlobalSize(data) / 2));
            GlobalUnlock(data);
        } else if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) {
            pictures.push_back(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
        }
        CloseClipboard();
        SetWindowTextA(label, ("Item " + std::to_string(++items)).c_str());
    }
    void Join() {
        viewer.onDraw = [this] { Capture(); };
        viewer.Join();
        label = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 180, 20, nullptr, nullptr, nullptr, nullptr);
    }
    void Release() {
        viewer.Leave();
        DestroyWindow(label);
        for (HBITMAP b : pictures) DeleteObject(b);
    }
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Another program (picture_peer, beside this one) copies a 4000 x 4000 picture as a GDI bitmap; what it
// takes from its copy until listed() holds. The peer ends by itself once another copy replaces its own.
double PeerBitmapCopy(int serial, const std::function<bool()>& listed) {
    *testsupport::CopiedAt() = 0;
    if (!testsupport::StartPicturePeer(PICTURE_PEER_EXE, 4000, 4000, serial)) return -1;
    if (!testsupport::PumpUntil([&] { return *testsupport::CopiedAt() != 0 && listed(); }, 60000)) return -1;
    return Now() - *testsupport::CopiedAt();
}

// One history at a time: off, the program's window leaves the chain, as switching its manager off does;
// on again, it joins without taking what the minimal history was given for a copy of its own.
void ProgramCaptures(mainwindow::MainWindow& form, bool on) {
    if (form.Monitor().ManagerOn() == on) return;
    form.Monitor().SetManagerOn(on);
    if (!on) return form.Monitor().LeaveChain(form.hwnd());
    form.Monitor().SetCaptureSuppressed(true);
    form.Monitor().JoinChain(form.hwnd());
    form.Monitor().SetCaptureSuppressed(false);
}

}  // namespace

// The work sealing adds to a text clip's file, beside the same work unsealed: naming it (a keyed digest of
// its formats against the plain checksum; the window does it when it hands the clip to the disk, after the
// capture's paint) and laying it out (sealed against plain; the disk's thread does it), and what the sum adds
// is of the capture figure measured above. Best of 5 each.
void SealingCost(const std::vector<double>& captures) {
    const auto key = history::KeyOfFolder(history::DefaultHistoryFolder());
    if (!key.sealer) return;
    std::printf("%-12s %14s %14s %14s %14s %10s\n", "clip file", "keyed name ms", "plain name ms", "sealed ms",
                "plain ms", "added");
    const std::size_t sizes[] = {1024, 1 << 20, 10 << 20};
    const auto best = [](const std::function<bool()>& work) {
        double fastest = 1e9;
        for (int run = 0; run < 5; ++run) {
            const double start = Now();
            if (work()) fastest = std::min(fastest, Now() - start);
        }
        return fastest;
    };
    for (std::size_t i = 0; i < 3; ++i) {
        history::ClipFileContents clip;
        clip.header = {clips::kKindText, 1765000000000ull, false, "a line"};
        clip.formats = {{"#13", std::string(sizes[i], 'x')}};
        const double keyedName = best([&] { return history::SealedContentId(clip.formats, *key.sealer).has_value(); });
        const double plainName = best([&] { return history::ContentChecksum(clip.formats) != 1; });
        const double sealed = best([&] { return !history::WriteSealedClipFile(clip, *key.sealer).empty(); });
        const double plain = best([&] { return !history::WriteClipFile(clip).empty(); });
        std::printf("%-12s %14.2f %14.2f %14.2f %14.2f %9.1f%%\n", i == 0 ? "1 KB" : i == 1 ? "1 MB" : "10 MB",
                    keyedName, plainName, sealed, plain,
                    i < captures.size() ? 100 * (keyedName - plainName + sealed - plain) / captures[i] : 0.0);
    }
}

int main() {
    // As the program does: a bitmap from another program is read by a process of its own.
    const std::string program = testsupport::WindowsPath(ARDENTIA_EXE);
    mainwindow::MainWindow form;
    form.Monitor().Pictures().SetProgram(std::wstring(program.begin(), program.end()));
    if (!StartBenchForm(form)) return 1;
    testsupport::PumpFor(300);
    MinimalHistory minimal;
    minimal.Join();

    HBITMAP picture = testsupport::BandedPicture(4000, 3000, 14);
    // The copies below are made by this process, under a window that stays: the program reads them in
    // place, as the minimal history does (another program's picture is the last row).
    HWND peerOwner = CreateWindowA("STATIC", "peer", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Every copy differs, as real ones do: lines of 80 characters starting with a running number.
    int serial = 0;
    auto Text = [&](std::size_t bytes) {
        const std::size_t size = bytes / 2;
        const std::wstring line = std::wstring(78, L'x') + L"\r\n";
        std::wstring text = std::to_wstring(++serial) + L" ";
        text.reserve(size);
        while (text.size() + line.size() <= size) text += line;
        text.resize(size, L'y');
        return text;
    };
    struct Case {
        const char* name;
        int runs;
        std::function<void()> offer;
    } cases[] = {
        {"UTF-16 text 1 KB", 5, [&] { testsupport::OfferWide(CF_UNICODETEXT, Text(1024)); }},
        {"UTF-16 text 1 MB", 5, [&] { testsupport::OfferWide(CF_UNICODETEXT, Text(1 << 20)); }},
        {"UTF-16 text 10 MB", 5, [&] { testsupport::OfferWide(CF_UNICODETEXT, Text(10 << 20)); }},
        {"picture 4000x3000", 3,
         [&] { SetClipboardData(CF_BITMAP, static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, 0))); }},
    };
    std::printf("%-20s %14s %16s %8s\n", "clip", "capture ms", "minimal ms", "ratio");
    std::vector<double> captures;
    for (const Case& c : cases) {
        double capture = 1e9, bare = 1e9;
        const auto byProgram = [&] {
            const int count = form.ClipList().Model().ListCount() + 1;
            const std::string named = " " + std::to_string(count) + " of " + std::to_string(count);
            const double start = Now();
            testsupport::PeerCopy(
                c.offer, [&] { return EndsWith(common::WindowText(form.InformationLine()), named); }, 60000, peerOwner);
            RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // what the user sees
            capture = std::min(capture, Now() - start);
        };
        const auto byMinimal = [&] {
            const std::string item = "Item " + std::to_string(minimal.items + 1);
            const double start = Now();
            testsupport::PeerCopy(c.offer, [&] { return common::WindowText(minimal.label) == item; }, 60000, peerOwner);
            RedrawWindow(minimal.label, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            bare = std::min(bare, Now() - start);
        };
        // Eighteen captures in all, and four below: the list never reaches its limit here. Each history
        // goes first in every other run, so neither always follows the other's work.
        for (int run = 0; run < c.runs; ++run) {
            for (const bool program : {run % 2 == 0, run % 2 != 0}) {
                ProgramCaptures(form, program);
                minimal.on = !program;
                testsupport::PumpFor(100);
                program ? byProgram() : byMinimal();
            }
        }
        ProgramCaptures(form, true);
        minimal.on = false;
        std::printf("%-20s %14.1f %16.1f %7.2fx\n", c.name, capture, bare, capture / bare);
        std::fflush(stdout);
        captures.push_back(capture);
    }
    SealingCost(captures);
    // A picture from another program as a bitmap: read in a reader process of the program's own. The
    // first such copy also waits for that process to start.
    double capture = 1e9, bare = 1e9, first = 0;
    for (int run = 0; run < 4; ++run) {
        const int count = form.ClipList().Model().ListCount() + 1;
        const std::string named = " " + std::to_string(count) + " of ";
        const double took = PeerBitmapCopy(++serial, [&] {
            return common::WindowText(form.InformationLine()).find(named) != std::string::npos;
        });
        RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (run == 0) first = took;
        else capture = std::min(capture, took);
        ProgramCaptures(form, false);
        minimal.on = true;
        const std::string item = "Item " + std::to_string(minimal.items + 1);
        bare = std::min(bare, PeerBitmapCopy(++serial, [&] { return common::WindowText(minimal.label) == item; }));
        minimal.on = false;
        ProgramCaptures(form, true);
        testsupport::PumpFor(100);
    }
    std::printf("%-20s %14.1f %16.1f %7.2fx\n", "another program's", capture, bare, capture / bare);
    std::printf("  4000x4000 bitmap; the first, while its reader process starts: %.1f ms\n", first);
    DeleteObject(picture);
    minimal.Release();
    return 0;
}
