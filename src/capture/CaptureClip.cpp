#include "capture/CaptureClip.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <new>
#include <functional>
#include <string>
#include <vector>

#include "clips/ClipLimits.h"
#include "clipboard/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "clipboard/ClipboardPicture.h"
#include "capture/ClipboardRewrite.h"
#include "clipboard/FileListText.h"
#include "clips/CopyFingerprint.h"
#include "history/HistoryStore.h"
#include "clipboard/CopyMarkers.h"
#include "clipboard/IgnoredPrograms.h"
#include "clips/CredentialRules.h"
#include "clipboard/SecretMarkers.h"
#include "clips/Clips.h"
#include "pictures/PngPicture.h"
#include "common/GdiScope.h"
#include "cliplist/ClipListControl.h"

namespace capture {

namespace {

// A failing step is skipped; the capture goes on with the next one.
template <typename Step>
void Skip(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

std::string ChooseKind() {
    return clips::KindForFormats(IsClipboardFormatAvailable(CF_TEXT), IsClipboardFormatAvailable(CF_BITMAP),
                          IsClipboardFormatAvailable(CF_DIB), IsClipboardFormatAvailable(clipboard::RichTextFormat()),
                          IsClipboardFormatAvailable(CF_HDROP), IsClipboardFormatAvailable(pictures::PngFormat()));
}

// The formats besides its text or picture that a clip keeps, to paste as it was copied: every one of them
// that was offered, whatever kind the clip is shown as (a file manager's copy may offer files and text
// together). A rich text clip keeps its source's Unicode text too: that, not the rich-edit box's reading
// of the markup, is its plain text.
std::vector<UINT> KeptFormatsOf(const std::string& kind) {
    std::vector<UINT> kept = {clipboard::RichTextFormat(), clipboard::HtmlFormat(), pictures::PngFormat(), CF_HDROP,
                              clipboard::DropEffectFormat()};
    if (kind == clips::kKindRichText) kept.push_back(CF_UNICODETEXT);
    return kept;
}


// Why a copy of this kind is too large to keep, or "". Text is measured in the format its source
// offered: asking for a converted one would make the system build it first.
std::string Refusal(const std::string& kind, HWND window) {
    if (kind == clips::kKindPicture) return "";  // measured as it is read (ReadClipboardBitmap)
    UINT format = clipboard::RichTextFormat();
    if (kind == clips::kKindFileList) format = CF_HDROP;
    if (kind == clips::kKindText) format = clipboard::OfferedTextFormat(window);
    // Unicode text is measured as it is read (ReadCopy).
    if (!format || format == CF_UNICODETEXT) return "";
    const std::optional<std::uint64_t> bytes = clipboard::ClipboardDataSize(window, format);
    return bytes ? clips::TooLargeForText(*bytes) : "";
}

// What a copy holds, read before anything is stored: a clip is added only when its data came.
struct CopiedData {
    std::string text;    // text, the file list's paths, or the rich text's plain text
    std::string markup;  // rich text
    gdi::Bitmap picture{nullptr};
    std::string png;     // the picture's own PNG, when it had to be made during the capture
    clips::ClipFormats kept;    // the other formats the clip keeps
};

bool KeepsPng(const clips::ClipFormats& kept) { return clips::FindFormat(kept, pictures::PngFormat()) != nullptr; }

// Showing, saving and putting back decode a picture's kept PNG: one whose header does not describe the
// picture read, or describes more than a clip may hold, is left out. The clip stays; its PNG is made later.
void DropPngUnlikeThePicture(CopiedData& copy) {
    const auto png = std::find_if(copy.kept.begin(), copy.kept.end(),
                                  [](const clips::ClipFormat& item) { return item.format == pictures::PngFormat(); });
    if (png == copy.kept.end()) return;
    std::uint64_t width = 0, height = 0;
    BITMAP info = {};
    const bool same = pictures::PngSize(png->bytes, width, height) &&
                      pictures::TooLargeForPicture(width, height).empty() &&
                      GetObject(copy.picture.get(), sizeof(info), &info) && width == std::uint64_t(info.bmWidth) &&
                      height == std::uint64_t(std::abs(info.bmHeight));
    if (!same) copy.kept.erase(png);
}

// What holding the copy will cost, as the budget counts it: a picture's pixels until it is compressed.
std::uint64_t HeldBytesOfCopy(const CopiedData& copy) {
    // Rich text's markup and plain text are among the kept formats.
    std::uint64_t bytes = copy.markup.empty() ? copy.text.size() : 0;
    for (const clips::ClipFormat& format : copy.kept) bytes += format.bytes.size();
    BITMAP info;
    if (!copy.png.empty())
        bytes += copy.png.size();
    else if (copy.picture && !KeepsPng(copy.kept) && GetObject(copy.picture.get(), sizeof(info), &info))
        bytes += std::uint64_t(info.bmWidth) * std::uint64_t(info.bmHeight) * 4;
    return bytes;
}

// Why a copy is too large for the history, or "". A picture whose pixels alone are over the budget is
// judged by its PNG, made now: a screenshot's pixels are many times what it is held as.
std::string OverBudget(ClipboardMonitor& monitor, CopiedData& copy) {
    std::string why = clips::TooLargeForBudget(HeldBytesOfCopy(copy), monitor.History().Budget());
    if (why.empty() || !copy.picture || KeepsPng(copy.kept)) return why;
    copy.png = pictures::EncodeSectionPng(copy.picture.get()).value_or("");
    return copy.png.empty() ? why : clips::TooLargeForBudget(HeldBytesOfCopy(copy), monitor.History().Budget());
}

clips::Fingerprint FingerprintOfCopy(const std::string& kind, const CopiedData& copy, const clips::ClipId& newestTag) {
    return clips::FingerprintOf(kind, kind == clips::kKindRichText ? copy.markup : copy.text, BytesOf(copy.kept),
                                newestTag);
}

// False when nothing could be read, or when the copy turned out too large (refusal then says why). The
// formats the clip keeps are read in one opening, and the kind's own format among them (rich text, a file
// list) is taken from there rather than carried over a second time. Plain text comes
// first, so that a copy too large for a clip is refused before its other formats are fetched.
bool ReadCopy(ClipboardMonitor& monitor, const std::string& kind, HWND window, CopiedData& copy, std::string& refusal) {
    std::uint64_t blockBytes = 0;
    if (kind == clips::kKindText) {
        auto text = clipboard::ReadClipboardUnicodeText(window, clips::kMaxClipBytes, blockBytes);
        refusal = clips::TooLargeForText(blockBytes);
        if (!text) return false;
        copy.text = std::move(*text);
    }
    if (kind == clips::kKindPicture) {
        // A picture that was there but could not be held is said so; one never rendered is skipped quietly.
        copy.picture = gdi::Bitmap(clipboard::ReadClipboardBitmap(window, &monitor.Pictures(), &refusal));
        // Its PNG after its pixels: under Wine, opening the clipboard again lets go of the copy of the pixels
        // that the first reading made (read the other way round, the process held one more picture).
        copy.kept = clipboard::ReadFormats(window, KeptFormatsOf(kind));
        if (!copy.picture) return false;
        DropPngUnlikeThePicture(copy);
        return true;
    }
    copy.kept = clipboard::ReadFormats(window, KeptFormatsOf(kind));
    if (kind == clips::kKindFileList) {
        const clips::ClipFormat* drop = FindFormat(copy.kept, CF_HDROP);
        copy.text = drop ? clipboard::FileListText(drop->bytes) : "";
        if (copy.text.empty()) return false;
    } else if (kind == clips::kKindRichText) {
        const clips::ClipFormat* rtf = FindFormat(copy.kept, clipboard::RichTextFormat());
        copy.markup = rtf ? clips::TrimAtNull(rtf->bytes) : "";
        if (copy.markup.empty()) return false;
        const clips::ClipFormat* unicode = FindFormat(copy.kept, CF_UNICODETEXT);
        copy.text = unicode ? clips::Utf8OfUnicodeBlock(unicode->bytes) : "";
    }
    // The limit holds for the whole clip: its text and the formats kept with it.
    refusal = clips::TooLargeForText(HeldBytesOfCopy(copy));
    return refusal.empty();
}

bool StoreClip(ClipboardMonitor& monitor, clips::CaptureHost& host, const std::string& kind, CopiedData& copy) {
    auto& list = host.ClipList().Model();
    clips::ClipCollection& tags = monitor.Clips().Tags();
    clips::ClipHolders& holders = monitor.Clips().Holders();
    const int position = list.ListCount();
    const clips::HolderFamily family = clips::FamilyOfKind(kind);
    const clips::HolderIndex index = tags.NextHolderIndex(family, position);
    const std::int16_t icon = clips::IconOfKind(kind);

    holders.Create(family, index);  // fails for element 0 and for a holder left over, which is then filled
    std::string label;
    if (kind == clips::kKindPicture) {
        if (!holders.Pictures().Set(index, copy.picture.release(), KeepsPng(copy.kept), std::move(copy.png)))
            return false;
        label = clips::kPictureLabel;
    } else if (kind == clips::kKindRichText) {
        clips::RichTextHolder* box = holders.RichText(index);
        if (!box) return false;
        // Malformed markup still gives what the box could read; markup that gives nothing is no clip.
        const bool whole = box->SetMarkup(copy.markup);
        const std::string plain = box->PlainText();
        if (!whole && plain.empty()) return false;
        if (copy.text.empty()) copy.text = plain;
        label = clips::ListLabel(copy.text);
    } else {
        std::string* text = holders.Text(index);
        if (!text) return false;
        // Text moves into its holder (megabytes are not copied); a file list's paths are still to be offered.
        if (kind == clips::kKindText)
            *text = std::move(copy.text);
        else
            *text = copy.text;
        label = clips::ListLabel(*text);
    }
    if (clips::ClipFormats* kept = holders.Kept(family, index)) *kept = std::move(copy.kept);
    tags.SetTag(position, clips::ClipId{kind, index});
    try {
        list.AddItem(label, icon, icon);
    } catch (const std::exception&) {
        tags.SetTag(position, {});
        holders.Release(family, index);
        return false;
    }
    tags.Advance(family, index);
    if (kind == clips::kKindPicture)
        Skip([&] { host.ShowPreviewPicture(holders.Picture(index)); });
    else
        Skip([&] { host.ShowPreviewText(kind == clips::kKindRichText ? copy.text : *holders.Text(index)); });
    return true;
}

// The position of a clip that holds exactly this copy (its kind, its text, every kept format byte for
// byte), or -1. Pictures are not compared: their pixels would cost as much as the capture.
int FindClipHolding(ClipboardMonitor& monitor, const std::string& kind, const std::string& text,
                    const clips::ClipFormats& kept) {
    if (!monitor.Clips().Host() || kind == clips::kKindPicture) return -1;
    const clips::HolderFamily family = clips::FamilyOfKind(kind);
    const int count = monitor.Clips().Host()->ClipList().Model().ListCount();
    for (int position = count - 1; position >= 0; --position) {
        const clips::ClipId tag = monitor.Clips().Tags().Tag(position);
        if (tag.kind != kind) continue;
        // A clip on the disk only is read when its label matches: most never are.
        if (!monitor.History().ClipHeld(tag) &&
            (monitor.Clips().Host()->ClipList().Model().ItemText(position) != clips::ListLabel(text) || !monitor.History().LoadClip(tag)))
            continue;
        const clips::HolderIndex index = tag.holder;
        const clips::ClipFormats* held = monitor.Clips().Holders().Kept(family, index);
        if (!held || *held != kept) continue;
        // A rich text clip's kept formats hold its markup and text; the others' text is held apart.
        const std::string* heldText = kind == clips::kKindRichText ? &text : monitor.Clips().Holders().Text(index);
        if (heldText && *heldText == text) return position;
    }
    return -1;
}

}  // namespace

void RememberClipboardAsSeen(ClipboardMonitor& monitor, std::optional<DWORD> written) {
    clips::CaptureHost* host = monitor.Clips().Host();
    if (!host) return;
    HWND window = host->HostWindow();
    // Opening makes Wine import the X selection now rather than announce it as a change later.
    if (clipboard::OpenClipboardRetrying(window)) CloseClipboard();
    monitor.ForgetSeen();
    // A copy another program made since the write (its notice came while captures were suppressed) is
    // a new copy to capture, never one to take for the write announced again.
    const auto stillOurs = [&] { return !written || GetClipboardSequenceNumber() == *written; };
    if (!stillOurs()) return;
    Skip([&] {
        const std::string kind = ChooseKind();
        if (kind.empty() || kind == clips::kKindPicture || !Refusal(kind, window).empty()) return;
        CopiedData copy;
        std::string tooLarge;
        if (ReadCopy(monitor, kind, window, copy, tooLarge) && stillOurs())
            monitor.RememberSeen(FingerprintOfCopy(kind, copy, monitor.Clips().Newest()));
    });
}

void ReportClipboardHeld(ClipboardMonitor& monitor) {
    if (clips::CaptureHost* host = monitor.Clips().Host())
        host->ReportRefusedClip("Not kept: another program kept the clipboard open");
}

DWORD CaptureClip(ClipboardMonitor& monitor) {
    if (monitor.SelfWrite()) return GetClipboardSequenceNumber();
    clips::CaptureHost* host = monitor.Clips().Host();
    if (!host) return GetClipboardSequenceNumber();
    monitor.SetCaptureSuppressed(true);
    HWND window = host->HostWindow();
    std::string kind;
    // A secret is left exactly as its program put it: no kind, no clip.
    bool secret = true, thisMachineOnly = true;
    Skip([&] {
        const clipboard::SecretMarkers markers = clipboard::MarkersOnOffer(window);
        thisMachineOnly = clipboard::MarkedThisMachineOnly(markers);
        secret = clipboard::MarkedSecret(markers) ||
                 (!monitor.IgnoredPrograms().empty() &&
                  clipboard::IsIgnoredProgram(monitor.IgnoredPrograms(), clipboard::ClipboardOwnerImage()));
    });
    if (!secret) Skip([&] { kind = ChooseKind(); });
    std::string refusal;
    if (!kind.empty()) Skip([&] { refusal = Refusal(kind, window); });
    // The first read found another program holding the clipboard: try again rather than keep an empty clip.
    if (!kind.empty() && clipboard::LastOpenFailed()) {
        monitor.SetCaptureSuppressed(false);
        return kClipboardBusy;
    }
    if (!refusal.empty()) Skip([&] { host->ReportRefusedClip(refusal); });
    const DWORD readSequence = GetClipboardSequenceNumber();
    CopiedData copy;
    bool read = false, stored = false, moved = false, credential = false;
    if (!kind.empty() && refusal.empty()) Skip([&] {
        try {
            read = ReadCopy(monitor, kind, window, copy, refusal);
        } catch (const std::bad_alloc&) {
            read = false;
            refusal = "Not kept: there was not enough memory to hold the copy";
        }

        if (!refusal.empty()) host->ReportRefusedClip(refusal);
        if (!read) return;
        // A copy that looks like a password or key is kept a while in memory, or not at all.
        credential = (kind == clips::kKindText || kind == clips::kKindRichText) &&
                     !clips::CredentialRule(copy.text).empty();
        if (credential && monitor.SecretSeconds() <= 0) {
            read = false;
            return;
        }
        refusal = OverBudget(monitor, copy);
        if (!refusal.empty()) {
            host->ReportRefusedClip(refusal);
            read = false;
            return;
        }
        // The same copy announced again (Wine importing the X selection late, a program copying twice)
        // is no new clip.
        clips::Fingerprint seen = FingerprintOfCopy(kind, copy, monitor.Clips().Newest());
        if (monitor.SameAsLastSeen(seen)) return;
        // A copy of what an older clip holds makes that clip the newest, as using it again would: one
        // clip for one content.
        const int older = FindClipHolding(monitor, kind, copy.text, copy.kept);
        if (older >= 0) {
            monitor.Clips().MakeNewest(older);
            moved = true;
        } else {
            stored = StoreClip(monitor, *host, kind, copy);
        }
        seen.newestTag = monitor.Clips().Newest();
        if (stored || moved) monitor.RememberSeen(seen);
    });
    if (stored) {
        Skip([&] {
            monitor.History().RemoveClipsOverLimit();
            monitor.History().EvictOverBudget();
        });
        Skip([&] { host->HideEmptyPanel(); });
    }
    if (stored || moved) Skip([&] { host->ClipList().Model().SetListIndex(host->ClipList().Model().ListCount() - 1); });
    if (stored || moved) monitor.History().QueueClip(window, monitor.Clips().Newest(), thisMachineOnly);
    if ((stored || moved) && credential) Skip([&] {
        auto& list = host->ClipList().Model();
        list.SetItemIcon(list.ListCount() - 1, clips::kLockIcon);
        list.SetItemIconSelected(list.ListCount() - 1, clips::kLockIcon);
        monitor.History().KeepInMemoryOnly(monitor.Clips().Newest(), true);
        host->NoteCredentialClip(monitor.Clips().Newest());
    });
    DWORD left = readSequence;
    // Files copied again still get their paths as text, even when they make no new clip.
    if (read && kind == clips::kKindFileList) Skip([&] { left = OfferFilesWithText(monitor, readSequence, copy.text); });
    if (left != readSequence) RememberClipboardAsSeen(monitor, left);  // the paths added make it a text copy now
    // Nothing known on offer, or nothing readable, may be a copy still being put together: the notice can
    // come before its program closes the clipboard, under the sequence number it will keep, while the
    // formats listed are still the last copy's. The next notice looks again; a clipboard held open is
    // tried again on the timer.
    if (!secret && refusal.empty() && (kind.empty() || !read))
        left = clipboard::LastOpenFailed() ? kClipboardBusy : kLookAgain;
    // No messages are pumped here: a notice that came meanwhile is handled by the message loop once this
    // capture is over, never by a capture nested inside it (a burst of copies nested them dozens deep).
    monitor.MarkHandled(left);
    monitor.SetCaptureSuppressed(false);
    return left;
}

}  // namespace capture
