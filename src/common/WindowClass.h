// Window-class registration and the hand-over of the owning object, written once for every window
// class of the program.
#pragma once

#include <windows.h>

namespace common {

// Registers the class unless this module already has it.
inline bool RegisterClassOnce(const char* name, WNDPROC proc, HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW),
                              UINT style = 0) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(instance, name, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

// The same for a Unicode class: its windows take and give text in UTF-16.
inline bool RegisterUnicodeClassOnce(const wchar_t* name, WNDPROC proc, HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW),
                                     UINT style = 0) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, name, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
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
