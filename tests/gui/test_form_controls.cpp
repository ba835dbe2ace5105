#include <gtest/gtest.h>

#include "gui/GuiTestSupport.h"
#include "gui/TCheckbox.h"
#include "gui/TListbox.h"
#include "gui/TScrollBarH.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;
using guitest::GuiTest;
using guitest::ProbeFont;
using guitest::Solid;

// ---- Slider -----------------------------------------------------------------------

// A slider with its track 200 wide from x = 100 and a knob 20 wide, at y = 300.
class SliderTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        bar = CreateScrollBar(Solid(200, 10, 0, 0, 200), Solid(200, 10, 0, 200, 0), Solid(20, 20, 200, 0, 0), 16, 6,
                              listener);
        WidgetManager->AddWidget(bar);
        bar->SetPosition(100, 300);
    }
    ScrollBarPtr bar;
};

TEST_F(SliderTest, RectangleStartsHalfAKnobLeftOfTheTrack) {
    EXPECT_EQ(bar->Height, 20) << "the largest of 16, the track's 10 and the knob's 20";
    EXPECT_FLOAT_EQ(bar->Offset_x, 10);
    EXPECT_FLOAT_EQ(bar->_x, 90);
    EXPECT_FLOAT_EQ(bar->_y, 300);
    EXPECT_EQ(bar->_width, 210);
    EXPECT_EQ(bar->_height, 20);
}

TEST_F(SliderTest, PressingSetsTheValueAndDraggingPastTheEndKeepsTheLastOne) {
    MoveTo(105, 310);
    Press();
    Frame();  // a frame passes the mouse moves round before it delivers the press
    EXPECT_FLOAT_EQ(bar->Value, 0.05f) << "(15 - 5) / 200";
    ASSERT_FALSE(listener->values.empty());
    EXPECT_FLOAT_EQ(listener->values.back(), 0.05f);
    const size_t toldBefore = listener->values.size();
    Frame(3);  // held still: told again every frame
    EXPECT_EQ(listener->values.size(), toldBefore + 3);

    MoveTo(294, 310);  // 204 - 5 = 199 of 200
    EXPECT_FLOAT_EQ(bar->Value, 199.0f / 200);
    MoveTo(330, 310);  // beyond the end, still held
    EXPECT_FLOAT_EQ(bar->Value, 199.0f / 200);
    MoveTo(60, 310);   // and beyond the start
    EXPECT_FLOAT_EQ(bar->Value, 199.0f / 200);
    MoveTo(195, 400);  // off the control vertically still drags
    EXPECT_FLOAT_EQ(bar->Value, 0.5f);
    Release();
    MoveTo(150, 310);
    EXPECT_FLOAT_EQ(bar->Value, 0.5f) << "released: the mouse no longer moves it";
}

TEST_F(SliderTest, OnlyTheLeftButtonDragsButAnyReleaseEndsIt) {
    MoveTo(150, 310);
    Press(2);
    MoveTo(160, 310);
    EXPECT_EQ(bar->Value, 0) << "the right button does not drag";
    EXPECT_TRUE(listener->values.empty());
    Release(2);

    Press(1);
    EXPECT_EQ(bar->IsDown, 1);
    Press(2);    // the right button joins
    Release(1);  // a button is still held: no release yet
    EXPECT_EQ(bar->IsDown, 1);
    Release(2);  // the right button's release ends the drag
    EXPECT_EQ(bar->IsDown, 0);
}

TEST_F(SliderTest, TrackFillsUpToTheValueUnderTheKnob) {
    bar->Value = 0.5f;
    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    // The track's left end is at x 100, its middle at y 310; the knob covers x 190–209.
    EXPECT_TRUE(SameColour(shot->ReadPixel(120, 310), Argb(255, 0, 200, 0))) << "filled";
    EXPECT_TRUE(SameColour(shot->ReadPixel(250, 310), Argb(255, 0, 0, 200))) << "empty";
    EXPECT_TRUE(SameColour(shot->ReadPixel(200, 301), Argb(255, 200, 0, 0))) << "knob";
    EXPECT_TRUE(SameColour(shot->ReadPixel(212, 310), Argb(255, 0, 0, 200)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(120, 303), Argb(255, 0, 0, 0))) << "the track is 10 high, centred";
}

