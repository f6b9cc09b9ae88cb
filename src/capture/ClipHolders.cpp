#include "capture/ClipHolders.h"

namespace capture {

bool ClipHolders::Init(HWND parent) {
    parent_ = parent;
    Clear();
    text_[0];
    pictures_.emplace(0, gdi::Bitmap(nullptr));
    auto box = std::make_unique<RichTextHolder>();
    if (!box->Create(parent)) return false;
    rich_[0] = std::move(box);
    return true;
}

void ClipHolders::Clear() {
    for (const auto& picture : pictures_) Releasing(picture.second.get());
    text_.clear();
    rich_.clear();
    kept_.clear();
    pictures_.clear();
}

bool ClipHolders::Exists(HolderFamily family, std::int16_t index) const {
    switch (family) {
        case HolderFamily::kText: return text_.count(index) != 0;
        case HolderFamily::kPicture: return pictures_.count(index) != 0;
        case HolderFamily::kRichText: return rich_.count(index) != 0;
        default: return false;
    }
}

bool ClipHolders::Create(HolderFamily family, std::int16_t index) {
    if (Exists(family, index)) return false;
    switch (family) {
        case HolderFamily::kText: text_[index]; return true;
        case HolderFamily::kPicture: pictures_.emplace(index, gdi::Bitmap(nullptr)); return true;
        case HolderFamily::kRichText: {
            auto box = std::make_unique<RichTextHolder>();
            if (!box->Create(parent_)) return false;
            rich_[index] = std::move(box);
            return true;
        }
        default: return false;
    }
}

void ClipHolders::Release(HolderFamily family, std::int16_t index) {
    if (index <= 0) return;
    kept_.erase({family, index});
    switch (family) {
        case HolderFamily::kText: text_.erase(index); break;
        case HolderFamily::kPicture:
            if (auto it = pictures_.find(index); it != pictures_.end()) {
                Releasing(it->second.get());
                pictures_.erase(it);
            }
            break;
        case HolderFamily::kRichText: rich_.erase(index); break;
        default: break;
    }
}

ClipFormats* ClipHolders::Kept(HolderFamily family, std::int16_t index) {
    if (!Exists(family, index)) return nullptr;
    return &kept_[{family, index}];
}

std::string* ClipHolders::Text(std::int16_t index) {
    auto it = text_.find(index);
    return it == text_.end() ? nullptr : &it->second;
}

RichTextHolder* ClipHolders::RichText(std::int16_t index) {
    auto it = rich_.find(index);
    return it == rich_.end() ? nullptr : it->second.get();
}

HBITMAP ClipHolders::Picture(std::int16_t index) const {
    auto it = pictures_.find(index);
    return it == pictures_.end() ? nullptr : it->second.get();
}

void ClipHolders::SetPicture(std::int16_t index, HBITMAP bitmap) {
    auto it = pictures_.find(index);
    if (it == pictures_.end()) {
        DeleteObject(bitmap);
        return;
    }
    Releasing(it->second.get());
    it->second = gdi::Bitmap(bitmap);
}

}  // namespace capture
