// The sealed clip file's layout: what it holds comes back only with its key, nothing of it shows in the
// bytes or the name, and any change is refused with its reason.
#include "history/SealedClipFile.h"

#include <gtest/gtest.h>

#include "clips/ClipCollection.h"
#include "history/FolderKeyFile.h"
#include "history/RecoveryCode.h"
#include "support/test_sealer.h"

namespace history {
namespace {

ClipFileContents Secret() {
    ClipFileContents clip;
    clip.header = {clips::kKindText, 1796342400123ull, true, "hunter2 password"};
    clip.formats = {{"#13", std::string("h\0u\0n\0t\0e\0r\0002\0\0\0", 16)}, {"HTML Format", "<b>hunter2</b>"}};
    return clip;
}

TEST(SealedClipFile, WhatIsSealedComesBackOnlyWithItsKeyAndShowsNothing) {
    const testsupport::TestSealer key(1), other(2);
    const ClipFileContents clip = Secret();
    const std::string file = WriteSealedClipFile(clip, key);
    ASSERT_FALSE(file.empty());
    for (const std::string& said : {std::string("hunter2"), std::string("h\0u\0n\0t", 7), std::string("HTML Format"),
                                     std::string("TXT")})
        EXPECT_EQ(file.find(said), std::string::npos) << said;
    ClipFileError error = ClipFileError::kNone;
    const auto header = ReadSealedClipFileHeader(file.substr(0, kClipFileHeaderRead), key, error);
    ASSERT_TRUE(header);
    EXPECT_EQ(*header, clip.header);
    EXPECT_EQ(header->fileBytes, file.size());
    const auto whole = ReadSealedClipFile(file, key, error);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->formats, clip.formats);
    EXPECT_NE(WriteSealedClipFile(clip, key), file);  // sealed afresh each time
    EXPECT_EQ(SealedClipFileBytes(clip, key), file.size());

    EXPECT_EQ(SealedContentId(clip.formats, key), SealedContentId(Secret().formats, key));
    EXPECT_NE(SealedContentId(clip.formats, key), SealedContentId(clip.formats, other));
    EXPECT_NE(SealedContentId(clip.formats, key), std::optional<std::uint64_t>(ContentChecksum(clip.formats)));
}

TEST(SealedClipFile, AnythingButAWholeFileSealedWithThisKeyIsRefused) {
    const testsupport::TestSealer key(1), other(2);
    const std::string file = WriteSealedClipFile(Secret(), key);
    std::string newer = file;
    newer[8] = 3;
    ClipFileContents otherKind = Secret();
    otherKind.header.kind = "TXT9";  // would name another clip's holder 90
    const struct {
        const char* what;
        std::string bytes;
        const common::Sealer& sealer;
        ClipFileError error;
    } cases[] = {
        {"another key", file, other, ClipFileError::kNotSealed},
        {"plain, as version 1 wrote it", WriteClipFile(Secret()), key, ClipFileError::kNotSealed},
        {"cut short", file.substr(0, file.size() - 1), key, ClipFileError::kTruncated},
        {"longer than it says", file + "x", key, ClipFileError::kDamaged},
        {"of a later version", newer, key, ClipFileError::kNewerVersion},
        {"not a clip file", "%PDF-1.7 and more", key, ClipFileError::kNotOurs},
        {"empty", "", key, ClipFileError::kTruncated},
        {"of a kind that is none of ours", WriteSealedClipFile(otherKind, key), key, ClipFileError::kDamaged},
    };
    for (const auto& c : cases) {
        ClipFileError error = ClipFileError::kNone;
        EXPECT_FALSE(ReadSealedClipFile(c.bytes, c.sealer, error)) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
    }
    // A byte changed anywhere: in the lengths, the sealed header, the sealed formats.
    for (std::size_t at = 0; at < file.size(); at += 7) {
        std::string changed = file;
        changed[at] ^= 0x10;
        ClipFileError error = ClipFileError::kNone;
        EXPECT_FALSE(ReadSealedClipFile(changed, key, error)) << at;
        EXPECT_NE(error, ClipFileError::kNone) << at;
    }
}

// The folder's key file names its key and is believed only as that key wrote it.
TEST(FolderKeyFile, IsBelievedOnlyWholeAndWithTheKeyItNames) {
    const testsupport::TestSealer key(1), other(2);
    FolderKeyFile layout;
    layout.keyId = *KeyIdOf(key);
    layout.plainFilesSealed = true;
    const std::string file = WriteFolderKeyFile(layout, key);
    const auto read = ReadFolderKeyFile(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->keyId, layout.keyId);
    EXPECT_TRUE(read->plainFilesSealed);
    EXPECT_TRUE(FolderKeyFileVouched(file, key));
    EXPECT_FALSE(FolderKeyFileVouched(file, other));
    EXPECT_NE(KeyIdOf(key), KeyIdOf(other));
    for (std::size_t at = 0; at < file.size(); ++at) {
        std::string changed = file;
        changed[at] ^= 0x01;
        EXPECT_FALSE(FolderKeyFileVouched(changed, key)) << at;
    }
    EXPECT_FALSE(ReadFolderKeyFile(file.substr(0, file.size() - 1)));
}

// A recovery code gives its key back however it is typed, and a mistyped one gives nothing.
TEST(RecoveryCode, GivesItsKeyBackAndRefusesAMistake) {
    KeyBytes key;
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = std::uint8_t(i * 37 + 200);
    const std::string code = RecoveryCode(key);
    ASSERT_EQ(code.size(), 56u + 13u);
    std::string lower = code, swapped = code, mapped = code;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    std::swap(swapped[0], swapped[1]);
    for (char& c : mapped) c = c == '0' ? 'O' : c == '1' ? 'l' : c;
    EXPECT_EQ(KeyOfRecoveryCode(code), key);
    EXPECT_EQ(KeyOfRecoveryCode(" " + lower + " "), key);
    EXPECT_EQ(KeyOfRecoveryCode(mapped), key);
    for (const std::string& wrong : {code.substr(1), code + "0", std::string(code).replace(30, 1, "U"), swapped})
        EXPECT_TRUE(wrong == code || !KeyOfRecoveryCode(wrong)) << wrong;
}

}  // namespace
}  // namespace history