TEST_F(GuiTest, SliderWithoutATrackIgnoresDrags) {
    auto bar = CreateScrollBar(nullptr, nullptr, Solid(20, 20, 200, 0, 0), 20, 1, listener);
    WidgetManager->AddWidget(bar);
    bar->SetPosition(100, 100);
    MoveTo(100, 110);
    Press();
    MoveTo(105, 110);
    Release();
    EXPECT_EQ(bar->Value, 0);
    EXPECT_TRUE(listener->values.empty());
}

// ---- Check box --------------------------------------------------------------------

TEST_F(GuiTest, CheckBoxTogglesOnLeftReleasesOverIt) {
    auto box = CreateCheckBox(Solid(24, 24, 0, 200, 0), Solid(24, 24, 200, 0, 0), 0, 100, 100, 3, listener);
    WidgetManager->AddWidget(box);
    EXPECT_EQ(box->_width, 24);
    EXPECT_TRUE(SameColour(Shot()->ReadPixel(110, 110), Argb(255, 200, 0, 0)));
    Click(110, 110);
    EXPECT_EQ(box->Checked, 1);
    EXPECT_TRUE(SameColour(Shot()->ReadPixel(110, 110), Argb(255, 0, 200, 0)));
    Click(110, 110, 2);  // right button
    EXPECT_EQ(box->Checked, 1);
    MoveTo(110, 110);
    Press();
    MoveTo(300, 300);
    Release();  // let go elsewhere
    EXPECT_EQ(box->Checked, 1);
    Click(115, 115);
    EXPECT_EQ(box->Checked, 0);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"Checked 3 1", "Checked 3 0"}));

    box->Listener.reset();  // without a listener only the picture changes
    Click(110, 110);
    EXPECT_EQ(box->Checked, 1);
}

// ---- List box ---------------------------------------------------------------------

// Three names in rows 18 pixels high (1.8 × a 10-pixel font).
class ListTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        list = std::make_shared<TListbox>();
        list->Font = std::make_shared<ProbeFont>(10);
        list->List = {"ann", "bo", "cy"};
        list->Resize(100, 100, 200, 100);
        WidgetManager->AddWidget(list);
    }
    ListboxPtr list;
};

TEST_F(ListTest, APressSelectsTheRowUnderTheMouse) {
    struct Case {
        int below;     // pixels below the list's top
        int selected;  // afterwards, starting from row 1
    } cases[] = {{5, 1}, {20, 2}, {40, 3}, {53, 3}, {60, 1}, {99, 1}};
    for (const Case& c : cases) {
        list->Selected = 1;
        Click(150, 100 + c.below);
        EXPECT_EQ(list->Selected, c.selected) << c.below << " below the top";
        MoveTo(600, 500);
    }
    Click(150, 120, 2);
    EXPECT_EQ(list->Selected, 1) << "the right button selects nothing";
}

// A list font taller than the spaced rows sets the row height itself.
TEST_F(ListTest, RowsGrowWithATallFont) {
    list->Font = std::make_shared<ProbeFont>(30);
    EXPECT_FLOAT_EQ(list->RowHeight(), 30);
    Click(150, 100 + 40);
    EXPECT_EQ(list->Selected, 2);
    Click(150, 100 + 61);
    EXPECT_EQ(list->Selected, 3);
}

TEST_F(ListTest, SelectionFollowsTheMouseWhileHeld) {
    MoveTo(150, 105);
    Press();
    MoveTo(150, 124);
    MoveTo(150, 142);
    EXPECT_EQ(list->Selected, 3);
    MoveTo(150, 170);  // below the last row: stays
    EXPECT_EQ(list->Selected, 3);
    Release();
}

TEST_F(ListTest, RowsAreCentredAndTheSelectedOneIsLit) {
    list->Selected = 2;
    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    // "bo" is 20 wide: x 190–209, centred in its 18-pixel row (y 118–136) at 122–131.
    EXPECT_EQ(guitest::LitPixels(shot, 190, 122, 20, 10), 200);
    EXPECT_EQ(guitest::LitPixels(shot, 189, 122, 1, 10), 0);
    const uint32_t highlight = shot->ReadPixel(150, 119), plain = shot->ReadPixel(150, 101);
    EXPECT_GT(highlight & 0xFF, 40u) << "a fifth of white over black";
    EXPECT_LT(highlight & 0xFF, 60u);
    EXPECT_TRUE(SameColour(plain, Argb(255, 0, 0, 0)));
    list->Selected = 7;  // past the end after names were removed: nothing lit
    EXPECT_TRUE(SameColour(Shot()->ReadPixel(150, 119), Argb(255, 0, 0, 0)));
}

}  // namespace
