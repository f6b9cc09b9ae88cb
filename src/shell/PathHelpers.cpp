#include "shell/PathHelpers.h"

#include <shlobj.h>

#include "common/WindowText.h"
#include "shell/ApplicationTitle.h"

namespace shell {

namespace {

std::string gApplicationTitle = kProductName;

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string PathOfItem(LPITEMIDLIST item) {
    wchar_t path[MAX_PATH + 1] = {};
    const bool ok = SHGetPathFromIDListW(item, path);
    CoTaskMemFree(item);
    return ok ? common::Narrow(std::wstring(path)) : std::string();
}

std::string SpecialFolderPath(int folderId) {
    LPITEMIDLIST item = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folderId, &item)) || !item) return "";
    return PathOfItem(item);
}

}  // namespace

std::string ProgramFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string folder = common::Narrow(path, length);
    const auto slash = folder.find_last_of('\\');
    if (slash == std::string::npos) return "";
    folder.erase(slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

std::string BrowseForFolder(HWND owner, const std::string& prompt) {
    const std::wstring title = common::Widen(prompt);
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderW(&info);
    if (!item) return "";
    return PathOfItem(item);
}

std::string DefaultOutputFolder() {
    for (int folderId : {CSIDL_DESKTOP, CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL}) {
        const std::string path = SpecialFolderPath(folderId);
        if (!path.empty()) return WithBackslash(path);
    }
    return WithBackslash(ProgramFolder());
}

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD capacity = MAX_PATH + 1;
    DWORD length = GetEnvironmentVariableW(L"TEMP", buffer, capacity);
    if (length == 0 || length >= capacity) length = GetTempPathW(capacity, buffer);
    std::string folder = length > 0 && length < capacity ? common::Narrow(buffer, length) : ProgramFolder();
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool FileExists(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(common::Widen(path).c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(common::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetApplicationTitle() { gApplicationTitle = TrimApplicationTitle(kProductName); }

const std::string& ApplicationTitle() { return gApplicationTitle; }

}  // namespace shell

