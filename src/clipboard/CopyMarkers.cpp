#include "clipboard/CopyMarkers.h"

#include <psapi.h>

#include <iterator>

#include "clipboard/ClipboardAccess.h"
#include "common/WindowText.h"

namespace clipboard {

SecretMarkers MarkersOnOffer(HWND window) {
    static const UINT exclude = RegisterClipboardFormatA(kExcludeFormat);
    static const UINT viewerIgnore = RegisterClipboardFormatA(kViewerIgnoreFormat);
    static const UINT history = RegisterClipboardFormatA(kHistoryFormat);
    static const UINT cloud = RegisterClipboardFormatA(kCloudFormat);
    SecretMarkers markers;
    markers.exclude = IsClipboardFormatAvailable(exclude);
    markers.viewerIgnore = IsClipboardFormatAvailable(viewerIgnore);
    markers.historyFlag = IsClipboardFormatAvailable(history);
    if (markers.historyFlag) markers.historyValue = ReadClipboardBytes(window, history);
    markers.cloudFlag = IsClipboardFormatAvailable(cloud);
    if (markers.cloudFlag) markers.cloudValue = ReadClipboardBytes(window, cloud);
    return markers;
}

std::string ProcessImage(unsigned long process) {
    // The limited right reaches more processes; systems before it know only the full one.
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle) handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process);
    if (!handle) return "";
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = GetProcessImageFileNameW(handle, path, DWORD(std::size(path)));  // a device path
    CloseHandle(handle);
    return common::Narrow(std::wstring(path, length));
}

std::string ClipboardOwnerImage() {
    DWORD process = 0;
    const HWND owner = GetClipboardOwner();
    if (!owner || !GetWindowThreadProcessId(owner, &process)) return "";
    return ProcessImage(process);
}

}  // namespace clipboard
