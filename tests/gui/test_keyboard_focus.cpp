// The buttons of the active layer used from the keyboard: the arrows and Tab
// move a visible focus, Enter and Space press the focused button, the mouse
// takes the focus away, and nothing changes for a player who never navigates.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "GuiTestSupport.h"
#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"

namespace {

using guitest::GuiTest;

// Four buttons in a square and one below the middle:
//
//    1 (100,100)   2 (300,100)
//    3 (100,250)   4 (300,250)
//          5 (200,400)
class KeyboardFocus : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        WidgetManager->AddWidget(listener);
        const std::map<int, std::pair<int, int>> places = {
            {1, {100, 100}}, {2, {300, 100}}, {3, {100, 250}}, {4, {300, 250}}, {5, {200, 400}}};
        for (const auto& [id, at] : places) {
            auto b = CreateButton(at.first, at.second, gfxtest::SolidImage(80, 40, gfxtest::Argb(255, 0, 0, 200)), "",
                                  id, listener, 1, 2);
            WidgetManager->AddWidget(b);
            buttons[id] = b;
        }
        MoveTo(700, 550);  // the mouse rests away from every button
    }
    int FocusedId() const {
        const auto f = std::dynamic_pointer_cast<TButtonWidget>(WidgetManager->Focus.Focused());
        return f ? f->ID : 0;
    }
    int Presses() const {
        int n = 0;
        for (const std::string& h : listener->heard) n += h.rfind("DePress", 0) == 0;
        return n;
    }
    std::map<int, ButtonPtr> buttons;
};

TEST_F(KeyboardFocus, NothingHasTheFocusUntilANavigationKeyAndEnterIsLeftAlone) {
    Key(KEY_ENTER);
    EXPECT_EQ(FocusedId(), 0);
    EXPECT_EQ(Presses(), 0);
    EXPECT_EQ(KeyHitCount(KEY_ENTER), 1) << "the press is still there for whoever asks for it";
    Key(KEY_DOWN);
    EXPECT_EQ(FocusedId(), 1) << "of equal buttons the first takes the focus";
    EXPECT_EQ(buttons[1]->Focused, 1);
    Frame(20);
    EXPECT_FLOAT_EQ(buttons[1]->OverAlpha, 1.0f) << "lit as under the mouse";
    EXPECT_EQ(listener->heard.front(), "Enter 1") << "the focus tells the screen as the hover does";
}

TEST_F(KeyboardFocus, ArrowsGoToTheNearestButtonThatWay) {
    struct Step {
        int key, expected;
    };
    // From 1: right 2, down 4, left 3, down 5, up (nearest above 5 straight
    // ahead is neither; 3 and 4 tie, the earlier wins) 3, up 1, up stays.
    const Step steps[] = {{KEY_RIGHT, 2}, {KEY_DOWN, 4}, {KEY_LEFT, 3}, {KEY_DOWN, 5},
                          {KEY_UP, 3},    {KEY_UP, 1},   {KEY_UP, 1},   {KEY_TAB, 2}};
    Key(KEY_RIGHT);
    ASSERT_EQ(FocusedId(), 1);
    for (const Step& s : steps) {
        Key(s.key);
        EXPECT_EQ(FocusedId(), s.expected) << "after key " << s.key;
    }
    for (int i = 0; i < 4; ++i) Key(KEY_TAB);
    EXPECT_EQ(FocusedId(), 1) << "Tab goes round";
    int lit = 0;
    for (const auto& [id, b] : buttons) lit += b->Focused;
    EXPECT_EQ(lit, 1) << "one focus at a time";
}

TEST_F(KeyboardFocus, EnterAndSpacePressTheFocusedButtonAndAreUsedUp) {
    Key(KEY_TAB);
    Key(KEY_RIGHT);
    InjectKey(KEY_ENTER, true);
    InjectKey(KEY_ENTER, false);
    Frame();
    EXPECT_EQ(listener->heard.back(), "DePress 2");
    EXPECT_EQ(KeyHitCount(KEY_ENTER), 0) << "a dialog's own Enter does not fire as well";
    Key(KEY_DOWN);
    Key(KEY_SPACE);
    EXPECT_EQ(listener->heard.back(), "DePress 4");
    EXPECT_EQ(Presses(), 2);
}

TEST_F(KeyboardFocus, TheLargestButtonTakesTheFocusFirst) {
    buttons[4]->Resize(300, 250, 120, 50);
    Key(KEY_TAB);
    EXPECT_EQ(FocusedId(), 4) << "a screen's main action is its biggest button";
}

TEST_F(KeyboardFocus, TheMouseTakesTheFocusAway) {
    Key(KEY_DOWN);
    ASSERT_EQ(FocusedId(), 1);
    MoveTo(650, 500);
    EXPECT_EQ(FocusedId(), 0);
    EXPECT_EQ(buttons[1]->Focused, 0);
    Key(KEY_ENTER);
    EXPECT_EQ(Presses(), 0);
}

TEST_F(KeyboardFocus, OnlyShownEnabledButtonsOfTheActiveLayerTakeIt) {
    buttons[1]->SetHided(1);
    buttons[2]->SetEnable(0);
    Key(KEY_DOWN);
    EXPECT_EQ(FocusedId(), 3);
    Key(KEY_RIGHT);
    EXPECT_EQ(FocusedId(), 4);
    // A modal dialog opens: its button is the only one to go to, and the
    // focus left behind it goes.
    auto dialog = std::make_shared<TDialog>();
    dialog->Resize(450, 450, 300, 120);
    WidgetManager->AddWidget(dialog);
    auto ok = CreateButton(500, 480, gfxtest::SolidImage(80, 40, gfxtest::Argb(255, 0, 200, 0)), "", 9, listener, 1,
                           2);
    WidgetManager->AddWidget(ok);
    Frame();
    EXPECT_EQ(FocusedId(), 0);
    Key(KEY_UP);
    EXPECT_EQ(FocusedId(), 9);
    Key(KEY_LEFT);
    EXPECT_EQ(FocusedId(), 9);
    Key(KEY_ENTER);
    EXPECT_EQ(listener->heard.back(), "DePress 9");
}

}  // namespace
