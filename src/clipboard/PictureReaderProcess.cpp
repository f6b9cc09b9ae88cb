#include "clipboard/PictureReaderProcess.h"

#include <cstdint>
#include <future>

#include "clips/ClipLimits.h"
#include "clipboard/ClipboardAccess.h"
#include "pictures/PngPicture.h"

namespace clipboard {

const wchar_t kPictureReaderSwitch[] = L"/read-picture";

namespace {

// What passes between the program and its reader, in this order: a request, the picture's size, a
// section to fill (none: stop), the rows filled.
struct Request {
    std::uint32_t sequence;
};
enum SizedStatus : std::int32_t { kSized = 0, kNoBitmap = 1, kClipboardHeld = 2 };
struct Sized {
    std::int32_t status;
    std::uint32_t sequence;
    std::int32_t width, height;
};
struct Fill {
    std::uint64_t section;  // a handle in the reader's process, 0 to stop
};
struct Filled {
    std::int32_t rows;
};

using Reader = PictureReader::Process;

bool UnderWine() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

void Close(HANDLE& handle) {
    if (handle) CloseHandle(handle);
    handle = nullptr;
}

void Retire(Reader& reader, bool kill) {
    if (kill && reader.process) TerminateProcess(reader.process, 1);
    Close(reader.toReader);  // a waiting reader ends when its input closes
    Close(reader.fromReader);
    Close(reader.process);
}

bool Alive(const Reader& reader) {
    return reader.process && WaitForSingleObject(reader.process, 0) == WAIT_TIMEOUT;
}

// The pipe the reader answers on: named, so that this end can wait for an answer with a deadline.
bool AnswerPipe(HANDLE& ours, HANDLE& theirs) {
    static LONG made = 0;
    const std::wstring name = L"\\\\.\\pipe\\ArdentiaPictureReader-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(InterlockedIncrement(&made));
    ours = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                            PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, 4096, 0, nullptr);
    if (ours == INVALID_HANDLE_VALUE) ours = nullptr;
    if (!ours) return false;
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    theirs = CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    if (theirs == INVALID_HANDLE_VALUE) theirs = nullptr;
    return theirs != nullptr;
}

Reader Start(const std::wstring& program) {
    Reader reader;
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE readerIn = nullptr, readerOut = nullptr;
    if (!CreatePipe(&readerIn, &reader.toReader, &inherited, 0) || !AnswerPipe(reader.fromReader, readerOut)) {
        Close(readerIn);
        Close(readerOut);
        Retire(reader, false);
        return reader;
    }
    // Only the reader's own ends go to it.
    SetHandleInformation(reader.toReader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readerIn;
    startup.hStdOutput = readerOut;
    std::wstring command = L"\"" + program + L"\" " + kPictureReaderSwitch;
    PROCESS_INFORMATION started = {};
    if (CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        reader.process = started.hProcess;
        CloseHandle(started.hThread);
    } else {
        Retire(reader, false);
    }
    Close(readerIn);
    Close(readerOut);
    return reader;
}

bool Send(HANDLE pipe, const void* message, DWORD bytes) {
    DWORD written = 0;
    return WriteFile(pipe, message, bytes, &written, nullptr) && written == bytes;
}

// A reply within the deadline; false when the reader ends without it or takes too long. A read still
// pending then is cancelled with the reader ended; should it not finish even so, its record is left to
// it rather than freed under it.
bool Receive(const Reader& reader, void* message, DWORD bytes, DWORD deadline) {
    struct Pending {
        OVERLAPPED overlapped = {};
        char buffer[32] = {};
    };
    if (bytes > sizeof(Pending::buffer)) return false;
    auto* pending = new Pending;
    pending->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!pending->overlapped.hEvent) {
        delete pending;
        return false;
    }
    DWORD got = 0, read = 0;
    bool settled = true;
    while (got < bytes) {
        ResetEvent(pending->overlapped.hEvent);
        if (!ReadFile(reader.fromReader, pending->buffer + got, bytes - got, &read, &pending->overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) break;
            const LONG left = LONG(deadline - GetTickCount());
            const HANDLE either[] = {pending->overlapped.hEvent, reader.process};
            WaitForMultipleObjects(2, either, FALSE, left > 0 ? DWORD(left) : 0);
            // The reader may end right after its last answer: that answer still counts.
            if (WaitForSingleObject(pending->overlapped.hEvent, 0) != WAIT_OBJECT_0) {
                TerminateProcess(reader.process, 1);
                CancelIo(reader.fromReader);
                settled = WaitForSingleObject(pending->overlapped.hEvent, 5000) == WAIT_OBJECT_0;
                break;
            }
            if (!GetOverlappedResult(reader.fromReader, &pending->overlapped, &read, FALSE)) break;
        }
        if (read == 0) break;
        got += read;
    }
    const bool whole = got == bytes;
    if (whole) CopyMemory(message, pending->buffer, bytes);
    if (settled) {
        CloseHandle(pending->overlapped.hEvent);
        delete pending;
    }
    return whole;
}

// The held picture, over the section the reader fills.
HBITMAP SectionOver(HANDLE mapping, LONG width, LONG height, void** bits) {
    const BITMAPINFO info = pictures::PixelSectionInfo(width, height);
    HDC screen = GetDC(nullptr);
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, bits, mapping, 0);
    ReleaseDC(nullptr, screen);
    return section;
}

