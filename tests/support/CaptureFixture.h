// A hidden window with a clip list stands in for the main window, so the capture runs against the
// real clipboard and chain without the rest of the program.
#pragma once

#include <gtest/gtest.h>
#include <ole2.h>

#include <functional>
#include <string>

#include "capture/CaptureClip.h"
#include "capture/ChainWatchdog.h"
#include "capture/PutBack.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/ClipboardPicture.h"
#include "clips/ClipLimits.h"
#include "pictures/PngPicture.h"
#include "capture/ClipboardMonitor.h"
#include "clips/Clips.h"
#include "cliplist/ClipListControl.h"
#include "support/clipboard_peer.h"

namespace capture {
namespace testing_capture {

using testsupport::PeerCopy;

// The capture's view of a window: a hidden top-level window with a clip list.
class TestHost : public clips::CaptureHost {
public:
    HWND window = nullptr;
    cliplist::ClipListControl list;
    std::string previewText;
    HBITMAP previewPicture = nullptr;
    std::function<void()> onPreviewText;

    HWND HostWindow() const override { return window; }
    cliplist::ClipListControl& ClipList() override { return list; }
    void ShowPreviewText(const std::string& text) override {
        previewText = text;
        if (onPreviewText) onPreviewText();
    }
    void ShowPreviewPicture(HBITMAP picture) override { previewPicture = picture; }
    void HideEmptyPanel() override {}
    std::string refused;
    void ReportRefusedClip(const std::string& message) override { refused = message; }
};

class CaptureTest : public testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        host_.window = CreateWindowA("STATIC", "capture host", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                     nullptr);
        ASSERT_TRUE(host_.window);
        ASSERT_TRUE(host_.list.Create(host_.window, 1, 0, 0, 200, 200));
        ASSERT_TRUE(clips_.Holders().Init(host_.window));
        clips_.SetHost(&host_);
    }
    // Joins the chain as the main window does at start-up: what is on the clipboard now is not captured.
    void Join() {
        firstBefore_ = GetClipboardViewer();
        monitor_.SetManagerOn(true);
        monitor_.SetCaptureSuppressed(true);
        RememberClipboardAsSeen(monitor_);
        monitor_.JoinChain(host_.window);
        monitor_.SetCaptureSuppressed(false);
    }
    void TearDown() override {
        watchdog_.Stop();
        ChangeClipboardChain(host_.window, monitor_.NextViewer());
        monitor_.Detach(host_.window);
        clips_.SetHost(nullptr);
        clipboard::SetPictureHoldFailsForTesting(false);
        pictures::SetPngCodecFailsForTesting(false);
        clips_.Holders().Clear();
        DestroyWindow(host_.window);
    }

    int Count() { return host_.list.Model().ListCount(); }
    // Another program copies; true once the capture has looked at that copy, kept or not, so that a copy
    // it must skip is judged after the capture and not before it.
    bool CopyAndSettle(const std::function<void()>& fill, HWND owner = nullptr) {
        monitor_.MarkHandled(0);
        return PeerCopy(fill, [&] {
            const DWORD handled = monitor_.HandledSequence();
            return handled == GetClipboardSequenceNumber() || handled == kLookAgain;
        }, 10000, owner);
    }
    bool CopyText(const std::string& text, int expectCount) {
        return PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); }, [&] { return Count() == expectCount; });
    }
    std::optional<std::string> UnicodeText() {
        std::uint64_t tooLarge = 0;
        return clipboard::ReadClipboardUnicodeText(host_.window, 1u << 30, tooLarge);
    }
    std::string ClipboardText(UINT format = CF_TEXT) {
        const auto bytes = clipboard::ReadClipboardBytes(host_.window, format);
        return bytes ? clips::TrimAtNull(*bytes) : "<none>";
    }

    bool PutClipBack(int position, bool plainTextOnly = false) {
        return capture::PutClipBack(monitor_, position, plainTextOnly);
    }

    TestHost host_;
    clips::Clips clips_;
    history::HistoryStore history_{clips_};  // not opened: a test of the store opens it on a folder
    ClipboardMonitor monitor_{history_};
    ChainWatchdog watchdog_{monitor_};
    HWND firstBefore_ = nullptr;
};

}  // namespace testing_capture
}  // namespace capture
