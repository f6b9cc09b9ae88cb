#include "mainwindow/UserMessages.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

TEST(UserMessages, QuestionsAndReportsNameWhatTheyAreAbout) {
    const struct {
        std::string said, expected;
    } cases[] = {
        {DeleteClipQuestion("Meeting notes"), "Delete the clip \"Meeting notes\"?"},
        {DeleteClipQuestion(std::string(58, 'x') + "日本語"), "Delete the clip \"" + std::string(58, 'x') + "日本…\"?"},
        {DeleteAllQuestion(12, 0), "Delete all 12 clips?"},
        {DeleteAllQuestion(1, 0), "Delete the one clip in the list?"},
        {DeleteAllQuestion(12, 2), "Delete the 10 unpinned clips? The 2 pinned clips stay."},
        {DeleteAllQuestion(2, 1), "Delete the 1 unpinned clip? The pinned clip stays."},
        {SaveReport(6, "C:\\Desktop\\", 0, ""), "6 files written to C:\\Desktop\\"},
        {SaveReport(1, "D:\\", 2, "disk full"), "1 file written to D:\\\n\n2 clips could not be saved: disk full (the first)."},
        {SaveReport(0, "D:\\", 1, "no room"), "0 files written to D:\\\n\n1 clip could not be saved: no room."},
        {SaveReport(0, "D:\\", 0, ""), "Nothing to save: the list is empty."},
        {EmptyListText(false, "Ctrl+Alt+H"), "The clipboard manager is off.\r\nTurn it on to collect what you copy."},
        {EmptyListText(true, "Shift+Win+F9"),
         "Clipboard is empty.\r\nCopy or cut to collect items; Shift+Win+F9 brings them back anywhere."},
    };
    for (const auto& c : cases) EXPECT_EQ(c.said, c.expected);
}

}  // namespace
}  // namespace mainwindow
