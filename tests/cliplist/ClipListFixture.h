// The list's portable parts against one recording surface: what the model asks of the window
// (lower-case entries) and what it tells its container (capitalised), in one ordered log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "cliplist/ClipListError.h"
#include "cliplist/ClipListInput.h"
#include "cliplist/ClipListModel.h"

namespace cliplist {

class Recorder : public ClipListSurface, public ClipListEvents {
public:
    std::vector<std::string> log;
    std::function<void()> onScroll;
    void RepaintAll() override { Add("all"); }
    void RepaintItem(int i) override { Add("item " + std::to_string(i)); }
    void DrawFocusRect(int i) override { Add("focus " + std::to_string(i)); }
    void ClearSurface() override { Add("clear"); }
    void ShowScrollBar(bool shown, int page) override { Add((shown ? "bar on " : "bar off ") + std::to_string(page)); }
    void SetScrollRange(int) override {}
    void SetScrollValue(int v) override { Add("value " + std::to_string(v)); }
    void DiscardEdit() override {}
    void ListIndexChange() override { Add("ListIndexChange"); }
    void Scroll() override {
        Add("Scroll");
        if (onScroll) onScroll();
    }
    void TopIndexChange() override { Add("TopIndexChange"); }
    void Click() override { Add("Click"); }
    void KeyDown(int key, int) override { Add("KeyDown " + std::to_string(key)); }
    void MouseDown(int b, int, float, float) override { Add("MouseDown " + std::to_string(b)); }

    void Add(const std::string& entry) { log.push_back(entry); }
    int Count(const std::string& entry) const { return int(std::count(log.begin(), log.end(), entry)); }
    std::vector<std::string> Events() const {
        std::vector<std::string> events;
        for (const auto& e : log)
            if (std::isupper(static_cast<unsigned char>(e[0]))) events.push_back(e);
        return events;
    }
};

// A model whose window shows visibleRows rows of 10 pixels, and the input rules on it.
class ClipListTest : public ::testing::Test {
protected:
    ClipListTest() { list.SetEvents(&rec); }
    void Fill(int n, int visibleRows = 100) {
        ClipListModel::WindowSide(list).SetVisibleRows(visibleRows);
        input.SetRowHeight(10);
        input.SetClientHeight(10 * visibleRows);
        for (int i = 0; i < n; ++i) list.AddItem("item" + std::to_string(i), 1, 2);
        rec.log.clear();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (int i = 0; i < list.ListCount(); ++i) t.push_back(list.ItemText(i));
        return t;
    }
    std::vector<int> Selected() const {
        std::vector<int> s;
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.ItemSelected(i)) s.push_back(i);
        return s;
    }
    static int ErrorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const ClipListError& e) {
            return e.number();
        }
        return 0;
    }

    Recorder rec;
    ClipListModel list{rec};
    ClipListInput input{list};
};

}  // namespace cliplist
