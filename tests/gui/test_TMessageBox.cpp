#include <gtest/gtest.h>

#include "gui/DrawWrappedText.h"
#include "gui/LayoutTestSupport.h"
#include "gui/TMessageBox.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;
using guitest::LayoutTest;

const char* const kLayout = R"(<window id="messagebox" size="420 280" pos="-1 -1"/>
    <button id="button_1" window_id="messagebox" image="IMG_BTN"/>
    <button id="button_2" window_id="messagebox" image="IMG_BTN"/>)";

class MessageBoxTest : public LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        Layout(kLayout);
    }
    MessageBoxPtr Ask(int buttons, const std::string& text = "Leave?") {
        return OpenMessageBox(listener, text, buttons, "Yes", "No");
    }
};

TEST_F(MessageBoxTest, KeysAnswerAsTheButtonsDo) {
    struct Case {
        int buttons, key;
        std::vector<std::string> heard;
    } cases[] = {
        {1, KEY_ESCAPE, {}},
        {1, KEY_ENTER, {"DePress 15001"}},
        {2, KEY_ESCAPE, {"DePress 15002"}},
        {2, KEY_ENTER, {"DePress 15001"}},
    };
    for (const Case& c : cases) {
        WidgetManager = std::make_shared<TWidgetmanager>();
        listener->heard.clear();
        MessageBoxPtr box = Ask(c.buttons);
        Frame();
        Key(c.key);
        Frame();
        EXPECT_EQ(listener->heard, c.heard) << c.buttons << " buttons, key " << c.key;
        EXPECT_EQ(WidgetManager->Contains(box.get()), c.heard.empty()) << "answered boxes close";
    }
}

TEST_F(MessageBoxTest, ButtonsAnswerAndSitSideBySideUnderTheText) {
    MessageBoxPtr box = Ask(2);
    // One line of text (16 high): the buttons' top is 16 + 160 below the box's
    // top, and the box is centred at that height (290), not the layout's 280.
    EXPECT_FLOAT_EQ(box->_x, 190);
    EXPECT_FLOAT_EQ(box->_y, 155);
    EXPECT_EQ(box->_height, 16 + 160 + 44 + 70);
    ASSERT_TRUE(box->Button_1 && box->Button_2);
    EXPECT_EQ(box->Button_1->Label, "Yes");
    EXPECT_EQ(box->Button_2->Label, "No");
    EXPECT_FLOAT_EQ(box->Button_1->_x, 190 + 210 - 145);
    EXPECT_FLOAT_EQ(box->Button_2->_x, 190 + 210 + 5);
    EXPECT_FLOAT_EQ(box->Button_1->_y, 155 + 176);
    EXPECT_FLOAT_EQ(box->Button_2->_y, 155 + 176);

    Click(static_cast<int>(box->Button_2->_x) + 20, 350);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"DePress 15002"}));
    EXPECT_TRUE(WidgetManager->WidgetsList.empty()) << "the box leaves with its buttons";

    listener->heard.clear();
    box = Ask(1);
    EXPECT_FLOAT_EQ(box->Button_1->_x, 190 + 210 - 72) << "one button: centred";
    EXPECT_FALSE(box->Button_2);
    Click(static_cast<int>(box->Button_1->_x) + 20, 350);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"DePress 15001"}));
}

// A long question wraps within the box less 100 pixels and pushes the
// buttons down; the text is drawn from 100 pixels below the box's top.
TEST_F(MessageBoxTest, LongTextGrowsTheBox) {
    // "aaaaa " is 55 pixels: five words to a 320-pixel line, so 15 words make 3 lines.
    std::string text;
    for (int i = 0; i < 15; ++i) text += i ? " aaaaa" : "aaaaa";
    MessageBoxPtr box = Ask(2, text);
    SetFont(font);
    ASSERT_EQ(DrawWrappedText(0, 0, text, 320, 1, 0), 48);
    EXPECT_EQ(box->_height, 48 + 160 + 44 + 70);
    EXPECT_FLOAT_EQ(box->_y, 300 - box->_height / 2) << "centred at the grown height";
    EXPECT_FLOAT_EQ(box->Button_1->_y, box->_y + 48 + 160);

    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    const int top = static_cast<int>(box->_y) + 100;
    // Each line is 270 wide (five words, four spaces), centred on x 400.
    for (int line = 0; line < 3; ++line) {
        const int y = top + 16 * line + 8;
        EXPECT_GT(guitest::LitPixels(shot, 265, y, 270, 1), 150) << "line " << line;
        EXPECT_EQ(guitest::LitPixels(shot, 240, y, 20, 1), 0) << "line " << line;
    }
    EXPECT_EQ(guitest::LitPixels(shot, 265, top + 48 + 4, 270, 1), 0) << "no fourth line";
}

// The box is out of the widget manager before its listener hears the answer,
// so the listener may ask again at once.
class AskingAgain : public guitest::Listener {
    TOTEM_CLASS(AskingAgain)
    void DePress(int id) override {
        guitest::Listener::DePress(id);
        listed = WidgetManager->Contains(first.get());
        if (!second) second = OpenMessageBox(weak_from_this().lock(), "Sure?", 2, "Yes", "No");
    }
    MessageBoxPtr first, second;
    bool listed = true;
};

TEST_F(MessageBoxTest, ListenerMayAskAgainAtOnce) {
    auto asker = std::make_shared<AskingAgain>();
    asker->first = OpenMessageBox(asker, "Leave?", 2, "Yes", "No");
    Frame();
    Key(KEY_ESCAPE);
    EXPECT_FALSE(asker->listed);
    ASSERT_TRUE(asker->second);
    EXPECT_EQ(WidgetManager->TopModalWidget, asker->second);
    Frame(2);
    EXPECT_EQ(asker->heard, (std::vector<std::string>{"DePress 15002"})) << "the old Escape is spent";
    Key(KEY_ENTER);
    EXPECT_EQ(asker->heard, (std::vector<std::string>{"DePress 15002", "DePress 15001"}));
    EXPECT_TRUE(WidgetManager->WidgetsList.empty());
}

TEST_F(MessageBoxTest, OnlyOneAnswerAndNoStaleOne) {
    InjectKey(KEY_ENTER, true);  // pressed before the question
    InjectKey(KEY_ENTER, false);
    PollEvents();
    MessageBoxPtr box = Ask(2);
    Frame(2);
    EXPECT_TRUE(listener->heard.empty());

    // A click on the first button and Escape in the same frame.
    MoveTo(static_cast<int>(box->Button_1->_x) + 20, static_cast<int>(box->Button_1->_y) + 20);
    InjectMouseButton(1, true);
    Frame();
    InjectMouseButton(1, false);
    InjectKey(KEY_ESCAPE, true);
    InjectKey(KEY_ESCAPE, false);
    Frame(2);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"DePress 15001"}));
}

TEST_F(MessageBoxTest, MissingButtonsLeaveAWorkingBox) {
    Layout(R"(<window id="messagebox" size="420 280" pos="-1 -1"/>)");
    MessageBoxPtr box = Ask(2);
    EXPECT_FALSE(box->Button_1);
    EXPECT_FALSE(box->Button_2);
    EXPECT_EQ(box->_height, 16 + 160 + 70);
    Shot();
    Key(KEY_ESCAPE);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"DePress 15002"}));
}

}  // namespace
