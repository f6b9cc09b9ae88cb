// Prints the capture latency of the real main window: from a peer's copy to the clip stored and
// written back, for texts of 1 KB, 1 MB and 10 MB and a 4000 x 3000 picture, beside the bare
// clipboard round trip (write, read, write) of the same data in the same run. Best of 3.
// Run it under Wine on a display: scripts/bench.sh.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "capture/ClipboardMonitor.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/Form1.h"
#include "shell/SettingsStore.h"
#include "support/clipboard_peer.h"

namespace {

int NoBox(HWND, const std::string&, const std::string&, UINT) { return IDOK; }

HBITMAP BigPicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4000, 3000);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int band = 0; band < 30; ++band) {
        HBRUSH brush = CreateSolidBrush(RGB(band * 8, 255 - band * 8, 128));
        RECT r = {0, band * 100, 4000, band * 100 + 100};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Write, read back, write again: what any clipboard tool pays at the least.
double BareRoundTrip(HWND owner, const std::function<void()>& offer, UINT format) {
    const double start = Now();
    OpenClipboard(owner);
    EmptyClipboard();
    offer();
    CloseClipboard();
    OpenClipboard(owner);
    HANDLE data = GetClipboardData(format);
    if (format == CF_TEXT) {
        const char* text = static_cast<const char*>(GlobalLock(data));
        std::string copy(text, strnlen(text, GlobalSize(data)));
        GlobalUnlock(data);
        EmptyClipboard();
        testsupport::OfferText(CF_TEXT, copy);
    } else {
        HBITMAP copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, 0));
        EmptyClipboard();
        SetClipboardData(CF_BITMAP, copy);
    }
    CloseClipboard();
    return Now() - start;
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    mainwindow::SetMessageBoxForTesting(NoBox);
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    mainwindow::Form1 form;
    if (!form.Load(false)) return 1;
    form.Show();
    testsupport::PumpFor(300);
    HWND owner = CreateWindowA("STATIC", "bench", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

    HBITMAP picture = BigPicture();
    // Every copy differs, as real ones do: lines of 80 characters starting with a running number.
    int serial = 0;
    auto Text = [&](std::size_t size) {
        std::string text;
        text.reserve(size);
        const std::string line = std::string(78, 'x') + "\r\n";
        text = std::to_string(++serial);
        while (text.size() + line.size() <= size) text += line;
        text.resize(size, 'y');
        return text;
    };
    struct Case {
        const char* name;
        std::function<void()> offer;
        UINT format;
    } cases[] = {
        {"text 1 KB", [&] { testsupport::OfferText(CF_TEXT, Text(1024)); }, CF_TEXT},
        {"text 1 MB", [&] { testsupport::OfferText(CF_TEXT, Text(1 << 20)); }, CF_TEXT},
        {"text 10 MB", [&] { testsupport::OfferText(CF_TEXT, Text(10 << 20)); }, CF_TEXT},
        {"picture 4000x3000",
         [&] { SetClipboardData(CF_BITMAP, static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, 0))); },
         CF_BITMAP},
    };
    std::printf("%-20s %14s %16s\n", "clip", "capture ms", "bare trip ms");
    for (const Case& c : cases) {
        double capture = 1e9, bare = 1e9;
        for (int run = 0; run < 3; ++run) {
            // Twelve captures in all: the list never reaches its limit here.
            const int before = form.ClipList().Model().ListCount();
            const double start = Now();
            testsupport::PeerCopy(c.offer, [&] { return form.ClipList().Model().ListCount() == before + 1; }, 60000);
            capture = std::min(capture, Now() - start);
            testsupport::PumpFor(100);
            // The window stays out of it: its capture is not part of the bare trip.
            capture::SetManagerOn(false);
            bare = std::min(bare, BareRoundTrip(owner, c.offer, c.format));
            capture::SetManagerOn(true);
            testsupport::PumpFor(100);
        }
        std::printf("%-20s %14.1f %16.1f\n", c.name, capture, bare);
        std::fflush(stdout);
    }
    DeleteObject(picture);
    DestroyWindow(owner);
    return 0;
}
