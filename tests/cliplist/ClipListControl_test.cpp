// Renders the real control under Wine and reads its pixels back.
#include "cliplist/ClipListControlFixture.h"
#include "support/painted_bitmap.h"

#include <commctrl.h>

namespace cliplist {
namespace {

const COLORREF kYellow = RGB(255, 255, 0), kMagenta = RGB(255, 0, 255), kRed = RGB(255, 0, 0),
               kBlue = RGB(0, 0, 255), kGreen = RGB(0, 128, 0), kBlack = RGB(0, 0, 0), kCyan = RGB(0, 255, 255),
               kOrange = RGB(255, 128, 0);

HBITMAP SolidBitmap(COLORREF colour, int w, int h) {
    return testsupport::PaintedBitmap(w, h, [&](HDC dc) {
        RECT r = {0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    });
}

class ClipListPixels : public ClipListControlTest {
protected:
    void SetUp() override {
        Make(10, 10, 200, 130, 0);
        LOGFONTW font = {};
        font.lfHeight = -12;
        font.lfWeight = FW_BOLD;
        lstrcpyW(font.lfFaceName, L"Arial");
        list.SetFont(font);
        list.SetBackNormal(0x0000FFFF);      // yellow, as 0x00BBGGRR
        list.SetBackSelected(0x00FF00FF);    // magenta
        list.SetBackSelectedG1(0x000000FF);  // red
        list.SetBackSelectedG2(0x00FF0000);  // blue
        list.SetBoxBorder(0x00008000);       // green
        list.SetFontNormal(0);
        list.SetFontSelected(0);
        list.SetItemTextLeft(20);
        for (int i = 0; i < 3; ++i) list.Model().AddItem("iiiiii");
        testsupport::PumpFor(50);
    }
    void TearDown() override {
        ClipListControlTest::TearDown();
        if (picture) DeleteObject(picture);
    }
    COLORREF Pixel(int x, int y) const {
        gdi::WindowDC dc(list.picList());
        return GetPixel(dc.get(), x, y);
    }
    bool HasUnderline(const Rect& row) const {
        for (int y = row.top; y < row.bottom; ++y) {
            int run = 0;
            for (int x = 20; x < row.right && run < 12; ++x) run = Pixel(x, y) == kBlack ? run + 1 : 0;
            if (run >= 12) return true;
        }
        return false;
    }
    int DarkPixels(int x0, int x1, const Rect& row) const {
        int n = 0;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = x0; x < x1; ++x) n += Pixel(x, y) == kBlack;
        return n;
    }

    HBITMAP picture = nullptr;
};

TEST_F(ClipListPixels, SelectedRowLooksAsItsStyleSays) {
    picture = SolidBitmap(kCyan, 8, 8);
    list.SetBoxOffset(2);
    list.Model().SetListIndex(1);
    const Rect r = list.RowRect(1);
    const int mid = (r.top + r.bottom) / 2, right = r.right - 3;
    ASSERT_GT(r.bottom - r.top, 8);
    EXPECT_EQ(Pixel(right, list.RowRect(0).top + 2), kYellow) << "unselected row";
    const struct {
        int style;
        bool withPicture;
        int x, y;
        COLORREF colour;
    } solid[] = {
        {0, false, right, mid, kMagenta}, {1, false, right, mid, kRed},  // yellow AND magenta
        {4, false, 0, r.top, kYellow},    {4, false, 2, mid, kGreen},   {4, false, r.right - 6, mid, kMagenta},
        {5, false, right, mid, kYellow},  {6, false, right, mid, kMagenta},  // no picture: as style 0
        {6, true, right, mid, kCyan},     {7, true, right, mid, kCyan},  // unknown: what was drawn before stays
    };
    for (const auto& c : solid) {
        list.SetSelectionPicture(c.withPicture ? picture : nullptr);
        list.SetSelectModeStyle(c.style);
        EXPECT_EQ(Pixel(c.x, c.y), c.colour) << c.style << " at " << c.x << "," << c.y;
        EXPECT_EQ(HasUnderline(r), c.style == 5) << c.style;
    }
    list.SetSelectModeStyle(2);  // red at the top to blue at the bottom
    EXPECT_GT(GetRValue(Pixel(right, r.top)), 200);
    EXPECT_GT(GetBValue(Pixel(right, r.bottom - 1)), 200);
    list.SetSelectModeStyle(3);  // left to right
    EXPECT_GT(GetRValue(Pixel(0, mid)), 200);
    EXPECT_LT(GetRValue(Pixel(r.right - 1, mid)), 60);
}

TEST_F(ClipListPixels, FocusRectangleNeedsInputFocusAndTheFocusProperty) {
    list.Model().SetListIndex(0);
    const Rect r = list.RowRect(0);
    auto marked = [&] {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) n += Pixel(0, y) != kMagenta;
        return n;
    };
    EXPECT_EQ(marked(), 0) << "without input focus";
    SetFocus(list.picList());
    ASSERT_TRUE(testsupport::PumpUntil([&] { return list.HasFocus(); }, testsupport::kPatientMs));
    EXPECT_GT(marked(), 0);
    list.SetShowsFocusRect(false);
    EXPECT_EQ(marked(), 0) << "Focus property off";
    list.SetShowsFocusRect(true);
    EXPECT_GT(marked(), 0);
    SetFocus(host);
    testsupport::PumpFor(20);
    EXPECT_EQ(marked(), 0) << "focus gone";
}

TEST_F(ClipListPixels, IconsDrawOnlyForIndicesTheImageListHas) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    HBITMAP bmp = SolidBitmap(kOrange, 16, 16);
    ASSERT_EQ(ImageList_AddMasked(images, bmp, kMagenta), 0);
    DeleteObject(bmp);
    list.SetImageList(images);
    const int icons[] = {1, 0, 5};
    for (int i = 0; i < 3; ++i) list.Model().ModifyItem(i, std::nullopt, static_cast<int16_t>(icons[i]));
    for (int i = 0; i < 3; ++i) {
        const int y = list.RowRect(i).top + 4;
        EXPECT_EQ(Pixel(8, y), icons[i] == 1 ? kOrange : kYellow) << "icon " << icons[i];
    }
    list.SetImageList(nullptr);
    ImageList_Destroy(images);
}

