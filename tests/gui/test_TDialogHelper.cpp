#include <gtest/gtest.h>

#include <cstdint>

#include "gui/LayoutTestSupport.h"
#include "gui/TDialogHelper.h"
#include "gui/TImageWidget.h"
#include "gui/TLabel.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;
using guitest::LayoutTest;

// A dialog that asks for the controls a test names, the way real dialogs do:
// from its AddedToManager, before the loader places it.
class AskingDialog : public TDialog {
    TOTEM_CLASS(AskingDialog)
    std::vector<std::string> buttons;
    std::string scrollBar, checkBox;
    bool statics = true;

    std::vector<ButtonPtr> found;
    ScrollBarPtr bar;
    CheckboxPtr box;
    std::vector<int> pressed;

    void AddedToManager() override {
        for (size_t i = 0; i < buttons.size(); ++i) found.push_back(LoadButton(*this, buttons[i], int(i) + 1, 1));
        if (!scrollBar.empty()) bar = LoadScrollBar(*this, scrollBar, 6, 1);
        if (!checkBox.empty()) box = LoadCheckBox(*this, checkBox, 3, 1, 1);
        if (statics) LoadStatics(*this, "");
        TDialog::AddedToManager();
    }
    void DePress(int id) override { pressed.push_back(id); }
};

std::shared_ptr<AskingDialog> Open(const std::string& id, std::vector<std::string> buttons = {}) {
    auto dialog = std::make_shared<AskingDialog>();
    dialog->id = id;
    dialog->buttons = std::move(buttons);
    LoadWindow(dialog);
    return dialog;
}

TEST_F(LayoutTest, WindowAndButtonComeFromTheLayout) {
    Layout(R"(<window id="w" size="300 200" pos="50 60"/>
              <button id="ok" window_id="w" image="IMG_BTN" image_over="IMG_OVER" image_press="IMG_PRESS"
                      text="30" pos="150 120" x_centered="1"/>)");
    auto dialog = Open("w", {"ok"});
    EXPECT_EQ(WidgetManager->TopModalWidget, dialog);
    EXPECT_FLOAT_EQ(dialog->_x, 50);
    EXPECT_FLOAT_EQ(dialog->_y, 60);
    EXPECT_EQ(dialog->_width, 300);
    EXPECT_EQ(dialog->_height, 200);
    EXPECT_EQ(dialog->Tile_Width, 16) << "the game's frame, cut in nine";
    EXPECT_EQ(dialog->Tile_Up, IMAGE_DIALOG_UP);

    ButtonPtr ok = dialog->found.at(0);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->x, 80) << "150 less half of 140";
    EXPECT_FLOAT_EQ(ok->_x, 130);
    EXPECT_FLOAT_EQ(ok->_y, 180);
    EXPECT_EQ(ok->_width, 140);
    EXPECT_EQ(ok->Label, "OK");
    EXPECT_EQ(ok->Font, FONT_MENU);
    EXPECT_TRUE(ok->OverImage && ok->DownImage);
    EXPECT_EQ(ok->TranslateX, 1);
    EXPECT_EQ(ok->TranslateY, 2);
    EXPECT_EQ(dialog->Widgets.size(), 1u);

    // Drawn over its dialog, and the dialog hears its click.
    EXPECT_TRUE(SameColour(Shot()->ReadPixel(140, 190), Argb(255, 0, 0, 200)));
    Click(150, 200);
    EXPECT_EQ(dialog->pressed, (std::vector<int>{1}));
}

TEST_F(LayoutTest, WindowPositionRules) {
    struct Case {
        const char* attributes;
        float x, y;
    } cases[] = {
        {R"(size="300 200" pos="-1 -1")", 250, 200},
        {R"(size="300 200")", 250, 200},
        {R"(size="300 200" pos="-1 0")", -1, 0},
        {R"(size="300 200" pos="  10    20  ")", 10, 20},
        {R"(pos="-1 -1")", 350, 275},  // keeps its own 100×50
    };
    for (const Case& c : cases) {
        WidgetManager = std::make_shared<TWidgetmanager>();
        Layout(std::string("<window id=\"w\" ") + c.attributes + "/>");
        auto dialog = std::make_shared<AskingDialog>();
        dialog->id = "w";
        dialog->Resize(0, 0, 100, 50);
        LoadWindow(dialog);
        EXPECT_FLOAT_EQ(dialog->_x, c.x) << c.attributes;
        EXPECT_FLOAT_EQ(dialog->_y, c.y) << c.attributes;
    }
}

