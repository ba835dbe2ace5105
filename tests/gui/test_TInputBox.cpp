#include <gtest/gtest.h>

#include <variant>

#include "gui/LayoutTestSupport.h"
#include "gui/TInputBox.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;
using guitest::LayoutTest;

const char* const kLayout = R"(<window id="window_inputbox" size="480 280" pos="-1 -1"/>
    <label window_id="window_inputbox" text="96" pos="10 10"/>
    <button id="ok" window_id="window_inputbox" image="IMG_BTN" pos="240 204" x_centered="1"/>)";

class InputBoxTest : public LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        Layout(kLayout);
    }
    // Frames until the box has answered (it takes one typed character a frame).
    void FramesUntilAnswered() {
        for (int i = 0; i < 60 && listener->heard.empty(); ++i) Frame();
    }
};

// What the player does: text typed (UTF-8) or a key pressed.
using Stroke = std::variant<const char*, int>;

void Inject(const Stroke& s) {
    if (const auto* text = std::get_if<const char*>(&s)) {
        InjectText(*text);
    } else {
        InjectKey(std::get<int>(s), true);
        InjectKey(std::get<int>(s), false);
    }
}

TEST_F(InputBoxTest, TypingEditingAndFinishing) {
    struct Case {
        const char* what;
        std::vector<Stroke> strokes;
        const char* reported;
    } cases[] = {
        {"backspace takes the last letter back", {"A", "B", KEY_BACKSPACE, "D", KEY_ENTER}, "AD"},
        {"Escape reports nothing, whatever was typed", {"AB", KEY_ESCAPE}, ""},
        {"characters the font lacks are dropped", {"A\u20ac\u03a9\u00c4b", KEY_ENTER}, "Ab"},
        {"Latin-1 letters arrive", {"\u00e9\u00eb\u00df", KEY_ENTER}, "\u00e9\u00eb\u00df"},
        {"backspace removes a whole accented letter", {"x\u00e9", KEY_BACKSPACE, "e", KEY_ENTER}, "xe"},
        {"backspace on nothing leaves nothing", {KEY_BACKSPACE, "z", KEY_ENTER}, "z"},
        {"spaces are letters too", {"Jo Bo", KEY_ENTER}, "Jo Bo"},
    };
    for (const Case& c : cases) {
        WidgetManager = std::make_shared<TWidgetmanager>();
        listener->heard.clear();
        InputBoxPtr box = OpenInputBox(listener);
        for (const Stroke& s : c.strokes) Inject(s);
        FramesUntilAnswered();
        EXPECT_EQ(listener->heard, (std::vector<std::string>{std::string("Input 0 \"") + c.reported + "\""}))
            << c.what;
        EXPECT_FALSE(WidgetManager->Contains(box.get())) << c.what;
    }
}

// The key that answered the box answers nothing else: a dialog under the box
// that reads Enter or Escape (the profiles do) must not see it once it is
// updated again.
TEST_F(InputBoxTest, TheKeyThatAnswersIsNotLeftForTheDialogUnderneath) {
    for (int key : {KEY_ENTER, KEY_ESCAPE}) {
        SCOPED_TRACE(key);
        WidgetManager = std::make_shared<TWidgetmanager>();
        listener->heard.clear();
        OpenInputBox(listener);
        Inject("Al");
        Inject(key);
        FramesUntilAnswered();
        ASSERT_EQ(listener->heard.size(), 1u);
        EXPECT_EQ(KeyHitCount(key), 0);
    }
}

TEST_F(InputBoxTest, OneCharacterAFrameAndTheOkButtonFinishes) {
    InputBoxPtr box = OpenInputBox(listener);
    InjectText("Kim");
    Frame();
    EXPECT_EQ(box->Name, "K");
    Frame(2);
    EXPECT_EQ(box->Name, "Kim");
    ASSERT_TRUE(box->Button_OK);
    Click(static_cast<int>(box->Button_OK->_x) + 10, static_cast<int>(box->Button_OK->_y) + 10);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"Input 0 \"Kim\""}));
}

TEST_F(InputBoxTest, TextTypedBeforeTheBoxOpenedIsNotPartOfTheName) {
    InjectText("xcvnm");
    InjectKey(KEY_ENTER, true);
    PollEvents();
    InputBoxPtr box = OpenInputBox(listener);
    Frame(8);
    EXPECT_EQ(box->Name, "");
    EXPECT_TRUE(listener->heard.empty());
}

// The name stops growing where it would leave its field: the field is three
// times fourteen "W" of the built-in font (6 pixels each) wide, 252 pixels,
// kept 6 pixels clear at each end; 23 letters of 10 plus the 8-pixel caret fit.
TEST_F(InputBoxTest, NameStopsWhereItWouldLeaveItsField) {
    InputBoxPtr box = OpenInputBox(listener);
    const TInputBox::Field field = box->TextField();
    EXPECT_EQ(field.w, 252);
    EXPECT_EQ(field.h, 30);
    InjectText(std::string(30, 'a'));
    Frame(30);
    EXPECT_EQ(box->Name, std::string(23, 'a'));
    InjectKey(KEY_BACKSPACE, true);
    InjectText("bc");
    Frame(3);
    EXPECT_EQ(box->Name, std::string(22, 'a') + "b") << "room again after a backspace";
}

TEST_F(InputBoxTest, CaretAndFieldAreDrawnEvenWithNothingTyped) {
    InputBoxPtr box = OpenInputBox(listener);
    font->drawn.clear();
    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    ASSERT_FALSE(font->drawn.empty());
    const auto& caret = font->drawn.back();
    EXPECT_EQ(std::string(caret.text), "_");
    EXPECT_FLOAT_EQ(caret.x, 240 - 4) << "centred in the 480-pixel box";
    EXPECT_FLOAT_EQ(caret.y, 140 - 8);
    // The field (x 114–365, y 125–154 in the box) darkens the frame by half.
    const int bx = static_cast<int>(box->_x), by = static_cast<int>(box->_y);
    EXPECT_TRUE(SameColour(shot->ReadPixel(bx + 116, by + 127), Argb(255, 45, 30, 15)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(bx + 112, by + 127), Argb(255, 90, 60, 30)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(bx + 240, by + 140), Argb(255, 255, 255, 255))) << "the caret";
}

// The box is gone before the listener hears the name, so a listener that
// got no name may ask again at once.
class AskingAgain : public guitest::Listener {
    TOTEM_CLASS(AskingAgain)
    void InputFinished(int id, const std::string& text) override {
        guitest::Listener::InputFinished(id, text);
        listed = WidgetManager->Contains(first.get());
        if (text.empty()) second = OpenInputBox(weak_from_this().lock());
    }
    InputBoxPtr first, second;
    bool listed = true;
};

TEST_F(InputBoxTest, ListenerMayAskAgainAtOnce) {
    auto asker = std::make_shared<AskingAgain>();
    asker->first = OpenInputBox(asker);
    Key(KEY_ESCAPE);
    EXPECT_FALSE(asker->listed);
    ASSERT_TRUE(asker->second);
    EXPECT_EQ(WidgetManager->TopModalWidget, asker->second);
    InjectText("Ada");
    Key(KEY_ENTER);
    Frame(4);
    EXPECT_EQ(asker->heard, (std::vector<std::string>{"Input 0 \"\"", "Input 0 \"Ada\""}));
}

}  // namespace
