// A picture another program offers as a GDI bitmap, read by a short-lived process of our own. Under
// Wine, the process that imports another process's bitmap keeps about twice its pixels for good,
// whatever it asks for; a reader process that ends gives that memory back. One reader waits, started
// ahead of time, so the copy does not wait for a process to start; each serves one picture and ends.
#pragma once

#include <windows.h>

#include <future>
#include <string>

namespace clipboard {

extern const wchar_t kPictureReaderSwitch[];
// Whether the picture on the open clipboard should go through a reader: under Wine, offered as a bitmap
// (not a device-independent one) by another process.
bool NeedsPictureReader();

// What a reader made of the picture on offer.
struct ReaderResult {
    bool served = false;    // false: no reader could be used, so the caller reads it itself
    HBITMAP pixels = nullptr;  // 32-bit top-down section, or null with why
    std::string why;
};

// The readers one capture uses: the one waiting, and the one starting. The main window owns one; a test
// makes its own.
class PictureReader {
public:
    PictureReader() = default;
    ~PictureReader();  // ends the waiting reader
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;

    // The program that serves as reader, started with kPictureReaderSwitch; none (the default) reads every
    // picture in this process. The program itself names its own file; tests name the built program.
    void SetProgram(const std::wstring& path);
    // Starts the waiting reader if there is none and a program is named.
    void Prepare();
    // Has the waiting reader read the picture on offer; the clipboard must not be open here. Sequence is
    // the clipboard's when the copy was seen: a picture from a newer copy is not taken for it.
    ReaderResult Read(DWORD sequence);
    // How many pictures readers have given this process.
    int PicturesRead() const { return picturesRead_; }
    // Tests make the reader take longer than the caller waits, as a source that never renders would.
    void SetDeadlineForTesting(DWORD ms) { deadlineMs_ = ms; }

    struct Process {
        HANDLE process = nullptr;
        HANDLE toReader = nullptr;
        HANDLE fromReader = nullptr;
    };

private:
    std::wstring program_;
    DWORD deadlineMs_ = 10000;
    int picturesRead_ = 0;
    Process waiting_;
    // The next reader starts on a thread of its own, so that no copy waits for it.
    std::future<Process> starting_;
};

// The reader's side: serves one request on its standard input and output. Returns the exit code.
int RunPictureReader();

}  // namespace clipboard
