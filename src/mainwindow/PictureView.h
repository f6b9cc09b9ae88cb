// The preview image: draws a bitmap it does not own, at its natural size or stretched to the view.
#pragma once

#include <windows.h>

#include <functional>

namespace mainwindow {

class PictureView {
public:
    bool Create(HWND parent, int x, int y, int width, int height);
    HWND hwnd() const { return hwnd_; }
    HBITMAP Picture() const { return picture_; }
    void SetPicture(HBITMAP picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    // Told of a mouse-button press on the picture: 1 left, 2 right, 4 middle.
    std::function<void(int button)> onPress;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;

    HWND hwnd_ = nullptr;
    HBITMAP picture_ = nullptr;
    bool stretch_ = false;
};

}  // namespace mainwindow
