#include <gtest/gtest.h>

#include "core/TGraphicsState.h"
#include "gui/DialogFrame.h"
#include "media/Graphics.h"
#include "media/GraphicsTestSupport.h"
#include "gui/NinePartTestSupport.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;

using ninepart::kPart;
using ninepart::NinePartSource;
using ninepart::PartPixel;

int Mod(int a, int m) { return ((a % m) + m) % m; }

class DialogFrameTest : public gfxtest::DisplayTest {
protected:
    PicturePtr Draw(const DialogFrame& frame, int x, int y, int w, int h) {
        SetClsColor(0, 0, 0);
        Cls();
        PushDrawState();
        SetOrigin(float(x), float(y));  // as the widget manager does for a widget
        DrawDialogFrame(frame, float(x), float(y), w, h);
        PopDrawState();
        return GrabFrame();
    }
};

TEST_F(DialogFrameTest, CutsTheSourceIntoNinePartsRowByRow) {
    DialogFrame frame;
    SetDialogFrameImage(frame, NinePartSource());
    ASSERT_TRUE(frame.Image);
    EXPECT_EQ(frame.Tile_Width, kPart);
    EXPECT_EQ(frame.Tile_Height, kPart);
    ASSERT_EQ(frame.Image->FrameCount(), 9);
    for (int k = 0; k < 9; ++k) {
        PicturePtr part = LockImage(frame.Image, k);
        EXPECT_EQ(part->ReadPixel(0, 0), PartPixel(k, 0, 0)) << "part " << k;
        EXPECT_EQ(part->ReadPixel(7, 12), PartPixel(k, 7, 12)) << "part " << k;
        UnlockImage(frame.Image, k);
    }
    SetDialogFrameImage(frame, nullptr);
    EXPECT_FALSE(frame.Image);
    EXPECT_EQ(frame.Tile_Width, 0);
}

// A 300×200 dialog at (100, 80): every region shows its part, and the tiled
// ones repeat from the anchor they belong to.
TEST_F(DialogFrameTest, EachRegionShowsItsPartTiledFromItsAnchor) {
    DialogFrame frame;
    SetDialogFrameImage(frame, NinePartSource());
    const int X = 100, Y = 80, W = 300, H = 200;
    PicturePtr shot = Draw(frame, X, Y, W, H);
    ASSERT_TRUE(shot);

    struct Sample {
        const char* what;
        int sx, sy, part;
        int anchorX, anchorY;  // screen position of a copy's top-left corner
    };
    const Sample samples[] = {
        {"top-left corner", X + 5, Y + 9, 0, X, Y},
        {"top edge", X + 150, Y + 3, 1, X, Y},
        {"top-right corner", X + W - 2, Y + 4, 2, X + W - kPart, Y},
        {"left edge", X + 2, Y + 101, 3, X, Y},
        {"centre", X + 150, Y + 100, 4, X, Y},
        {"right edge", X + W - 5, Y + 97, 5, X + W - kPart, Y},
        {"bottom-left corner", X + 3, Y + H - 1, 6, X, Y + H - kPart},
        {"bottom edge", X + 201, Y + H - 5, 7, X, Y + H - kPart},
        {"bottom-right corner", X + W - 1, Y + H - 1, 8, X + W - kPart, Y + H - kPart},
    };
    for (const Sample& s : samples)
        EXPECT_TRUE(SameColour(shot->ReadPixel(s.sx, s.sy),
                               PartPixel(s.part, Mod(s.sx - s.anchorX, kPart), Mod(s.sy - s.anchorY, kPart))))
            << s.what;
    // Nothing outside the dialog.
    for (auto [sx, sy] : {std::pair{X - 1, Y + 50}, {X + W, Y + 50}, {X + 50, Y - 1}, {X + 50, Y + H}})
        EXPECT_TRUE(SameColour(shot->ReadPixel(sx, sy), Argb(255, 0, 0, 0))) << sx << "," << sy;
}

