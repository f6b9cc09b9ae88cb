// The keyboard and mouse rules, against the model and a recording surface (rows of 10 pixels).
#include "cliplist/ClipListFixture.h"

namespace cliplist {
namespace {

class InputTest : public ClipListTest {
protected:
    InputTest() { Fill(20, 5); }
};

TEST_F(InputTest, KeysMoveTheCurrentItemAndAreReportedAfterTheChangeTheyCause) {
    input.MouseDown(kLeftButton, 0, 3, 25);
    EXPECT_EQ(rec.Events(), (std::vector<std::string>{"ListIndexChange", "MouseDown 1"}));
    EXPECT_EQ(list.ListIndex(), 2);
    const struct {
        int from, key, to;
    } cases[] = {
        {-1, kKeyDown, 0},  {-1, kKeyHome, 0},  {-1, kKeySpace, 0}, {-1, kKeyUp, 19}, {-1, kKeyEnd, 19},  // entering
        {0, kKeyUp, 0},     {3, kKeyUp, 2},     {19, kKeyDown, 19}, {3, kKeyDown, 4},
        {7, kKeyPageUp, 2}, {5, kKeyPageUp, 0}, {3, kKeyPageDown, 8}, {14, kKeyPageDown, 19},
        {13, kKeyPageDown, 18}, {9, kKeyHome, 0}, {2, kKeyEnd, 19},
    };
    for (const auto& c : cases) {
        list.SetListIndex(c.from);
        rec.log.clear();
        input.KeyDown(c.key, 0);
        EXPECT_EQ(list.ListIndex(), c.to) << c.from << " key " << c.key;
        const std::string key = "KeyDown " + std::to_string(c.key);
        // A change scrolls first when it must; the change is told, then the key.
        std::vector<std::string> told = {key}, events = rec.Events();
        if (c.from != c.to) told.insert(told.begin(), "ListIndexChange");
        events.erase(events.begin(), events.end() - std::min(events.size(), told.size()));
        EXPECT_EQ(events, told) << c.from << " key " << c.key;
    }
}

}  // namespace
}  // namespace cliplist
