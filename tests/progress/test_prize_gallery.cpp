// The prize gallery: every prize where the layout puts it, the profile's own
// opaque and the rest half transparent, the text of the one under the mouse.
#include <gtest/gtest.h>

#include <string>

#include "PrizeTestSupport.h"
#include "gui/LayoutTestSupport.h"
#include "progress/TPrizesWindow.h"

namespace {

using progress_test::PrizeImageGlobals;

class Gallery : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        for (ImagePtr* image : PrizeImageGlobals()) *image = guitest::Solid(64, 60, 200, 120, 0);
        for (int n = 200; n <= 217; ++n) TextTable[size_t(n)] = "prize " + std::to_string(n);
        Layout(R"(<window id="window_prizes" size="600 440" pos="100 80"/>
            <button id="ok" window_id="window_prizes" image="IMG_BTN" pos="230 364"/>)");
        CurrentUser = std::make_shared<TUser>();
        CurrentUser->GameData->Prizes = {"TPRIZE_X2", "TPRIZE_10STARS"};
    }
    void TearDown() override {
        TPrizeWidget::RemoveAll();
        for (ImagePtr* image : PrizeImageGlobals()) *image = nullptr;
        CurrentUser = nullptr;
        LayoutTest::TearDown();
    }
    static std::vector<PrizeWidgetPtr> Badges(const TPrizesWindow& g) {
        std::vector<PrizeWidgetPtr> badges;
        for (const WidgetPtr& w : g.Widgets)
            if (auto b = std::dynamic_pointer_cast<TPrizeWidget>(w)) badges.push_back(b);
        return badges;
    }
};

TEST_F(Gallery, EveryPrizeInRowsReceivedOnesOpaque) {
    const auto g = OpenPrizesWindow();
    const auto badges = Badges(*g);
    ASSERT_EQ(badges.size(), 18u);
    for (size_t i = 0; i < badges.size(); ++i) {
        SCOPED_TRACE(i);
        // Top-left corners at (40 + 64 k, 100 + 60 row) inside the window.
        EXPECT_EQ(badges[i]->_x, 100 + 40 + 64 * int(i % 8));
        EXPECT_EQ(badges[i]->_y, 80 + 100 + 60 * int(i / 8));
        EXPECT_EQ(badges[i]->Label, 200 + int(i));
        const bool received = i == 0 || i == 11;  // the 10-star run and x2
        EXPECT_EQ(badges[i]->Alpha, received ? 1.0f : 0.5f);
        EXPECT_EQ(badges[i]->HideAfterTime, 0);
    }
}

TEST_F(Gallery, TheTextOfThePrizeUnderTheMouse) {
    const auto g = OpenPrizesWindow();
    Frame();
    EXPECT_EQ(g->PrizeLabel, "");
    MoveTo(100 + 40 + 64 * 2 + 30, 80 + 100 + 30);  // the third prize
    Frame();
    EXPECT_EQ(g->PrizeLabel, "prize 202");
    MoveTo(100 + 40 + 64 * 1 + 30, 80 + 160 + 30);  // second row, second prize
    Frame();
    EXPECT_EQ(g->PrizeLabel, "prize 209");
    MoveTo(20, 20);
    Frame();
    EXPECT_EQ(g->PrizeLabel, "");
}

TEST_F(Gallery, OkClosesItAndItsBadgesGo) {
    const auto g = OpenPrizesWindow();
    const auto badges = Badges(*g);
    g->DePress(TPrizesWindow::Button_OK_ID);
    EXPECT_FALSE(WidgetManager->Contains(g.get()));
    for (const auto& b : badges) EXPECT_FALSE(WidgetManager->Contains(b.get()));
}

TEST_F(Gallery, WithoutItsOkButtonEscapeStillCloses) {
    Layout(R"(<window id="window_prizes" size="600 440" pos="100 80"/>)");
    const auto g = OpenPrizesWindow();
    Key(KEY_ESCAPE);
    EXPECT_FALSE(WidgetManager->Contains(g.get()));
}

}  // namespace
