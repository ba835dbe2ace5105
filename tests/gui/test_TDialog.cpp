#include <gtest/gtest.h>

#include "gui/GuiTestSupport.h"
#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"
#include "gui/TLabel.h"
#include "gui/NinePartTestSupport.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;
using guitest::GuiTest;
using guitest::Solid;

using ninepart::kPart;
using ninepart::NinePartSource;
using ninepart::PartPixel;

int Part(uint32_t argb) { return (int((argb >> 16) & 0xFF) - 20 + 12) / 25; }

class DialogTest : public GuiTest {
protected:
    DialogPtr AddDialog(int x, int y, int w, int h) {
        auto dialog = std::make_shared<TDialog>();
        dialog->SetImage(NinePartSource());
        dialog->Resize(x, y, w, h);
        WidgetManager->AddWidget(dialog);
        return dialog;
    }
};

// 300×200 with 16-pixel parts: corners reach one pixel toward the inside, the
// top edge and centre span 268 pixels, the centre 168 rows.
TEST_F(DialogTest, FrameOf300By200) {
    AddDialog(100, 80, 300, 200);
    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    struct Probe {
        int x, y, part;
    } probes[] = {
        {100, 80, 0},  {115, 95, 0},  {116, 80, 1},  {383, 80, 1},  {384, 80, 2},  {399, 95, 2},
        {100, 96, 3},  {100, 263, 3}, {116, 96, 4},  {383, 263, 4}, {399, 96, 5},  {399, 263, 5},
        {100, 264, 6}, {115, 279, 6}, {116, 279, 7}, {383, 279, 7}, {384, 264, 8}, {399, 279, 8},
    };
    for (const Probe& p : probes) EXPECT_EQ(Part(shot->ReadPixel(p.x, p.y)), p.part) << p.x << "," << p.y;
    for (auto [x, y] : {std::pair{99, 150}, {400, 150}, {250, 79}, {250, 280}})
        EXPECT_TRUE(SameColour(shot->ReadPixel(x, y), Argb(255, 0, 0, 0))) << x << "," << y;
}

// 20×20: the corners shrink to half the dialog; nothing else is drawn.
TEST_F(DialogTest, FrameOf20By20UsesHalfCorners) {
    AddDialog(200, 150, 20, 20);
    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    struct Probe {
        int dx, dy, part, px, py;
    } probes[] = {{9, 5, 0, 9, 5}, {10, 5, 2, 6, 5}, {5, 10, 6, 5, 6}, {15, 15, 8, 11, 11}, {19, 19, 8, 15, 15}};
    for (const Probe& p : probes)
        EXPECT_TRUE(SameColour(shot->ReadPixel(200 + p.dx, 150 + p.dy), PartPixel(p.part, p.px, p.py)))
            << p.dx << "," << p.dy;
}

TEST_F(DialogTest, OrnamentsOnlyOnEdgesLongerThanTwoParts) {
    const uint32_t gold = Argb(255, 250, 200, 0);
    for (auto [w, shown] : {std::pair{300, true}, {32, false}, {33, true}}) {
        WidgetManager = std::make_shared<TWidgetmanager>();
        DialogPtr dialog = AddDialog(100, 100, w, 200);
        dialog->Tile_Up = Solid(10, 10, 250, 200, 0);
        CentreImageHandle(dialog->Tile_Up);
        PicturePtr shot = Shot();
        // Placed at half the width less half its own, then moved by its
        // centred handle: x from w / 2 - 10, half of it above the dialog.
        EXPECT_EQ(SameColour(shot->ReadPixel(100 + w / 2 - 5, 97), gold), shown) << "width " << w;
    }
}

TEST_F(DialogTest, ChildrenMoveWithTheDialog) {
    DialogPtr dialog = AddDialog(0, 0, 300, 200);
    auto button = CreateButton(0, 0, Solid(40, 20, 0, 0, 250), "", 1, dialog, 0, 0);
    button->x = 30;
    button->y = 40;
    auto label = std::make_shared<TLabel>();
    label->x = 5;
    label->y = 6;
    dialog->Widgets = {button, label};
    WidgetManager->AddWidget(button);
    WidgetManager->AddWidget(label);

    dialog->SetPosition(100, 50);
    EXPECT_FLOAT_EQ(button->_x, 130);
    EXPECT_FLOAT_EQ(button->_y, 90);
    EXPECT_FLOAT_EQ(label->_x, 105);
    EXPECT_FLOAT_EQ(label->_y, 56);
    EXPECT_TRUE(SameColour(Shot()->ReadPixel(131, 91), Argb(255, 0, 0, 250))) << "drawn over the frame";

    dialog->Resize(421, 201, 421, 201);
    dialog->CenterToScreen();
    EXPECT_FLOAT_EQ(dialog->_x, 190) << "400 - 421 / 2";
    EXPECT_FLOAT_EQ(dialog->_y, 200) << "300 - 201 / 2";
    EXPECT_FLOAT_EQ(button->_x, 220);
    EXPECT_FLOAT_EQ(button->_y, 240);

    // Removing the dialog takes its children with it.
    WidgetManager->RemoveWidget(dialog);
    EXPECT_TRUE(WidgetManager->WidgetsList.empty());
}

// Behind a modal dialog nothing hears the mouse; once it is gone they do.
TEST_F(DialogTest, WidgetsBehindAModalDialogGetNoInput) {
    auto behind = CreateButton(10, 10, Solid(60, 30, 0, 0, 250), "", 2, listener, 0, 0);
    WidgetManager->AddWidget(behind);
    DialogPtr dialog = AddDialog(200, 200, 300, 200);
    EXPECT_EQ(dialog->Modal, 1);
    auto inside = CreateButton(250, 250, Solid(60, 30, 0, 0, 250), "", 3, listener, 0, 0);
    dialog->Widgets.push_back(inside);
    WidgetManager->AddWidget(inside);

    Click(30, 20);
    Frame(3);
    EXPECT_TRUE(listener->heard.empty());
    EXPECT_EQ(behind->OverAlpha, 0) << "not even updated";
    Click(270, 260);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"Enter 3", "DePress 3"}));

    listener->heard.clear();
    WidgetManager->RemoveWidget(dialog);
    Click(30, 20);
    // The dialog's button, gone with it, still hears the mouse leave it.
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"Leave 3", "Enter 2", "DePress 2"}));
}

}  // namespace