// Reads one byte of each page, last first, stopping halfway: the reader's writes reach the rest first.
void TouchPagesFromTheEnd(void* bits, std::uint64_t bytes) {
    const volatile char* pixels = static_cast<const volatile char*>(bits);
    const std::uint64_t page = 4096;
    if (!bytes) return;
    for (std::uint64_t at = (bytes - 1) & ~(page - 1);; at -= page) {
        (void)pixels[at];
        if (at < page || at - page < bytes / 2) return;
    }
}

const char kNotRead[] = "Not kept: the picture could not be read";

ReaderResult Serve(Reader& reader, DWORD sequence, DWORD deadlineMs, bool& answered) {
    ReaderResult result;
    result.served = true;
    const DWORD deadline = GetTickCount() + deadlineMs;
    const Request request = {sequence};
    Sized sized = {};
    if (!Send(reader.toReader, &request, sizeof(request)) || !Receive(reader, &sized, sizeof(sized), deadline)) {
        result.why = kNotRead;
        return result;
    }
    answered = sized.status != kSized;
    // A newer copy is on offer: its own notice will take it.
    if (sized.status != kSized || sized.sequence != sequence) return result;
    if (sized.width <= 0 || sized.height <= 0) {
        result.why = kNotRead;
        return result;
    }
    Fill fill = {0};
    result.why = pictures::TooLargeForPicture(std::uint64_t(sized.width), std::uint64_t(sized.height));
    const std::uint64_t bytes = std::uint64_t(sized.width) * std::uint64_t(sized.height) * 4;
    HANDLE mapping = nullptr;
    if (result.why.empty()) {
        mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, DWORD(bytes >> 32), DWORD(bytes),
                                     nullptr);
        HANDLE theirs = nullptr;
        if (mapping && DuplicateHandle(GetCurrentProcess(), mapping, reader.process, &theirs,
                                       FILE_MAP_WRITE | FILE_MAP_READ, FALSE, 0))
            fill.section = std::uint64_t(reinterpret_cast<std::uintptr_t>(theirs));
        else
            result.why = "Not kept: there was not enough memory to hold the picture";
    }
    Filled filled = {0};
    void* bits = nullptr;
    HBITMAP section = fill.section ? SectionOver(mapping, sized.width, sized.height, &bits) : nullptr;
    bool done = section && Send(reader.toReader, &fill, sizeof(fill));
    // While the reader fills the pixels from the top, this side maps their pages in from the bottom: a
    // first touch of shared memory is what the fill costs most, and two processors share it.
    if (done) TouchPagesFromTheEnd(bits, bytes);
    done = done && Receive(reader, &filled, sizeof(filled), deadline);
    answered = !fill.section || done;
    if (done && filled.rows == sized.height) {
        result.pixels = section;
    } else if (section) {
        DeleteObject(section);
    }
    if (fill.section && !result.pixels) result.why = kNotRead;
    // The section keeps its view of the mapping; the handle is not needed beyond it.
    if (mapping) CloseHandle(mapping);
    return result;
}

}  // namespace

