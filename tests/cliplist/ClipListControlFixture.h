// The real control in a visible host window under Wine.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cliplist/ClipListControl.h"
#include "support/win32_wait.h"

namespace cliplist {

class ClipListControlTest : public ::testing::Test {
protected:
    // A list at (left, top) of width x height holding count items named "item N".
    void Make(int left, int top, int width, int height, int count) {
        host = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr,
                               nullptr, nullptr);
        SetForegroundWindow(host);
        ASSERT_TRUE(list.Create(host, 100, left, top, width, height));
        for (int i = 0; i < count; ++i) list.Model().AddItem("item " + std::to_string(i));
        testsupport::PumpFor(50);
    }
    void TearDown() override { DestroyWindow(host); }
    static LPARAM At(int x, int y) { return MAKELPARAM(short(x), short(y)); }

    HWND host = nullptr;
    ClipListControl list;
};

}  // namespace cliplist