// Narrower than three parts: the corners shrink to half the dialog each, the
// later-drawn right and bottom corners winning the shared middle pixel, and
// no edge or centre is drawn.
TEST_F(DialogFrameTest, SmallDialogUsesHalfSizedCorners) {
    DialogFrame frame;
    SetDialogFrameImage(frame, NinePartSource());
    const int X = 200, Y = 150;
    PicturePtr shot = Draw(frame, X, Y, 20, 20);
    ASSERT_TRUE(shot);
    struct Sample {
        int dx, dy, part, px, py;
    };
    const Sample samples[] = {
        {9, 5, 0, 9, 5},      // top-left, drawn at (0, 0)
        {10, 5, 2, 6, 5},     // top-right, drawn at (4, 0), takes column 10
        {5, 10, 6, 5, 6},     // bottom-left, drawn at (0, 4), takes row 10
        {15, 15, 8, 11, 11},  // bottom-right, drawn at (4, 4)
    };
    for (const Sample& s : samples)
        EXPECT_TRUE(SameColour(shot->ReadPixel(X + s.dx, Y + s.dy), PartPixel(s.part, s.px, s.py)))
            << "at " << s.dx << "," << s.dy;
}

// Ornaments sit on the edges by their own handles, even where they reach
// outside the dialog, and only on edges longer than two parts.
TEST_F(DialogFrameTest, OrnamentsSitOnLongEnoughEdgesByTheirHandles) {
    const uint32_t up = Argb(255, 250, 40, 40), left = Argb(255, 40, 250, 40);
    DialogFrame frame;
    SetDialogFrameImage(frame, NinePartSource());
    frame.Tile_Up = gfxtest::SolidImage(20, 10, up);
    CentreImageHandle(frame.Tile_Up);
    frame.Tile_Left = gfxtest::SolidImage(8, 30, left);
    SetImageHandle(frame.Tile_Left, 4, 0);

    PicturePtr shot = Draw(frame, 100, 100, 300, 200);
    ASSERT_TRUE(shot);
    // Placed at half the width less half its own, then moved by its handle:
    // it covers x 230–249, y 95–104, partly above the dialog.
    EXPECT_TRUE(SameColour(shot->ReadPixel(231, 96), up)) << "above the top edge";
    EXPECT_TRUE(SameColour(shot->ReadPixel(248, 104), up));
    EXPECT_TRUE(SameColour(shot->ReadPixel(251, 96), Argb(255, 0, 0, 0))) << "ornament is only 20 wide";
    EXPECT_TRUE(SameColour(shot->ReadPixel(228, 96), Argb(255, 0, 0, 0)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(97, 200), left)) << "left of the dialog, centred on its height";
    EXPECT_TRUE(SameColour(shot->ReadPixel(97, 184), Argb(255, 0, 0, 0)));

    // 30 wide, 40 high with 16-pixel parts: the top edge is too short, the left one is not.
    shot = Draw(frame, 100, 100, 30, 40);
    ASSERT_TRUE(shot);
    EXPECT_TRUE(SameColour(shot->ReadPixel(105, 97), Argb(255, 0, 0, 0))) << "no ornament on a short edge";
    EXPECT_TRUE(SameColour(shot->ReadPixel(97, 120), left));
}

TEST_F(DialogFrameTest, DrawingLeavesTheDrawingStateAsItWas) {
    DialogFrame frame;
    SetDialogFrameImage(frame, NinePartSource());
    SetViewport(10, 20, 300, 200);
    SetOrigin(7, 9);
    SetBlend(LIGHTBLEND);
    DrawDialogFrame(frame, 50, 50, 100, 100);
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    float ox, oy;
    GetOrigin(ox, oy);
    EXPECT_EQ(vx, 10);
    EXPECT_EQ(vy, 20);
    EXPECT_EQ(vw, 300);
    EXPECT_EQ(vh, 200);
    EXPECT_FLOAT_EQ(ox, 7);
    EXPECT_FLOAT_EQ(oy, 9);
    EXPECT_EQ(GetBlend(), LIGHTBLEND);
}

}  // namespace
