// Prints what picture clips cost: for screenshot-like pictures (text on white) and banded ones, the pixels
// against the bytes the history holds per clip, the time the background compression takes per picture,
// and the private memory of a main window holding them. Run it under Wine on a display: scripts/bench.sh.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "BenchForm.h"
#include "support/banded_picture.h"
#include "clipboard/PictureReaderProcess.h"
#include "clips/Clips.h"
#include "common/WindowText.h"
#include "support/clipboard_peer.h"
#include "support/process_memory.h"
#include "support/win32_wait.h"

namespace {

// A document-like screen: lines of text on white, a coloured bar, numbered so that every one differs.
HBITMAP Screenshot(int width, int height, int serial) {
    return testsupport::PaintedBitmap(width, height, [&](HDC dc) {
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HBRUSH bar = CreateSolidBrush(RGB(40 + serial * 7 % 200, 90, 160));
        RECT top = {0, 0, width, 60};
        FillRect(dc, &top, bar);
        DeleteObject(bar);
        for (int y = 80, line = 0; y < height; y += 18, ++line) {
            const std::string text = "Screen " + std::to_string(serial) + ", line " + std::to_string(line) +
                                     ": a clipboard history keeps what was copied, every character and format.";
            for (int x = 20; x < width; x += 900) TextOutA(dc, x + (line * 13) % 60, y, text.c_str(), int(text.size()));
        }
    });
}

// Copies of 4000 x 4000 pictures made by another program (picture_peer, beside this one), as a bitmap or as a
// memory block: what the process holds afterwards beyond what it held before, in MB.
double CopiesFromAnotherProgram(mainwindow::MainWindow& form, const char* format, int copies, int& serial) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string peer = self;
    peer = peer.substr(0, peer.find_last_of('\\') + 1) + "picture_peer.exe";
    const double before = testsupport::PrivateMb();
    PROCESS_INFORMATION running = {};
    for (int i = 0; i < copies; ++i) {
        const auto& list = form.ClipList().Model();
        const clips::ClipId newest = form.Clips().Tags().Tag(list.ListCount() - 1);
        std::string command = "\"" + peer + "\" 4000 4000 " + std::to_string(++serial) + " " + format;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
            return -1;
        testsupport::PumpUntil([&] { return form.Clips().Tags().Tag(list.ListCount() - 1) != newest; }, 60000);
        form.Clips().Holders().Pictures().FinishCompressing();
        // The program before it has seen its copy replaced, and ends.
        if (running.hProcess) {
            WaitForSingleObject(running.hProcess, 10000);
            CloseHandle(running.hProcess);
            CloseHandle(running.hThread);
        }
        running = started;
    }
    TerminateProcess(running.hProcess, 0);
    CloseHandle(running.hProcess);
    CloseHandle(running.hThread);
    return testsupport::PrivateMb() - before;
}

}  // namespace

int main() {
    // As the program does: a bitmap from another program is read by a process of its own.
    const std::string program = testsupport::WindowsPath(ARDENTIA_EXE);
    mainwindow::MainWindow form;
    form.Monitor().Pictures().SetProgram(std::wstring(program.begin(), program.end()));
    if (!StartBenchForm(form)) return 1;
    testsupport::PumpFor(300);
    const double baseline = testsupport::PrivateMb();
    struct Case {
        const char* name;
        int width, height, copies;
        HBITMAP (*make)(int, int, int);
    } cases[] = {
        {"screenshot 3840x2160", 3840, 2160, 10, Screenshot},
        {"bands 4000x3000", 4000, 3000, 10, testsupport::BandedPicture},
    };
    std::printf("%-22s %10s %12s %12s %13s %14s\n", "picture", "pixels MB", "held KB", "capture ms", "compress ms",
                "private MB");
    int serial = 0;
    for (const Case& c : cases) {
        double captureMs = 0, compressMs = 0;
        for (int i = 0; i < c.copies; ++i) {
            HBITMAP picture = c.make(c.width, c.height, ++serial);
            const int count = form.ClipList().Model().ListCount();
            const std::string named = " " + std::to_string(count + 1) + " of ";
            const double start = Now();
            testsupport::PeerCopy([&] { SetClipboardData(CF_BITMAP, picture); },
                                  [&] { return common::WindowText(form.InformationLine()).find(named) != std::string::npos; },
                                  60000);
            const double shown = Now();
            form.Clips().Holders().Pictures().FinishCompressing();
            captureMs += shown - start;
            compressMs += Now() - shown;
        }
        std::uint64_t held = 0;
        const auto& list = form.ClipList().Model();
        for (int p = list.ListCount() - c.copies; p < list.ListCount(); ++p) {
            const clips::ClipId tag = form.Clips().Tags().Tag(p);
            held += form.Clips().Holders().HeldBytes(clips::FamilyOfKind(tag.kind), tag.holder);
        }
        std::printf("%-22s %10.1f %12.1f %12.1f %13.1f %14.1f\n", c.name, c.width * double(c.height) * 4 / 1048576.0,
                    double(held) / c.copies / 1024.0, captureMs / c.copies, compressMs / c.copies,
                    testsupport::PrivateMb() - baseline);
        std::fflush(stdout);
    }
    // Showing an older picture decodes it (the one shown before is let go): what browsing the list costs.
    auto& model = form.ClipList().Model();
    double showMs = 0;
    const int shows = 6;
    for (int i = 0; i < shows; ++i) {
        const double start = Now();
        model.SetListIndex(i % 2 ? 0 : model.ListCount() - 2);  // a screenshot, then a banded picture
        RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        showMs += Now() - start;
    }
    std::printf("showing an older picture (decoded, then painted): %.1f ms\n", showMs / shows);
    // Under Wine, a bitmap another program offers is imported into this process; a memory block is copied.
    const int copies = 12;
    for (const char* format : {"dib", "bitmap"}) {
        const double grew = CopiesFromAnotherProgram(form, format, copies, serial);
        std::printf("%d copies of 4000x4000 from another program as %-6s: private memory %+.1f MB\n", copies,
                    format, grew);
        std::fflush(stdout);
    }
    std::printf("history holds %.1f MB in %d clips (budget %.0f MB)\n", form.History().HeldBytes() / 1048576.0,
                form.ClipList().Model().ListCount(), form.History().Budget() / 1048576.0);
    return 0;
}
