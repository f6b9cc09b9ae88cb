// Window-class registration and the hand-over of the owning object, written once for every window
// class of the program.
#pragma once

#include <windows.h>

namespace common {

namespace detail {

template <typename WindowClass, typename Char, typename GetInfo, typename Register>
bool RegisterOnce(const Char* name, WNDPROC proc, HCURSOR cursor, UINT style, GetInfo getInfo, Register registerClass) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WindowClass wc = {};
    wc.cbSize = sizeof(wc);
    if (getInfo(instance, name, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.lpszClassName = name;
    return registerClass(&wc) != 0;
}

}  // namespace detail

// Registers the class unless this module already has it.
inline bool RegisterClassOnce(const char* name, WNDPROC proc, HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW),
                              UINT style = 0) {
    return detail::RegisterOnce<WNDCLASSEXA>(name, proc, cursor, style, GetClassInfoExA, RegisterClassExA);
}

// The same for a Unicode class: its windows take and give text in UTF-16.
inline bool RegisterUnicodeClassOnce(const wchar_t* name, WNDPROC proc, HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW),
                                     UINT style = 0) {
    return detail::RegisterOnce<WNDCLASSEXW>(name, proc, cursor, style, GetClassInfoExW, RegisterClassExW);
}

// The object passed as lpCreateParams is kept in the window's user data from WM_NCCREATE until
// WM_NCDESTROY; onCreate sees it first so it can remember its handle.
template <typename T, typename OnCreate>
T* WindowOwner(HWND hwnd, UINT message, LPARAM lParam, OnCreate onCreate) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        onCreate(owner);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    auto* owner = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return owner;
}

}  // namespace common