// A damaged layout's numbers far off any screen: sizes and places stop at a
// million pixels or so, where a dialog's place plus a control's still fits.
TEST_F(LayoutTest, SizesAndPositionsFarOffTheScreenAreHeldToALimit) {
    Layout(R"(<window id="w" size="1e39 3e9" pos="-5e9 7e20"/>
              <button id="b" window_id="w" image="IMG_BTN" pos="4e9 -4e9"/>)");
    auto dialog = Open("w", {"b"});
    const int limit = 1 << 20;
    EXPECT_EQ(dialog->_width, limit);
    EXPECT_EQ(dialog->_height, limit);
    EXPECT_FLOAT_EQ(dialog->_x, static_cast<float>(-limit));
    EXPECT_FLOAT_EQ(dialog->_y, static_cast<float>(limit));
    ButtonPtr b = dialog->found.at(0);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->x, limit);
    EXPECT_EQ(b->y, -limit);
    EXPECT_FLOAT_EQ(b->_x, 0.0f) << "the dialog's place plus the button's";
}

TEST_F(LayoutTest, WhichControlElementIsFound) {
    Layout(R"(<window id="a" size="300 200" pos="0 0"/>
              <window id="b" size="300 200" pos="0 0"/>
              <button id="same" image="IMG_BTN" pos="10 0"/>
              <button id="same" image="IMG_BTN" pos="20 0"/>
              <button id="only_a" window_id="a" image="IMG_BTN" pos="30 0"/>
              <Button id="capital" image="IMG_BTN" pos="40 0"/>
              <CheckBox id="box" window_id="a" image_checked="IMG_KNOB" pos="50 0"/>
              <ScrollBarH id="bar" window_id="a" image_empty="IMG_TRACK" image_marker="IMG_KNOB" pos="60 0"/>)");
    struct Case {
        const char* window;
        const char* button;
        int x;  // -1: not found
    } cases[] = {
        {"", "same", 10},     // the first of two in document order
        {"a", "same", -1},    // without window_id it belongs to no named window
        {"a", "only_a", 30},
        {"b", "only_a", -1},
        {"", "only_a", 30},   // a window without a name takes any
        {"", "capital", -1},  // "button" is matched exactly
        {"", "nothing", -1},
    };
    for (const Case& c : cases) {
        WidgetManager = std::make_shared<TWidgetmanager>();
        auto dialog = Open(c.window, {c.button});
        ButtonPtr b = dialog->found.at(0);
        EXPECT_EQ(b ? b->x : -1, c.x) << "button \"" << c.button << "\" for window \"" << c.window << "\"";
        EXPECT_EQ(dialog->Widgets.size(), b ? 1u : 0u) << "nothing is made for a name the layout lacks";
    }

    // Check boxes and scroll bars are matched in any case.
    WidgetManager = std::make_shared<TWidgetmanager>();
    auto dialog = std::make_shared<AskingDialog>();
    dialog->id = "a";
    dialog->checkBox = "box";
    dialog->scrollBar = "bar";
    LoadWindow(dialog);
    ASSERT_TRUE(dialog->box);
    EXPECT_EQ(dialog->box->x, 50);
    EXPECT_EQ(dialog->box->Checked, 1);
    EXPECT_EQ(dialog->box->_width, 20);
    ASSERT_TRUE(dialog->bar);
    EXPECT_EQ(dialog->bar->x, 60);
    EXPECT_FLOAT_EQ(dialog->bar->_x, 50) << "the track starts at 60, the control half a knob before";
    EXPECT_EQ(dialog->bar->ID, 6);
}

