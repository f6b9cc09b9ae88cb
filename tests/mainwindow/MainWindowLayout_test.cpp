// The main window's layout: every control inside the window and apart, at any size, at 96 and 144 dpi and on a
// monitor of another scale (192 dpi too), and Tab through every control.
#include "mainwindow/MainWindowFixture.h"

#include "common/WindowDpi.h"

#include <algorithm>
#include <cstdlib>

namespace mainwindow {
namespace testing_form {
namespace {

struct Placed {
    HWND control;
    RECT rect;  // in the window's client coordinates
};

// The controls a user sees and uses, not the panels that hold them.
std::vector<Placed> VisibleControls(const MainWindow& form) {
    std::vector<Placed> placed;
    for (HWND control :
         {form.DeleteSelectedButton(), form.ManagerSwitch(), form.DeleteAllButton(), form.SaveResultsButton(),
          form.BrowseFolderButton(), form.StartWithWindowsBox(), form.StartInTrayBox(), form.CheckRemember(),
          form.OutputFolderBox(), form.Preview(), form.InformationLine(), form.ClipListWindow(), form.SearchBox()}) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        placed.push_back({control, r});
    }
    return placed;
}

// Every control inside the client area and apart from the others.
void ExpectLaidOut(const MainWindow& form, const std::string& where) {
    RECT client;
    GetClientRect(form.hwnd(), &client);
    const std::vector<Placed> placed = VisibleControls(form);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const RECT& a = placed[i].rect;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right && a.bottom <= client.bottom)
            << WindowText(placed[i].control) << " " << where;
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &a, &placed[j].rect))
                << WindowText(placed[i].control) << " / " << WindowText(placed[j].control) << " " << where;
        }
    }
}

int WidthOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    return r.right - r.left;
}

// Run at 96 dpi here, and at 144 dpi in a prefix of its own (main_window_layout_144dpi): at the default size, at
// others given by messages, maximised, and with the splitter dragged.
TEST_F(MainWindowTest, LayoutKeepsEveryControlInsideTheWindowAndApart) {
    Start();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const std::string at = " at " + std::to_string(dpi) + " dpi";
    RECT client;
    GetClientRect(form_->hwnd(), &client);
    EXPECT_NEAR(client.right, 8040 * dpi / 1440, 1) << dpi;
    ExpectLaidOut(*form_, "at the default size" + at);

    RECT frame;
    GetWindowRect(form_->hwnd(), &frame);
    const int defaultWidth = frame.right - frame.left, defaultHeight = frame.bottom - frame.top;
    const int listWidth = WidthOf(form_->ClipListWindow()), previewWidth = WidthOf(form_->Preview());
    // Smaller than it may be, it stays at its smallest, which is the default width.
    SetWindowPos(form_->hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(form_->hwnd(), &frame);
    EXPECT_EQ(frame.right - frame.left, defaultWidth) << at;
    EXPECT_LT(frame.bottom - frame.top, defaultHeight) << at;
    ExpectLaidOut(*form_, "at the smallest" + at);
    SetWindowPos(form_->hwnd(), nullptr, 0, 0, defaultWidth + 300, defaultHeight + 200, SWP_NOMOVE | SWP_NOZORDER);
    ExpectLaidOut(*form_, "larger" + at);
    EXPECT_GT(WidthOf(form_->ClipListWindow()) + WidthOf(form_->Preview()), listWidth + previewWidth + 290) << at;
    ShowWindow(form_->hwnd(), SW_MAXIMIZE);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return IsZoomed(form_->hwnd()); }, testsupport::kPatientMs));
    ExpectLaidOut(*form_, "maximised" + at);
    ShowWindow(form_->hwnd(), SW_RESTORE);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !IsZoomed(form_->hwnd()); }, testsupport::kPatientMs));

    // The splitter, between list and preview, dragged 60 pixels right: the list gains what the preview loses.
    RECT list;
    GetWindowRect(form_->ClipListWindow(), &list);
    MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&list), 2);
    const int before = WidthOf(form_->ClipListWindow()), beforePreview = WidthOf(form_->Preview());
    const int x = list.right + 2, y = (list.top + list.bottom) / 2;
    SendMessageW(form_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(form_->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 60, y));
    SendMessageW(form_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x + 60, y));
    EXPECT_EQ(WidthOf(form_->ClipListWindow()), before + 60) << at;
    EXPECT_EQ(WidthOf(form_->Preview()), beforePreview - 60) << at;
    ExpectLaidOut(*form_, "with the splitter dragged" + at);

    // Size and splitter come back with the next start.
    GetWindowRect(form_->hwnd(), &frame);
    form_.reset();
    Start();
    RECT again;
    GetWindowRect(form_->hwnd(), &again);
    EXPECT_EQ(again.right - again.left, frame.right - frame.left) << at;
    EXPECT_EQ(again.bottom - again.top, frame.bottom - frame.top) << at;
    EXPECT_EQ(WidthOf(form_->ClipListWindow()), before + 60) << at;
}

// Moved to a monitor at 150% and 200% (WM_DPICHANGED, as the system sends it with the rectangle it suggests),
// the window takes the new scale whole: its client, fonts and rows grow with it, and nothing overlaps or is cut;
// back at 100%, it is as it was.
TEST_F(MainWindowTest, LayoutFollowsAMonitorOfAnotherScale) {
    Start();
    const int system = common::SystemDpi();
    const int rowAtSystem = form_->ClipList().RowHeight();
    const auto fontHeight = [&] {
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form_->Preview(), WM_GETFONT, 0, 0)), sizeof(font), &font);
        return std::abs(font.lfHeight);
    };
    const int fontAtSystem = fontHeight();
    for (const int dpi : {144, 192, system}) {
        const std::string at = " at " + std::to_string(dpi) + " dpi";
        RECT frame = {0, 0, 8040 * dpi / 1440, 7305 * dpi / 1440};
        AdjustWindowRect(&frame, DWORD(GetWindowLongW(form_->hwnd(), GWL_STYLE)), FALSE);
        OffsetRect(&frame, 10 - frame.left, 10 - frame.top);
        SendMessageW(form_->hwnd(), 0x02E0, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
        RECT client;
        GetClientRect(form_->hwnd(), &client);
        EXPECT_NEAR(client.right, 8040 * dpi / 1440, 1) << at;
        EXPECT_NEAR(form_->ClipList().RowHeight(), rowAtSystem * dpi / system, 2) << at;
        EXPECT_NEAR(fontHeight(), fontAtSystem * dpi / system, 1) << at;
        ExpectLaidOut(*form_, at);
    }
    EXPECT_EQ(form_->ClipList().RowHeight(), rowAtSystem);
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
