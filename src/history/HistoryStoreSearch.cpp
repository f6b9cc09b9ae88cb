// What search reads of clips the store holds on the disk only.
#include "history/HistoryStore.h"

#include "history/HistoryStoreFiles.h"
#include "history/HistoryStoreState.h"
#include "cliplist/ClipListControl.h"

namespace history {

bool StoredClipSearchText(const clips::ClipId& tag, std::string& text, unsigned& width, unsigned& height, int position) {
    const auto it = State().entries.find(KeyOf(tag));
    if (it == State().entries.end() || it->second.loaded) return false;
    Entry& entry = it->second;
    StoredSearchText found;
    const bool kept = State().searchTexts.Find(entry.id, found);
    if (!kept && !ReadSearchTextOfFile(entry.file, found)) found = {};
    // A damaged file is told when the clip is used; meanwhile search finds nothing in it.
    const bool whole = found.kind == tag.kind;
    if (!whole) found = {};
    if (!kept || !found.markup.empty()) {
        ReadMarkupOf(found);
        State().searchTexts.Keep(entry.id, found);
    }
    if (whole && !entry.labelChecked) LabelFromContent(tag, found.text, position);
    entry.labelChecked = true;
    text = std::move(found.text);
    width = found.width;
    height = found.height;
    return true;
}

void ReadSearchTextsAhead() {
    std::vector<std::pair<ClipFileId, std::filesystem::path>> newestFirst;
    const int count = clips::Host() ? clips::Host()->ClipList().Model().ListCount() : 0;
    for (int position = count - 1; position >= 0; --position) {
        const auto it = State().entries.find(KeyOf(clips::ClipTags().Tag(position)));
        if (it != State().entries.end() && !it->second.loaded && !it->second.file.empty())
            newestFirst.emplace_back(it->second.id, it->second.file);
    }
    State().searchTexts.ReadAhead(std::move(newestFirst), ReadSearchTextOfFile);
}

}  // namespace history
