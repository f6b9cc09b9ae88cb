// Feeds arbitrary clipboard text to the rules that read it: labels, tags, the address tests, the
// target of an address, the bounded preview, temp-file names, a copied file list's block. Checks the
// bounds they promise.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzRequire.h"
#include "clips/ClipCollection.h"
#include "clipboard/DropFiles.h"
#include "common/Utf8.h"
#include "mainwindow/OpenRules.h"
#include "mainwindow/PreviewRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string label = clips::ListLabel(text);
    Require(label.size() <= 4 * clips::kLabelLength + 3 && label.size() <= text.size() + 3);
    // Conversions at the Win32 seam never throw and give valid UTF-8 back.
    const std::string decoded = common::Utf16ToUtf8(common::Utf8ToUtf16(text));
    Require(common::Utf16ToUtf8(common::Utf8ToUtf16(decoded)) == decoded);
    Require(common::FoldCase(decoded).size() <= 2 * decoded.size());
    Require(clips::TrimAtNull(text).find('\0') == std::string::npos);

    const bool loose = mainwindow::LooksLikeWebAddress(text);
    const bool strict = mainwindow::IsWebAddressToOpen(text);
    Require(!strict || loose || mainwindow::HeadWithoutLeadingSpaces(text, 7) == "<http:/" ||
            mainwindow::HeadWithoutLeadingSpaces(text, 8) == "<https:/");
    if (strict) Require(mainwindow::WebTarget(text).size() <= text.size() + 7);  // "http://" before "www."

    const std::string preview = mainwindow::PreviewText(text);
    Require(preview.size() <= 2 * mainwindow::kPreviewLimit + 200);
    for (const char* kind : {"TXT", "RTF", "FIL", "PIC", "???"}) mainwindow::InfoPrefix(kind, text);
    if (mainwindow::IsOwnTempFileName(text)) Require(text.compare(0, 4, "TEMP") == 0);

    std::size_t listed = 0;
    const clipboard::DropNames files = clipboard::ParseDropFiles(text);
    for (const std::string& name : files.names) {
        Require(!name.empty() && (!files.wide || name.size() % 2 == 0));
        if (!files.wide) Require(name.find('\0') == std::string::npos);
        listed += name.size() + 1;
    }
    Require(listed <= text.size());
    return 0;
}
