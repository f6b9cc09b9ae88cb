#include "mainwindow/ClipFiles.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "clipboard/ClipboardAccess.h"
#include "clips/Clips.h"
#include "common/WindowText.h"

namespace mainwindow {

namespace {

struct File {
    std::FILE* f;
    explicit File(const std::string& path) : f(_wfopen(common::Widen(path).c_str(), L"wb")) {
        if (!f) throw std::runtime_error("Cannot write the file " + path);
    }
    ~File() {
        if (f) std::fclose(f);
    }
    void Write(const void* data, std::size_t size, const std::string& path) {
        if (size && std::fwrite(data, 1, size, f) != size) throw std::runtime_error("Cannot write the file " + path);
    }
    void Close(const std::string& path) {
        const int closed = std::fclose(f);
        f = nullptr;
        if (closed != 0) throw std::runtime_error("Cannot write the file " + path);
    }
};

}  // namespace

// Text the ANSI code page holds exactly is written in it, as editors have always read such files;
// any other text as UTF-8 with a byte-order mark, so that editors read every character right.
std::string TextFileBytes(const std::string& text) {
    const std::wstring wide = common::Widen(text + "\r\n");
    BOOL lost = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), nullptr, 0,
                                           nullptr, &lost);
    if (!lost && length >= 0) {
        std::string ansi(std::size_t(length), '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), &ansi[0], length, nullptr,
                            &lost);
        if (!lost) return ansi;
    }
    return "\xEF\xBB\xBF" + text + "\r\n";
}

void WriteTextFile(const std::string& path, const std::string& text) {
    const std::string bytes = TextFileBytes(text);
    File file(path);
    file.Write(bytes.data(), bytes.size(), path);
    file.Close(path);
}

void WriteBitmapFile(const std::string& path, HBITMAP picture) {
    BITMAP info;
    if (!picture || !GetObject(picture, sizeof(info), &info)) throw std::runtime_error("There is no picture to save");
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;  // bottom-up rows, as bitmap files keep them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (DWORD(info.bmWidth) * 3 + 3) & ~3u;
    header.biSizeImage = stride * DWORD(info.bmHeight);
    std::vector<BYTE> rows(header.biSizeImage);
    HDC screen = GetDC(nullptr);
    const int got = GetDIBits(screen, picture, 0, UINT(info.bmHeight), rows.data(),
                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (got != info.bmHeight) throw std::runtime_error("The picture cannot be read for " + path);

    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
    File file(path);
    file.Write(&fileHeader, sizeof(fileHeader), path);
    file.Write(&header, sizeof(header), path);
    file.Write(rows.data(), rows.size(), path);
    file.Close(path);
}

void WriteClipFile(clips::ClipHolders& holders, const std::string& path, const clips::ClipId& tag) {
    const std::string kind = tag.kind;
    const clips::HolderIndex index = tag.holder;
    if (kind == clips::kKindText || kind == clips::kKindFileList) {
        if (const std::string* text = holders.Text(index)) WriteTextFile(path, *text);
    } else if (kind == clips::kKindRichText) {
        // The markup as it was copied, not as a RichEdit would write it again.
        const clips::ClipFormats* kept = holders.Kept(clips::HolderFamily::kRichText, index);
        const clips::ClipFormat* rtf = kept ? clips::FindFormat(*kept, clipboard::RichTextFormat()) : nullptr;
        if (!rtf) throw std::runtime_error("There is no rich text to save");
        const std::string markup = clips::TrimAtNull(rtf->bytes);
        File file(path);
        file.Write(markup.data(), markup.size(), path);
        file.Close(path);
    } else if (kind == clips::kKindPicture) {
        // An older picture is decoded for the save alone; the one shown stays shown.
        if (!holders.Pictures().Use(index, [&](HBITMAP picture) { WriteBitmapFile(path, picture); }))
            throw std::runtime_error("There is no picture to save");
    }
}

}  // namespace mainwindow
