// Where the main window's controls go for a client area of any size, without Win32. The design is
// measured in twips at the default size; sized larger, the list and the preview share the extra width
// (the list as wide as the splitter between them says), they take the extra height, the rows above keep
// to the top edge and the rows below to the bottom one, and what spans the window spans it still.
#pragma once

namespace mainwindow {

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// Every place in pixels of the client area, but those marked "in" a parent, which are in the parent's.
struct MainBoxes {
    Box managerButton, settingsButton, rememberCheck, startupFrame;
    Box search;                        // the search box above the list
    Box list;                          // the clip list (while searching, what was found) below it
    Box emptyLabel, emptyText;         // the empty list's panel over the list, and its words in it
    Box splitter;                      // the bar between list and preview that the user drags
    Box preview, previewText, previewPicture;  // text and picture in the preview
    Box infoLine, deleteSelected, deleteAll;
    Box saveFrame, folderBox, folderButton;     // box and button in the frame
    Box saveButton;
};

struct ClientSize {
    int width = 0, height = 0;
};
ClientSize DefaultClientSize(int dpi);
// Every control keeps its size and a list of a few rows: the top row needs the default width.
ClientSize MinimumClientSize(int dpi);
int DefaultListWidth(int dpi);
// The list's width until the user drags the bar: its share of the width beyond the default, in the design's
// proportion of list to preview.
int SharedListWidth(int clientWidth, int dpi);
// A list width the splitter may give: both list and preview keep their minimum widths.
int ClampListWidth(int listWidth, int clientWidth, int dpi);
// The client area below the minimum lays out as the minimum.
MainBoxes LayOutMain(int clientWidth, int clientHeight, int listWidth, int dpi);

}  // namespace mainwindow
