// What search reads of clips the store holds on the disk only.
#include "history/HistoryStore.h"

#include "history/HistoryStoreFiles.h"
#include "cliplist/ClipListControl.h"

namespace history {

bool HistoryStore::StoredClipSearchText(const clips::ClipId& tag, std::string& text, unsigned& width, unsigned& height, int position) {
    const auto it = state_.entries.find(KeyOf(tag));
    if (it == state_.entries.end() || it->second.loaded) return false;
    Entry& entry = it->second;
    StoredSearchText found;
    const bool kept = state_.searchTexts.Find(entry.id, found);
    if (!kept) {
        const std::filesystem::path file = FileOf(entry);
        // A file left in the cloud is not brought down to be searched: its text is read once it is here.
        if (LeftInTheCloud(file)) {
            text.clear();
            width = height = 0;
            return true;
        }
        if (!ReadSearchTextOfFile(file, *state_.sealer, found)) found = {};
    }
    // A damaged file is told when the clip is used; meanwhile search finds nothing in it.
    const bool whole = found.kind == tag.kind;
    if (!whole) found = {};
    if (!kept || !found.markup.empty()) {
        ReadMarkupOf(found);
        state_.searchTexts.Keep(entry.id, found);
    }
    if (whole && !entry.labelChecked) LabelFromContent(tag, found.text, position);
    entry.labelChecked = true;
    text = std::move(found.text);
    width = found.width;
    height = found.height;
    return true;
}

void HistoryStore::ReadSearchTextsAhead() {
    FilesToRead newestFirst;
    for (int position = clips_.Count() - 1; position >= 0; --position) {
        const auto it = state_.entries.find(KeyOf(clips_.Tags().Tag(position)));
        // Those the folder's index gave are not even named: a long history's names alone take megabytes.
        if (it != state_.entries.end() && !it->second.loaded && !it->second.file.empty() &&
            !state_.searchTexts.Has(it->second.id))
            newestFirst.emplace_back(it->second.id, FileOf(it->second).native());
    }
    state_.searchTexts.ReadAhead(std::move(newestFirst),
                                 [sealer = state_.sealer](const std::filesystem::path& file, StoredSearchText& read) {
                                     return !LeftInTheCloud(file) && ReadSearchTextOfFile(file, *sealer, read);
                                 });
}

}  // namespace history
