// The history's clip files: what is written reads back the same, and whatever else a file holds (cut
// short, a byte changed, a newer version, another program's file) is refused with its reason.
#include "history/ClipFile.h"

#include <gtest/gtest.h>

#include "clips/ClipCollection.h"

namespace history {
namespace {

ClipFileContents Sample() {
    ClipFileContents clip;
    clip.header = {clips::kKindRichText, 1796342400123ull, true, "Grüße 日本 \xF0\x9F\x98\x80"};
    clip.formats = {{"Rich Text Format", "{\\rtf1 Gr\\'fc\\'dfe}"},
                    {"#13", std::string("G\0r\0\xFC\0\0\0", 8)},
                    {"HTML Format", ""}};
    return clip;
}

TEST(ClipFile, AnythingButAWholeFileOfOursIsRefusedWithItsReason) {
    const std::string file = WriteClipFile(Sample());
    ClipFileError error = ClipFileError::kNone;
    for (std::size_t size = 0; size < file.size(); ++size) {
        EXPECT_FALSE(ReadClipFile(file.substr(0, size), error)) << size;
        EXPECT_EQ(error, ClipFileError::kTruncated) << size;
    }
    for (std::size_t at = 0; at < file.size(); ++at) {
        std::string changed = file;
        changed[at] = char(changed[at] ^ 0x20);
        EXPECT_FALSE(ReadClipFile(changed, error)) << at;
        EXPECT_NE(error, ClipFileError::kNone) << at;
    }
    ClipFileContents otherKind = Sample();
    otherKind.header.kind = "TXT9";  // would name another clip's holder 90
    const struct {
        std::string file;
        ClipFileError error;
    } cases[] = {
        {file + "x", ClipFileError::kDamaged},
        {WriteClipFile(otherKind), ClipFileError::kDamaged},
        {"%PDF-1.7 not a clip at all", ClipFileError::kNotOurs},
        {std::string(file).replace(8, 1, "\x02"), ClipFileError::kNewerVersion},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ReadClipFile(c.file, error));
        EXPECT_EQ(error, c.error) << c.file.substr(0, 12);
        if (c.error != ClipFileError::kDamaged) {
            EXPECT_FALSE(ReadClipFileHeader(c.file, error));
            EXPECT_EQ(error, c.error);
        }
    }
}

}  // namespace
}  // namespace history
