// Renders the real control under Wine and reads its pixels back.
#include "cliplist/ClipListControlFixture.h"

#include <commctrl.h>

namespace cliplist {
namespace {

const COLORREF kBlack = RGB(0, 0, 0);

class ClipListPixels : public ClipListControlTest {
protected:
    void SetUp() override {
        Make(10, 10, 200, 130, 0);
        LOGFONTW font = {};
        font.lfHeight = -12;
        font.lfWeight = FW_BOLD;
        lstrcpyW(font.lfFaceName, L"Tahoma");  // one Wine has itself: its pixels are those of a real face
        list.SetFont(font);
        list.SetBackNormal(0x0000FFFF);  // yellow, as 0x00BBGGRR: the black text stands out
        list.SetFontNormal(0);
        list.SetItemTextLeft(20);
        for (int i = 0; i < 3; ++i) list.Model().AddItem("iiiiii");
        testsupport::PumpFor(50);
    }
    COLORREF Pixel(int x, int y) const {
        gdi::WindowDC dc(list.picList());
        return GetPixel(dc.get(), x, y);
    }
    int DarkPixels(int x0, int x1, const Rect& row) const {
        int n = 0;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = x0; x < x1; ++x) n += Pixel(x, y) == kBlack;
        return n;
    }
};

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

}  // namespace
}  // namespace cliplist
