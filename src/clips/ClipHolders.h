// The holders that keep the clips' contents, by family and holder index. Text lives in memory (text
// controls take minutes for one long line); rich text as its markup and plain text; pictures compressed.
// Element 0 of each family lives as long as the holders; others are created and released per clip.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "clips/ClipCollection.h"
#include "clips/ClipFormats.h"
#include "pictures/PictureHolders.h"
#include "clips/RichTextHolder.h"
#include "common/GdiScope.h"

namespace clips {

class ClipHolders {
public:
    // Creates element 0 of each family; rich-text boxes are hidden children of parent.
    bool Init(HWND parent);
    void Clear();  // releases everything, element 0 included (window teardown)

    // False when the holder already exists, as creating a holder twice fails; element 0 always exists.
    bool Create(HolderFamily family, clips::HolderIndex index);
    void Release(HolderFamily family, clips::HolderIndex index);  // element 0 is emptied instead
    bool Exists(HolderFamily family, clips::HolderIndex index) const;

    // Null or empty when the holder does not exist.
    std::string* Text(clips::HolderIndex index);
    RichTextHolder* RichText(clips::HolderIndex index);
    pictures::PictureHolders& Pictures() { return pictures_; }
    // The picture to show (one at a time); see PictureHolders.
    HBITMAP Picture(clips::HolderIndex index) { return pictures_.Shown(index); }

    // What a clip's holder keeps, in bytes, for the history's memory budget.
    std::uint64_t HeldBytes(HolderFamily family, clips::HolderIndex index);

    // The other formats the copy offered, kept so that the clip pastes as it was copied; released with
    // the holder. Null when the holder does not exist.
    ClipFormats* Kept(HolderFamily family, clips::HolderIndex index);

    // The plain text of rich text no clip holds (a clip on the disk only, searched), through a box of its own.
    std::string PlainTextOf(const std::string& rtf);

    // Told of every holder let go with its clip (not of those Clear lets go at exit).
    std::function<void(HolderFamily, clips::HolderIndex)> onReleased;

    // Told of every picture just before it is deleted, so that whoever shows it lets go first.
    std::function<void(HBITMAP)> onPictureReleasing;

private:
    HWND parent_ = nullptr;
    std::map<clips::HolderIndex, std::string> text_;
    std::map<clips::HolderIndex, std::unique_ptr<RichTextHolder>> rich_;
    pictures::PictureHolders pictures_;
    std::map<std::pair<HolderFamily, clips::HolderIndex>, ClipFormats> kept_;
    bool ReadyReader();  // the one box that reads every rich-text clip's markup, made on first use
    MarkupReader reader_;
    bool readerReady_ = false;
};

}  // namespace clips
