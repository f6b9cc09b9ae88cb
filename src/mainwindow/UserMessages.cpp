#include "mainwindow/UserMessages.h"

#include "common/Utf8.h"

namespace mainwindow {

namespace {

// At most `most` characters of UTF-8 text, an ellipsis in place of the rest.
std::string Shortened(const std::string& text, std::size_t most) {
    const std::string kept = common::Utf8Prefix(text, most);
    return kept.size() < text.size() ? kept + "\xE2\x80\xA6" : text;
}

std::string Clips(int count, const char* adjective = "") {
    return std::to_string(count) + " " + adjective + (count == 1 ? "clip" : "clips");
}

}  // namespace

std::string DeleteClipQuestion(const std::string& label) {
    return "Delete the clip \"" + Shortened(label, 60) + "\"?";
}

std::string DeleteAllQuestion(int clips, int pinned) {
    if (pinned <= 0) return clips == 1 ? "Delete the one clip in the list?" : "Delete all " + Clips(clips) + "?";
    return "Delete the " + Clips(clips - pinned, "unpinned ") + "? " +
           (pinned == 1 ? "The pinned clip stays." : "The " + Clips(pinned, "pinned ") + " stay.");
}

std::string SaveReport(int written, const std::string& folder, int failed, const std::string& firstReason) {
    if (written == 0 && failed == 0) return "Nothing to save: the list is empty.";
    std::string report = std::to_string(written) + (written == 1 ? " file" : " files") + " written to " + folder;
    if (failed > 0)
        report += "\n\n" + Clips(failed) + " could not be saved: " + firstReason + (failed > 1 ? " (the first)." : ".");
    return report;
}

std::string EmptyListText(bool managerOn, const std::string& hotkey) {
    if (!managerOn) return "The clipboard manager is off.\r\nTurn it on to collect what you copy.";
    return "Clipboard is empty.\r\nCopy or cut to collect items; " + hotkey + " brings them back anywhere.";
}

std::string ClipListTip(const std::string& hotkey) {
    return "Enter or a double-click puts a clip back on the clipboard; " + hotkey +
           " opens the history in any program";
}

std::string FolderChangeQuestion(int clips, const std::string& from, const std::string& to) {
    const std::string these = clips == 1 ? "its clip" : "its " + std::to_string(clips) + " clips";
    return "The history is to be kept in " + to + " from now on.\n\nMove Clips: " + these +
           " go there.\nCopy Clips: they go there and stay in " + from + " too.\nStart Empty: they stay in " + from +
           ", listed again when that folder is chosen again.";
}

}  // namespace mainwindow
