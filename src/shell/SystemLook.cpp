#include "shell/SystemLook.h"

#include <map>

namespace shell {
namespace {

// One brush a colour, for as long as the program runs: a look has a handful.
HBRUSH BrushOf(COLORREF colour) {
    static std::map<COLORREF, HBRUSH> brushes;
    auto it = brushes.find(colour);
    if (it == brushes.end()) it = brushes.emplace(colour, CreateSolidBrush(colour)).first;
    return it->second;
}

}  // namespace

Look SystemLook() {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    DWORD light = 1, size = sizeof(light), type = 0;
    HKEY key = nullptr;
    bool read = false;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        read = RegQueryValueExW(key, L"AppsUseLightTheme", nullptr, &type, reinterpret_cast<BYTE*>(&light), &size) ==
                   ERROR_SUCCESS &&
               type == REG_DWORD && size == sizeof(light);
        RegCloseKey(key);
    }
    const std::uint32_t value = light;
    return LookOf(high, read ? &value : nullptr);
}

LookColours SystemLookColours(Look look) {
    return ColoursOfLook(look, [](int index) { return std::uint32_t(GetSysColor(index)); });
}

void FollowLookInTitleBar(HWND window, Look look) {
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static const auto set = reinterpret_cast<SetAttribute>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"dwmapi.dll"), "DwmSetWindowAttribute")));
    if (!set) return;
    const BOOL dark = look == Look::kDark;
    // The attribute's number before Windows 10 20H1 was 19; a system that knows neither refuses both.
    if (FAILED(set(window, 20, &dark, sizeof(dark)))) set(window, 19, &dark, sizeof(dark));
}

bool LookChangeNotice(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_SYSCOLORCHANGE) return true;
    if (message != WM_SETTINGCHANGE || !lParam) return false;
    // The system hands the area's name in the window's own character set.
    if (IsWindowUnicode(window)) return lstrcmpW(reinterpret_cast<const wchar_t*>(lParam), L"ImmersiveColorSet") == 0;
    return lstrcmpA(reinterpret_cast<const char*>(lParam), "ImmersiveColorSet") == 0;
}

HBRUSH ControlBrushInLook(Look look, UINT message, HDC dc) {
    if (!LookRecolours(look)) return nullptr;
    const LookColours colours = SystemLookColours(look);
    const COLORREF back = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ? colours.back : colours.face;
    SetTextColor(dc, colours.text);
    SetBkColor(dc, back);
    return BrushOf(back);
}

HBRUSH FaceBrushInLook(Look look) { return LookRecolours(look) ? BrushOf(SystemLookColours(look).face) : nullptr; }

}  // namespace shell