TEST_F(LayoutTest, LabelsAndImagesOfAWindow) {
    Layout(R"(<window id="w" size="600 400" pos="100 50"/>
              <label window_id="w" id="title" text="96" font="FONT_T" pos="400 100" x_centered="1" color="255 0 0 1"/>
              <label window_id="w" text="30" pos="10 20"/>
              <image window_id="w" id="head" image="IMG_HEAD" pos="300 10" x_centered="1"/>
              <image window_id="w" image="IMG_NONE" pos="0 0"/>
              <label window_id="other" text="30" pos="5 5"/>
              <image window_id="other" image="IMG_HEAD" pos="7 8"/>)");
    testing::internal::CaptureStdout();
    auto dialog = Open("w");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("IMAGE TO WIDGET NOT FOUND: IMG_NONE\n"), std::string::npos) << out;

    ASSERT_EQ(dialog->Widgets.size(), 3u) << "two labels and the one image that was found";
    auto title = std::dynamic_pointer_cast<TLabel>(dialog->Widgets[0]);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->x, 340) << "400 less half of 120";
    EXPECT_FLOAT_EQ(title->_x, 440);
    EXPECT_FLOAT_EQ(title->_y, 150);
    EXPECT_EQ(title->text, "abcdefghijkl");
    EXPECT_EQ(title->XMLText, title->text);
    EXPECT_EQ(title->id, "title");
    EXPECT_EQ(title->Font, font);
    ASSERT_TRUE(title->LabelColor);
    EXPECT_EQ(title->LabelColor->r, 255);
    auto plain = std::dynamic_pointer_cast<TLabel>(dialog->Widgets[1]);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->LabelColor) << "no colour: drawn in the current one";
    EXPECT_FALSE(plain->Font);
    auto head = std::dynamic_pointer_cast<TImageWidget>(dialog->Widgets[2]);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->id, "head");
    EXPECT_EQ(head->x, 250);
    EXPECT_FLOAT_EQ(head->_x, 350);
    EXPECT_EQ(head->_width, 100);
    EXPECT_EQ(head->_height, 30);

    // Another window's statics can be pulled in by name.
    LoadStatics(*dialog, "other");
    ASSERT_EQ(dialog->Widgets.size(), 5u);
    EXPECT_FLOAT_EQ(dialog->Widgets[4]->_x, 107);
    EXPECT_FLOAT_EQ(dialog->Widgets[4]->_y, 58);
    // The red title is drawn on the frame.
    PicturePtr shot = Shot();
    EXPECT_TRUE(SameColour(shot->ReadPixel(445, 155), Argb(255, 254, 0, 0)));
}

// A dialog whose layout is missing (or whose control is) still opens,
// centred at its own size with the game's frame, and can be closed.
TEST_F(LayoutTest, WithoutALayoutDialogsOpenCentredAndEmpty) {
    struct Case {
        const char* what;
        void (*make)();
    } cases[] = {
        {"no gui.xml", [] { GuiDocument = XmlLoad("no/such/folder/gui.xml"); }},
        {"unreadable gui.xml",
         [] {
             const std::string junk = "\x01\x02 <<<< not xml";
             GuiDocument = XmlLoad(OpenMemory(std::vector<uint8_t>(junk.begin(), junk.end()), "junk"));
         }},
        {"a layout without the window", [] { Layout(R"(<window id="other" size="10 10"/>)"); }},
    };
    for (const Case& c : cases) {
        WidgetManager = std::make_shared<TWidgetmanager>();
        c.make();
        auto dialog = std::make_shared<AskingDialog>();
        dialog->id = "w";
        dialog->buttons = {"ok"};
        dialog->Resize(0, 0, 200, 100);
        LoadWindow(dialog);
        EXPECT_FALSE(dialog->found.at(0)) << c.what;
        EXPECT_TRUE(dialog->Widgets.empty()) << c.what;
        EXPECT_FLOAT_EQ(dialog->_x, 300) << c.what;
        EXPECT_FLOAT_EQ(dialog->_y, 250) << c.what;
        EXPECT_TRUE(dialog->Image) << c.what;
        EXPECT_TRUE(SameColour(Shot()->ReadPixel(400, 300), Argb(255, 90, 60, 30))) << c.what;
        Click(400, 300);
        WidgetManager->RemoveWidget(dialog);
        EXPECT_TRUE(WidgetManager->WidgetsList.empty()) << c.what;
    }
}

}  // namespace
