#include "mainwindow/MainLayout.h"

#include <algorithm>

namespace mainwindow {

namespace {

// The design, in twips.
const int kDesignWidth = 8040, kDesignHeight = 7305;
const int kMargin = 120;                 // from the window's edges, and between the delete buttons
const int kListTop = 1440;               // where the search box starts
const int kSearchHeight = 360;
const int kListWidth = 2535;             // with the search box above it
const int kSplitterWidth = 105;          // between list and preview
const int kBelowList = 2430;             // from the list's bottom to the window's
const int kMinListHeight = 2400;         // with the search box: a few rows, or the empty list's words
const int kMinListWidth = 1500, kMinPreviewWidth = 2400;

int Px(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

// The bar between list and preview, as wide as the design's gap is when each edge is rounded on its own.
int SplitterWidth(int dpi) {
    return Px(kMargin + kListWidth + kSplitterWidth, dpi) - Px(kMargin, dpi) - Px(kListWidth, dpi);
}

Box At(int left, int top, int width, int height, int dpi) {
    return {Px(left, dpi), Px(top, dpi), Px(width, dpi), Px(height, dpi)};
}

}  // namespace

ClientSize DefaultClientSize(int dpi) { return {Px(kDesignWidth, dpi), Px(kDesignHeight, dpi)}; }

ClientSize MinimumClientSize(int dpi) {
    return {Px(kDesignWidth, dpi), Px(kListTop + kMinListHeight + kBelowList, dpi)};
}

int DefaultListWidth(int dpi) { return Px(kListWidth, dpi); }

int SharedListWidth(int clientWidth, int dpi) {
    const int extra = std::max(0, clientWidth - DefaultClientSize(dpi).width);
    const int previewWidth = kDesignWidth - 2 * kMargin - kListWidth - kSplitterWidth;
    return DefaultListWidth(dpi) + int(static_cast<long long>(extra) * kListWidth / (kListWidth + previewWidth));
}

int ClampListWidth(int listWidth, int clientWidth, int dpi) {
    const int widest = clientWidth - 2 * Px(kMargin, dpi) - SplitterWidth(dpi) - Px(kMinPreviewWidth, dpi);
    return std::max(Px(kMinListWidth, dpi), std::min(listWidth, widest));
}

MainBoxes LayOutMain(int clientWidth, int clientHeight, int listWidth, int dpi) {
    const ClientSize least = MinimumClientSize(dpi);
    const int width = std::max(clientWidth, least.width), height = std::max(clientHeight, least.height);
    const int margin = Px(kMargin, dpi);
    const int spanned = width - 2 * margin;                   // what spans the window
    const auto fromBottom = [&](int designTop) { return height - Px(kDesignHeight - designTop, dpi); };
    MainBoxes b;

    b.managerButton = At(120, 120, 4140, 405, dpi);
    b.settingsButton = At(4380, 120, 1260, 405, dpi);
    b.rememberCheck = At(5790, 180, 2130, 285, dpi);
    b.startupFrame = At(120, 570, 0, 735, dpi);
    b.startupFrame.width = spanned;

    // The list's place (search box and list) and the preview between the rows above and below.
    const int placeTop = Px(kListTop, dpi);
    const int placeHeight = height - placeTop - Px(kBelowList, dpi);
    const int list = ClampListWidth(listWidth, width, dpi);
    b.search = {margin, placeTop, list, Px(kSearchHeight, dpi)};
    b.list = {margin, b.search.Bottom(), list, placeHeight - b.search.height};
    // The empty list's words in the list's middle, as far down as its place lets them.
    const int labelTop = Px(570, dpi);
    b.emptyLabel = {margin + Px(60, dpi), placeTop + labelTop, list - Px(180, dpi),
                    std::min(Px(1905, dpi), placeHeight - labelTop - Px(60, dpi))};
    b.emptyText = At(0, 120, 0, 1200, dpi);  // five lines of how to begin
    b.emptyText.width = b.emptyLabel.width - Px(120, dpi);
    b.splitter = {margin + list, placeTop, SplitterWidth(dpi), placeHeight};
    b.preview = {b.splitter.Right(), placeTop, width - margin - b.splitter.Right(), placeHeight};
    b.previewText = {0, 0, b.preview.width - Px(105, dpi), placeHeight};
    b.previewPicture = {Px(65, dpi), Px(45, dpi), b.preview.width - Px(165, dpi), placeHeight - Px(90, dpi)};

    b.infoLine = {margin, fromBottom(5010), spanned, Px(255, dpi)};
    const int buttonTop = fromBottom(5390), buttonHeight = Px(405, dpi);
    b.deleteSelected = {margin, buttonTop, (spanned - margin) / 2, buttonHeight};
    b.deleteAll = {b.deleteSelected.Right() + margin, buttonTop, 0, buttonHeight};
    b.deleteAll.width = width - margin - b.deleteAll.left;
    b.saveFrame = {margin, fromBottom(5850), spanned, Px(810, dpi)};
    b.folderBox = {Px(240, dpi), Px(300, dpi), spanned - Px(1260, dpi), Px(345, dpi)};
    b.folderButton = {spanned - Px(960, dpi), Px(300, dpi), Px(720, dpi), Px(345, dpi)};
    b.saveButton = {margin, fromBottom(6780), spanned, Px(405, dpi)};
    return b;
}

}  // namespace mainwindow