PictureReader::~PictureReader() {
    if (starting_.valid()) waiting_ = starting_.get();
    Retire(waiting_, true);
}

void PictureReader::SetProgram(const std::wstring& path) {
    if (starting_.valid()) waiting_ = starting_.get();
    Retire(waiting_, true);
    program_ = path;
}

bool NeedsPictureReader() {
    if (!UnderWine()) return false;
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(GetClipboardOwner(), &ownerProcess);
    if (ownerProcess == GetCurrentProcessId()) return false;
    return FirstPictureFormatOnOffer() == CF_BITMAP;
}

void PictureReader::Prepare() {
    if (starting_.valid()) return;
    if (Alive(waiting_) || program_.empty() || !UnderWine()) return;
    Retire(waiting_, true);
    starting_ = std::async(std::launch::async, Start, program_);
}

ReaderResult PictureReader::Read(DWORD sequence) {
    Prepare();
    if (starting_.valid()) waiting_ = starting_.get();
    if (!Alive(waiting_)) return {};
    Reader reader = waiting_;
    waiting_ = Reader{};
    bool answered = false;
    ReaderResult result = Serve(reader, sequence, deadlineMs_, answered);
    if (result.pixels) ++picturesRead_;
    // One that answered closes the clipboard and ends by itself; one that did not is ended.
    Retire(reader, !answered);
    Prepare();
    return result;
}

int RunPictureReader() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE), out = GetStdHandle(STD_OUTPUT_HANDLE);
    // What the first clipboard and display calls of a process set up is done while waiting, not on a copy.
    HDC warm = GetDC(nullptr);
    ReleaseDC(nullptr, warm);
    IsClipboardFormatAvailable(CF_BITMAP);
    Request request = {};
    DWORD read = 0;
    if (!ReadFile(in, &request, sizeof(request), &read, nullptr) || read != sizeof(request)) return 0;
    bool open = false;
    for (int attempt = 0; attempt < 50 && !(open = OpenClipboard(nullptr)); ++attempt) Sleep(20);
    Sized sized = {open ? kNoBitmap : kClipboardHeld, GetClipboardSequenceNumber(), 0, 0};
    HBITMAP bitmap = open ? static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)) : nullptr;
    BITMAP info = {};
    if (bitmap && GetObjectW(bitmap, sizeof(info), &info))
        sized = {kSized, sized.sequence, info.bmWidth, info.bmHeight};
    Fill fill = {0};
    Filled filled = {0};
    if (Send(out, &sized, sizeof(sized)) && sized.status == kSized &&
        ReadFile(in, &fill, sizeof(fill), &read, nullptr) && read == sizeof(fill) && fill.section) {
        HANDLE section = reinterpret_cast<HANDLE>(std::uintptr_t(fill.section));
        if (void* view = MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, 0)) {
            BITMAPINFO format = pictures::PixelSectionInfo(info.bmWidth, info.bmHeight);
            HDC screen = GetDC(nullptr);
            filled.rows = GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), view, &format, DIB_RGB_COLORS);
            ReleaseDC(nullptr, screen);
            UnmapViewOfFile(view);
        }
        Send(out, &filled, sizeof(filled));
    }
    if (open) CloseClipboard();
    return 0;
}

}  // namespace clipboard