TEST_F(ClipListPixels, APinnedRowShowsAPinAtItsEnd) {
    list.Model().SetItemPinned(1, true);
    testsupport::PumpFor(20);
    const Rect plain = list.RowRect(0), pinned = list.RowRect(1);
    const int end = pinned.right - 20;  // past the short labels
    EXPECT_GT(DarkPixels(end, pinned.right, pinned), 10);
    EXPECT_EQ(DarkPixels(end, plain.right, plain), 0);
    list.Model().SetItemPinned(1, false);
    testsupport::PumpFor(20);
    EXPECT_EQ(DarkPixels(0, pinned.right, pinned), DarkPixels(0, plain.right, plain));
}

// A label too long for its row ends in an ellipsis: at the row's end only dots, low on the line, where a
// label cut without one would show the tops of its letters.
TEST_F(ClipListPixels, ALabelThatIsCutEndsInAnEllipsis) {
    list.Model().ModifyItem(0, std::string(60, 'M'));
    testsupport::PumpFor(20);
    const Rect cut = list.RowRect(0);
    const int mid = (cut.top + cut.bottom) / 2;
    const Rect upper{cut.left, cut.top, cut.right, mid}, lower{cut.left, mid, cut.right, cut.bottom};
    EXPECT_EQ(DarkPixels(cut.right - 8, cut.right, upper), 0);
    EXPECT_GT(DarkPixels(cut.right - 8, cut.right, lower), 0);
    EXPECT_GT(DarkPixels(cut.right - 40, cut.right - 30, upper), 0);  // the letters before it
    // A label of several lines shows its first and an ellipsis, never its line breaks or what follows.
    list.Model().ModifyItem(1, "MM\r\n" + std::string(20, 'M'));
    testsupport::PumpFor(20);
    const Rect lines = list.RowRect(1);
    const Rect linesUpper{lines.left, lines.top, lines.right, (lines.top + lines.bottom) / 2};
    EXPECT_GT(DarkPixels(lines.left, lines.left + 50, linesUpper), 0);
    EXPECT_EQ(DarkPixels(lines.left + 64, lines.right, linesUpper), 0);
    list.Model().ModifyItem(1, std::string("iiiiii"));
    // Resting on it, the tip gives the whole label; on a row that fits, or below the rows, the hint.
    list.SetHint("how to use it");
    EXPECT_EQ(list.TipAt(cut.top + 2), std::string(60, 'M'));
    EXPECT_EQ(list.TipAt(list.RowRect(1).top + 2), "how to use it");
    EXPECT_EQ(list.TipAt(list.RowRect(2).bottom + 40), "how to use it");
    EXPECT_EQ(SendMessageW(list.Tip(), TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(ClipListPixels, AmpersandsAreDrawnAsTheyAre) {
    list.Model().ModifyItem(0, std::string("&"));
    list.Model().ModifyItem(1, std::string("&&"));
    testsupport::PumpFor(20);
    const Rect r0 = list.RowRect(0), r1 = list.RowRect(1);
    const int one = DarkPixels(0, r0.right, r0), two = DarkPixels(0, r1.right, r1);
    // As prefixes, "&" would draw nothing and "&&" one ampersand.
    EXPECT_GT(one, 0);
    EXPECT_GT(two, one * 3 / 2);
}

TEST_F(ClipListPixels, PaintingLeavesNoDrawingObjectsBehind) {
    picture = SolidBitmap(kCyan, 4, 4);
    list.SetSelectionPicture(picture);
    list.Model().SetListIndex(1);
    const int before = gdi::gLiveObjects;
    for (int round = 0; round < 200; ++round) {
        list.SetSelectModeStyle(round % 8);
        list.Model().SetListIndex(round % 3);
    }
    EXPECT_EQ(gdi::gLiveObjects, before);
    HBRUSH probe = CreateSolidBrush(kRed);
    EXPECT_NE(probe, nullptr);
    DeleteObject(probe);
}

}  // namespace
}  // namespace cliplist
