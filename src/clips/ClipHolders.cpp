#include "clips/ClipHolders.h"

#include "pictures/PngPicture.h"

namespace clips {

bool ClipHolders::Init(HWND parent) {
    parent_ = parent;
    Clear();
    pictures_.onReleasing = [this](HBITMAP picture) {
        if (picture && onPictureReleasing) onPictureReleasing(picture);
    };
    pictures_.sourcePngOf = [this](clips::HolderIndex index) -> const std::string* {
        auto it = kept_.find({HolderFamily::kPicture, index});
        const ClipFormat* png = it == kept_.end() ? nullptr : FindFormat(it->second, pictures::PngFormat());
        return png ? &png->bytes : nullptr;
    };
    text_[0];
    pictures_.Create(0);
    if (!ReadyReader()) return false;
    rich_[0] = std::make_unique<RichTextHolder>(&reader_);
    return true;
}

void ClipHolders::Clear() {
    reader_.Destroy();
    readerReady_ = false;
    pictures_.Clear();
    text_.clear();
    rich_.clear();
    kept_.clear();
}

std::string ClipHolders::PlainTextOf(const std::string& rtf) {
    std::string text;
    return ReadyReader() && reader_.Read(rtf, text) ? text : std::string();
}

bool ClipHolders::ReadyReader() {
    if (readerReady_) return true;
    readerReady_ = parent_ && reader_.Create(parent_);
    return readerReady_;
}

bool ClipHolders::Exists(HolderFamily family, clips::HolderIndex index) const {
    switch (family) {
        case HolderFamily::kText: return text_.count(index) != 0;
        case HolderFamily::kPicture: return pictures_.Exists(index);
        case HolderFamily::kRichText: return rich_.count(index) != 0;
        default: return false;
    }
}

bool ClipHolders::Create(HolderFamily family, clips::HolderIndex index) {
    if (Exists(family, index)) return false;
    switch (family) {
        case HolderFamily::kText: text_[index]; return true;
        case HolderFamily::kPicture: return pictures_.Create(index);
        case HolderFamily::kRichText: {
            if (!ReadyReader()) return false;
            rich_[index] = std::make_unique<RichTextHolder>(&reader_);
            return true;
        }
        default: return false;
    }
}

void ClipHolders::Release(HolderFamily family, clips::HolderIndex index) {
    if (index < 0) return;
    switch (family) {
        case HolderFamily::kText: text_.erase(index); break;
        case HolderFamily::kPicture: pictures_.Release(index); break;
        case HolderFamily::kRichText:
            if (index > 0) rich_.erase(index);
            else if (rich_.count(0)) rich_[0]->SetMarkup("");
            break;
        default: break;
    }
    if (index == 0) Create(family, 0);  // element 0 lives on, emptied
    kept_.erase({family, index});  // after the picture, whose source PNG may be among them
    if (onReleased) onReleased(family, index);
}

ClipFormats* ClipHolders::Kept(HolderFamily family, clips::HolderIndex index) {
    if (!Exists(family, index)) return nullptr;
    return &kept_[{family, index}];
}

std::string* ClipHolders::Text(clips::HolderIndex index) {
    auto it = text_.find(index);
    return it == text_.end() ? nullptr : &it->second;
}

RichTextHolder* ClipHolders::RichText(clips::HolderIndex index) {
    auto it = rich_.find(index);
    return it == rich_.end() ? nullptr : it->second.get();
}

std::uint64_t ClipHolders::HeldBytes(HolderFamily family, clips::HolderIndex index) {
    if (!Exists(family, index)) return 0;
    std::uint64_t bytes = 0;
    if (auto it = kept_.find({family, index}); it != kept_.end())
        for (const ClipFormat& format : it->second) bytes += format.bytes.size();
    switch (family) {
        case HolderFamily::kText: return bytes + text_[index].size();
        case HolderFamily::kPicture: return bytes + pictures_.Bytes(index);
        // The box's own text; its markup is among the kept formats.
        case HolderFamily::kRichText: return bytes + rich_[index]->Bytes();
        default: return bytes;
    }
}

}  // namespace clips
