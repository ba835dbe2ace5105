// Drawing tests: each draws into the real back buffer and reads the pixels back.
#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <functional>
#include <vector>

#include "GraphicsTestSupport.h"
#include "media/TStream.h"

using namespace gfxtest;

namespace {

class Renderer : public DisplayTest {};

constexpr uint32_t kBackground = 0xFF646464;  // 100,100,100

void FillBackground() {
    SetClsColor(100, 100, 100);
    Cls();
}

int Channel(uint32_t argb, int shift) { return int((argb >> shift) & 0xFF); }

// ---- Blend modes ----------------------------------------------------------------

struct BlendCase {
    const char* name;
    int mode;
    uint32_t source;  // ARGB texel
    int r, g, b;      // SetColor
    float alpha;      // SetAlpha
};

// What each mode does to one channel, from its definition.
int Blend(int mode, int src, int dst, float srcAlpha) {
    switch (mode) {
    case MASKBLEND: return srcAlpha >= 0.5f ? src : dst;
    case ALPHABLEND: return int(std::lround(src * srcAlpha + dst * (1 - srcAlpha)));
    case LIGHTBLEND: return std::min(255, int(std::lround(src * srcAlpha + dst)));
    case SHADEBLEND: return int(std::lround(src * dst / 255.0));
    default: return src;
    }
}

TEST_F(Renderer, BlendModesCombineSourceAndBackgroundAsDefined) {
    const BlendCase cases[] = {
        {"mask opaque enough", MASKBLEND, Argb(128, 200, 40, 80), 255, 255, 255, 1.0f},
        {"mask too transparent", MASKBLEND, Argb(120, 200, 40, 80), 255, 255, 255, 1.0f},
        {"mask with global alpha", MASKBLEND, Argb(255, 200, 40, 80), 255, 255, 255, 0.4f},
        {"solid", SOLIDBLEND, Argb(128, 200, 40, 80), 255, 255, 255, 1.0f},
        {"alpha", ALPHABLEND, Argb(128, 200, 40, 80), 255, 255, 255, 1.0f},
        {"alpha with colour and alpha", ALPHABLEND, Argb(255, 200, 200, 200), 255, 128, 0, 0.5f},
        {"light", LIGHTBLEND, Argb(128, 200, 40, 80), 255, 255, 255, 1.0f},
        {"light saturates", LIGHTBLEND, Argb(255, 250, 250, 250), 255, 255, 255, 1.0f},
        {"shade", SHADEBLEND, Argb(255, 200, 40, 80), 255, 255, 255, 1.0f},
        {"unknown number is solid", 9, Argb(255, 10, 220, 30), 255, 255, 255, 1.0f},
        {"zero is solid", 0, Argb(255, 10, 220, 30), 255, 255, 255, 1.0f},
    };
    for (const BlendCase& c : cases) {
        SCOPED_TRACE(c.name);
        FillBackground();
        ImagePtr image = SolidImage(8, 8, c.source);
        SetBlend(c.mode);
        SetColor(c.r, c.g, c.b);
        SetAlpha(c.alpha);
        DrawImage(image, 20, 20);
        ResetDrawState();
        PicturePtr frame = GrabFrame();
        ASSERT_TRUE(frame);
        const float srcAlpha = Channel(c.source, 24) / 255.0f * c.alpha;
        const int tint[3] = {c.b, c.g, c.r};
        uint32_t expected = 0xFF000000u;
        for (int k = 0; k < 3; ++k) {
            const int shift = 8 * k;
            const int src = int(std::lround(Channel(c.source, shift) * tint[k] / 255.0));
            expected |= uint32_t(Blend(c.mode, src, Channel(kBackground, shift), srcAlpha)) << shift;
        }
        EXPECT_TRUE(SameColour(frame->ReadPixel(23, 23), expected));
        EXPECT_TRUE(SameColour(frame->ReadPixel(30, 23), kBackground)) << "outside the image";
    }
}

TEST_F(Renderer, ShadeLeavesTheBackgroundUnderTransparentTexels) {
    FillBackground();
    SetBlend(SHADEBLEND);
    DrawImage(SolidImage(8, 8, Argb(0, 0, 0, 0)), 20, 20);
    EXPECT_TRUE(SameColour(GrabFrame()->ReadPixel(24, 24), kBackground));
}

// ---- Transform ------------------------------------------------------------------

// 20×10: left half red, right half green.
ImagePtr TwoToneImage() {
    ImagePtr image = CreateImage(20, 10, 1, 0);
    PicturePtr p = LockImage(image, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) p->WritePixel(x, y, x < 10 ? 0xFFFF0000u : 0xFF00FF00u);
    UnlockImage(image, 0);
    return image;
}

struct RotationCase {
    float degrees;
    int dx, dy;         // probe relative to the drawing position
    uint32_t expected;  // 0 = background
};

TEST_F(Renderer, RotationTurnsClockwiseAboutTheHandle) {
    const RotationCase cases[] = {
        // Unrotated: red left of the handle, green right.
        {0, -6, 0, 0xFFFF0000u}, {0, 6, 0, 0xFF00FF00u}, {0, 0, -7, 0}, {0, -12, 0, 0},
        // 90 clockwise: the image's x axis points down the screen.
        {90, 0, -6, 0xFFFF0000u}, {90, 0, 6, 0xFF00FF00u}, {90, -7, 0, 0}, {90, 7, 0, 0}, {90, 0, -12, 0},
        {90, -3, -8, 0xFFFF0000u},
        // 180: mirrored both ways.
        {180, 6, 0, 0xFFFF0000u}, {180, -6, 0, 0xFF00FF00u},
        // -90: counter-clockwise.
        {-90, 0, 6, 0xFFFF0000u}, {-90, 0, -6, 0xFF00FF00u},
    };
    ImagePtr image = TwoToneImage();
    CentreImageHandle(image);
    for (const RotationCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "rotation " << c.degrees << " probe " << c.dx << "," << c.dy);
        FillBackground();
        SetRotation(c.degrees);
        DrawImage(image, 200, 200);
        PicturePtr frame = GrabFrame();
        EXPECT_TRUE(SameColour(frame->ReadPixel(200 + c.dx, 200 + c.dy), c.expected ? c.expected : kBackground));
    }
}

TEST_F(Renderer, ScaleAndOriginMoveThePointsAsTheMatrixSays) {
    FillBackground();
    ImagePtr image = SolidImage(10, 10, 0xFFFFFFFFu);
    SetImageHandle(image, 5, 5);
    SetScale(2, 0.5f);
    SetOrigin(30, 40);
    DrawImage(image, 100, 100);  // covers x 120..140, y 137.5..142.5
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(121, 140), 0xFFFFFFFFu));
    EXPECT_TRUE(SameColour(frame->ReadPixel(139, 140), 0xFFFFFFFFu));
    EXPECT_TRUE(SameColour(frame->ReadPixel(141, 140), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(119, 140), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(130, 136), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(130, 143), kBackground));
}

TEST_F(Renderer, MatrixFollowsRotationAndScale) {
    SetRotation(30);
    SetScale(2, 3);
    float ix, iy, jx, jy;
    GetTransform(ix, iy, jx, jy);
    const double r = 30 * 3.14159265358979 / 180;
    EXPECT_NEAR(ix, std::cos(r) * 2, 1e-5);
    EXPECT_NEAR(iy, -std::sin(r) * 3, 1e-5);
    EXPECT_NEAR(jx, std::sin(r) * 2, 1e-5);
    EXPECT_NEAR(jy, std::cos(r) * 3, 1e-5);
}

TEST_F(Renderer, RectIsTransformedLikeAnImageWithHandleAtItsCorner) {
    FillBackground();
    SetColor(0, 0, 255);
    SetRotation(90);
    DrawRect(300, 300, 20, 10);  // x axis down: covers x 290..300, y 300..320
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(295, 318), 0xFF0000FFu));
    EXPECT_TRUE(SameColour(frame->ReadPixel(301, 310), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(295, 321), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(289, 310), kBackground));
}

TEST_F(Renderer, DrawImageRectStretchesTheWholeFrame) {
    FillBackground();
    ImagePtr image = TwoToneImage();
    DrawImageRect(image, 50, 50, 80, 20);
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(52, 60), 0xFFFF0000u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(88, 60), 0xFFFF0000u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(92, 68), 0xFF00FF00u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(128, 52), 0xFF00FF00u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(131, 60), kBackground));
}

// ---- Clipping and tiling -----------------------------------------------------

TEST_F(Renderer, ViewportClipsDrawingAndCls) {
    FillBackground();
    SetViewport(50, 60, 100, 40);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 800, 600);
    SetViewport(400, 400, 10, 10);
    SetClsColor(0, 0, 255);
    Cls();
    PicturePtr frame = GrabFrame();
    struct Probe { int x, y; uint32_t expected; } probes[] = {
        {50, 60, 0xFFFF0000u}, {149, 99, 0xFFFF0000u}, {49, 60, kBackground}, {50, 59, kBackground},
        {150, 80, kBackground}, {100, 100, kBackground}, {405, 405, 0xFF0000FFu}, {410, 405, kBackground},
        {399, 399, kBackground},
    };
    for (const Probe& p : probes)
        EXPECT_TRUE(SameColour(frame->ReadPixel(p.x, p.y), p.expected)) << "at " << p.x << "," << p.y;
}

TEST_F(Renderer, TileFillsTheViewportOnAGridThroughTheHandle) {
    FillBackground();
    // 10×10 blue with a red top-left pixel marking each copy's corner.
    ImagePtr image = SolidImage(10, 10, 0xFF0000FFu);
    LockImage(image)->WritePixel(0, 0, 0xFFFF0000u);
    UnlockImage(image);
    SetImageHandle(image, 3, 4);
    SetViewport(100, 100, 200, 100);
    SetOrigin(5, 5);
    SetRotation(45);
    SetScale(2, 2);
    TileImage(image, 20, 30);  // handle at (25,35): corners on x ≡ 2, y ≡ 1 (mod 10)
    EXPECT_FLOAT_EQ(GetRotation(), 45);
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 2);
    PicturePtr frame = GrabFrame();
    for (int y = 100; y < 200; y += 7)
        for (int x = 100; x < 300; x += 3) {
            const bool corner = (x % 10 == 2) && (y % 10 == 1);
            EXPECT_TRUE(SameColour(frame->ReadPixel(x, y), corner ? 0xFFFF0000u : 0xFF0000FFu)) << x << "," << y;
        }
    EXPECT_TRUE(SameColour(frame->ReadPixel(102, 101), 0xFFFF0000u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(292, 191), 0xFFFF0000u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(99, 150), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(300, 150), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(150, 200), kBackground));
}

// ---- Frames, strips and masks -----------------------------------------------

TEST_F(Renderer, FrameIndexOutsideTheImageDrawsNothing) {
    ImagePtr image = CreateImage(4, 4, 3, 0);
    for (int f = 0; f < 3; ++f) {
        PicturePtr p = LockImage(image, f);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) p->WritePixel(x, y, 0xFFFFFFFFu);
        UnlockImage(image, f);
    }
    struct Case { int frame; bool draws; } cases[] = {{0, true}, {2, true}, {3, false}, {-1, false}, {99, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        FillBackground();
        DrawImage(image, 10, 10, c.frame);
        DrawImageRect(image, 30, 10, 8, 8, c.frame);
        TileImage(image, 0, 0, c.frame);
        SetViewport(0, 0, 800, 600);
        PicturePtr frame = GrabFrame();
        const uint32_t expected = c.draws ? 0xFFFFFFFFu : kBackground;
        EXPECT_TRUE(SameColour(frame->ReadPixel(11, 11), expected));
        EXPECT_TRUE(SameColour(frame->ReadPixel(35, 15), expected));
        EXPECT_TRUE(SameColour(frame->ReadPixel(500, 500), expected));
    }
}

// 8×4 picture of two 4×4 cells: a black border pixel row and coloured insides.
PicturePtr TwoCellPicture(bool withAlpha) {
    auto picture = std::make_shared<TPicture>(8, 4, withAlpha);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            uint32_t c = x < 4 ? 0xFFFF0000u : 0xFF00FF00u;
            if (y == 0) c = 0xFF000000u;              // opaque black
            if (y == 3 && withAlpha) c = 0x00FFFFFFu;  // fully transparent white
            picture->WritePixel(x, y, c);
        }
    return picture;
}

ImagePtr StripThroughPng(const PicturePtr& picture) {
    StreamPtr stream = OpenMemory(EncodePicturePNG(*picture));
    return LoadImageStrip(*stream, 4, 4, 0, 2, -1);
}

TEST_F(Renderer, MaskedStripFrom24BitPictureHidesBlack) {
    ImagePtr strip = StripThroughPng(TwoCellPicture(false));
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->FrameCount(), 2);
    EXPECT_EQ(strip->flags, 3);
    FillBackground();
    DrawImage(strip, 10, 10, 0);
    DrawImage(strip, 20, 10, 1);
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 10), kBackground)) << "black is the mask colour";
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 11), 0xFFFF0000u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(21, 10), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(21, 12), 0xFF00FF00u));
}

TEST_F(Renderer, MaskedStripFrom32BitPictureKeepsItsOwnAlpha) {
    ImagePtr strip = StripThroughPng(TwoCellPicture(true));
    ASSERT_TRUE(strip);
    FillBackground();
    DrawImage(strip, 10, 10, 0);
    DrawImage(strip, 20, 10, 1);
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 10), 0xFF000000u)) << "opaque black stays";
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 13), kBackground)) << "own transparency";
    EXPECT_TRUE(SameColour(frame->ReadPixel(22, 11), 0xFF00FF00u));
}

TEST_F(Renderer, MaskColourCanBeChangedAfterLoading) {
    ImagePtr image = ImageFromPicture(TwoCellPicture(false), 1);
    SetMaskColor(image, 255, 0, 0);
    FillBackground();
    DrawImage(image, 10, 10);
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 10), 0xFF000000u)) << "black no longer masked";
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 11), kBackground)) << "red is masked now";
    EXPECT_TRUE(SameColour(frame->ReadPixel(15, 11), 0xFF00FF00u));
}

TEST_F(Renderer, UnlockedChangesShowOnTheNextDraw) {
    ImagePtr image = SolidImage(4, 4, 0xFFFF0000u);
    FillBackground();
    DrawImage(image, 10, 10);
    PicturePtr picture = LockImage(image);
    picture->StorePixels()[picture->OffsetY() * picture->StoreWidth() + picture->OffsetX()] = 0xFF0000FFu;
    UnlockImage(image);
    DrawImage(image, 20, 10);
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(10, 10), 0xFFFF0000u)) << "the earlier draw keeps the old pixels";
    EXPECT_TRUE(SameColour(frame->ReadPixel(20, 10), 0xFF0000FFu));
    EXPECT_TRUE(SameColour(frame->ReadPixel(21, 10), 0xFFFF0000u));
}

TEST_F(Renderer, FilteredFlagBlendsNeighboursWhenScaledUp) {
    // 2×1: black then white, drawn 40 times larger.
    auto picture = std::make_shared<TPicture>(2, 1, true);
    picture->WritePixel(0, 0, 0xFF000000u);
    picture->WritePixel(1, 0, 0xFFFFFFFFu);
    struct Case { int flags; bool smooth; } cases[] = {{0, false}, {1, false}, {2, true}, {3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        FillBackground();
        SetScale(40, 40);
        DrawImage(ImageFromPicture(picture, c.flags), 100, 100);
        SetScale(1, 1);
        const int middle = Channel(GrabFrame()->ReadPixel(140 - 4, 120), 0);  // just left of the seam
        if (c.smooth) {
            EXPECT_GT(middle, 40);
            EXPECT_LT(middle, 215);
        } else {
            EXPECT_EQ(middle, 0);
        }
    }
}

// ---- Shapes ----------------------------------------------------------------------

TEST_F(Renderer, PolygonFillsItsConvexOutlineRelativeToTheOrigin) {
    FillBackground();
    SetColor(0, 255, 0);
    SetOrigin(10, 0);
    SetRotation(90);  // polygons are not turned
    DrawPoly({100, 100, 200, 100, 200, 150, 150, 200, 100, 150});
    PicturePtr frame = GrabFrame();
    struct Probe { int x, y; bool inside; } probes[] = {
        {111, 101, true}, {205, 140, true}, {160, 190, true}, {115, 190, false}, {205, 190, false},
        {105, 120, false}, {150, 99, false}, {211, 120, false},
    };
    for (const Probe& p : probes)
        EXPECT_TRUE(SameColour(frame->ReadPixel(p.x, p.y), p.inside ? 0xFF00FF00u : kBackground)) << p.x << "," << p.y;
}

TEST_F(Renderer, LineIsOnePixelWide) {
    FillBackground();
    SetColor(255, 255, 0);
    DrawLine(10, 50, 60, 50);
    DrawLine(100, 10, 100, 60);
    PicturePtr frame = GrabFrame();
    EXPECT_TRUE(SameColour(frame->ReadPixel(10, 50), 0xFFFFFF00u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(35, 50), 0xFFFFFF00u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(60, 50), 0xFFFFFF00u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(35, 49), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(35, 51), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(100, 30), 0xFFFFFF00u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(99, 30), kBackground));
    EXPECT_TRUE(SameColour(frame->ReadPixel(101, 30), kBackground));
}

// ---- Batching -------------------------------------------------------------------

TEST_F(Renderer, ShapesAndAtlasImagesShareOneDrawCall) {
    ImagePtr a = SolidImage(16, 16, 0xFFFF0000u, 2);
    ImagePtr b = SolidImage(16, 16, 0xFF00FF00u, 2);
    struct Case {
        const char* name;
        bool changeBlend, changeViewport;
        int expectedCalls;
    } cases[] = {{"one batch", false, false, 1}, {"blend change", true, false, 2}, {"viewport change", false, true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Flip(0);  // Flip() clears the bars; no Cls, so no extra draw
        SetColor(255, 255, 255);
        DrawImage(a, 10, 10);
        DrawRect(40, 10, 10, 10);
        SetColor(10, 20, 30);
        SetAlpha(0.5f);
        SetRotation(33);
        DrawImage(b, 60, 10);
        DrawLine(0, 0, 50, 50);
        if (c.changeBlend) SetBlend(LIGHTBLEND);
        if (c.changeViewport) SetViewport(0, 0, 400, 300);
        DrawPoly({0, 0, 10, 0, 10, 10});
        DrawImage(a, 90, 10);
        ResetDrawState();
        Flip(0);
        const RenderStats stats = LastFrameStats();
        EXPECT_EQ(stats.drawCalls, c.expectedCalls);
        EXPECT_EQ(stats.quads, 6);
    }
}

// ---- What is not drawn ------------------------------------------------------------

// A 32×32 picture whose outer third is fully transparent around a coloured
// middle with soft edges.
ImagePtr FramedPicture(int flags) {
    auto picture = std::make_shared<TPicture>(32, 32, true);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool inside = x >= 11 && x < 22 && y >= 9 && y < 24;
            const int a = inside ? (x == 11 || y == 23 ? 90 : 255) : 0;
            picture->WritePixel(x, y, Argb(a, x * 8, 255 - y * 8, 128));
        }
    return ImageFromPicture(picture, flags);
}

struct Capture {
    std::shared_ptr<TPicture> frame;
    RenderStats stats;
};

template <typename Draw>
Capture DrawAndCapture(Draw draw) {
    FillBackground();
    draw();
    Capture c;
    c.frame = GrabFrame();
    Flip(0);
    c.stats = LastFrameStats();
    return c;
}

TEST_F(Renderer, TransparentBorderIsLeftOutWithoutChangingThePicture) {
    struct Case {
        const char* name;
        int mode, flags;
        float scale, rotation;
        bool trimmed;
    } cases[] = {
        {"alpha, filtered, scaled and turned", ALPHABLEND, 2, 3.0f, 20, true},
        {"alpha, nearest", ALPHABLEND, 0, 2.0f, 0, true},
        {"light", LIGHTBLEND, 2, 3.0f, -35, true},
        {"shade", SHADEBLEND, 2, 2.5f, 0, true},
        {"mask", MASKBLEND, 0, 3.0f, 10, true},
        {"solid writes its transparent texels too", SOLIDBLEND, 2, 3.0f, 20, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImagePtr image = FramedPicture(c.flags);
        auto draw = [&](bool whole) {
            SetBlend(c.mode);
            SetScale(c.scale, c.scale);
            SetRotation(c.rotation);
            // The stretched draw of the same size shows the whole picture with
            // no border left out: the reference.
            if (whole) DrawImage(image, 150, 120);
            else DrawImageRect(image, 150, 120, 32, 32);
            ResetDrawState();
        };
        const Capture trimmed = DrawAndCapture([&] { draw(true); });
        const Capture reference = DrawAndCapture([&] { draw(false); });
        int worst = 0;
        for (int y = 40; y < 260; ++y)
            for (int x = 40; x < 320; ++x)
                for (int shift = 0; shift <= 16; shift += 8)
                    worst = std::max(worst, std::abs(Channel(trimmed.frame->ReadPixel(x, y), shift) -
                                                     Channel(reference.frame->ReadPixel(x, y), shift)));
        EXPECT_LE(worst, 1);
        if (c.trimmed) EXPECT_LT(trimmed.stats.pixels, reference.stats.pixels * 0.4);
        else EXPECT_NEAR(trimmed.stats.pixels, reference.stats.pixels, 1.0);
    }
}

TEST_F(Renderer, QuadsThatCannotShowAreNotSubmitted) {
    const ImagePtr red = SolidImage(16, 16, 0xFFFF0000u);
    const ImagePtr clear = SolidImage(16, 16, 0x00FF0000u);
    struct Case {
        const char* name;
        int mode;
        float alpha;
        ImagePtr image;
        float x;
        int expectedQuads;
        uint32_t expectedPixel;  // at the quad's middle
    } cases[] = {
        {"alpha 0 blended", ALPHABLEND, 0.0f, red, 100, 0, kBackground},
        {"alpha 0 added", LIGHTBLEND, 0.0f, red, 100, 0, kBackground},
        {"alpha 0 replacing still replaces", SOLIDBLEND, 0.0f, red, 100, 1, 0xFF000000u},
        {"wholly transparent picture", ALPHABLEND, 1.0f, clear, 100, 0, kBackground},
        {"outside the viewport", ALPHABLEND, 1.0f, red, 500, 0, kBackground},
        {"visible", ALPHABLEND, 1.0f, red, 100, 1, 0xFFFF0000u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Capture shot = DrawAndCapture([&] {
            SetViewport(0, 0, 400, 300);
            SetBlend(c.mode);
            SetAlpha(c.alpha);
            DrawImage(c.image, c.x, 100);
            ResetDrawState();
        });
        EXPECT_EQ(shot.stats.quads, c.expectedQuads);
        EXPECT_TRUE(SameColour(shot.frame->ReadPixel(108, 108), c.expectedPixel)) << Hex(shot.frame->ReadPixel(108, 108));
    }
}

TEST_F(Renderer, LargeOpaquePictureCoversOrBlendsAsItsAlphaSays) {
    // Big enough to be drawn without blending at full alpha.
    auto picture = std::make_shared<TPicture>(200, 150, true);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) picture->WritePixel(x, y, Argb(255, x, y, 255 - x));
    const ImagePtr image = ImageFromPicture(picture, 2);
    for (const float alpha : {1.0f, 0.5f}) {
        SCOPED_TRACE(alpha);
        const Capture shot = DrawAndCapture([&] {
            SetAlpha(alpha);
            DrawImage(image, 100, 100);
            ResetDrawState();
        });
        for (const auto [x, y] : {std::pair{0, 0}, {199, 0}, {57, 93}, {199, 149}}) {
            const uint32_t texel = picture->ReadPixel(x, y);
            const int r = Blend(ALPHABLEND, Channel(texel, 16), 100, alpha);
            const int g = Blend(ALPHABLEND, Channel(texel, 8), 100, alpha);
            const int b = Blend(ALPHABLEND, Channel(texel, 0), 100, alpha);
            EXPECT_TRUE(SameColour(shot.frame->ReadPixel(100 + x, 100 + y), Argb(255, r, g, b), 1))
                << x << "," << y << " " << Hex(shot.frame->ReadPixel(100 + x, 100 + y));
        }
    }
}

// ---- Display ----------------------------------------------------------------------

TEST_F(Renderer, ImagesAndFontsSurviveReopeningTheDisplay) {
    ImagePtr image = TwoToneImage();
    FillBackground();
    DrawImage(image, 10, 10);
    DrawText("Hi", 100, 10);
    PicturePtr before = GrabFrame();
    CloseDisplay();
    EXPECT_FALSE(DisplayIsOpen());
    DrawImage(image, 10, 10);  // nothing to draw on: ignored
    ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));
    SetVirtualResolution(800, 600);
    ResetDrawState();
    FillBackground();
    DrawImage(image, 10, 10);
    DrawText("Hi", 100, 10);
    PicturePtr after = GrabFrame();
    ASSERT_TRUE(before && after);
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 130; ++x) differing += before->ReadPixel(x, y) != after->ReadPixel(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(SameColour(after->ReadPixel(12, 12), 0xFFFF0000u));
}

// ---- Pictures held on the GPU only -----------------------------------------------

// PNG bytes standing for a file of the game, and how often they were read.
struct CountedFile {
    std::vector<uint8_t> png;
    int reads = 0;
};

// The two-cell strip read from `file`, with that read as its source.
ImagePtr StripWithSource(const std::shared_ptr<CountedFile>& file) {
    auto read = [file]() -> ImagePtr {
        ++file->reads;
        StreamPtr stream = OpenMemory(file->png);
        return LoadImageStrip(*stream, 4, 4, 0, 2, -1);
    };
    ImagePtr image = read();
    file->reads = 0;
    SetImageSource(image, read);
    return image;
}

std::shared_ptr<CountedFile> FileOf(const PicturePtr& picture) {
    auto file = std::make_shared<CountedFile>();
    file->png = EncodePicturePNG(*picture);
    return file;
}

void ReopenDisplay() {
    CloseDisplay();
    ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));
    SetVirtualResolution(800, 600);
    ResetDrawState();
}

PicturePtr DrawBothCells(const ImagePtr& strip) {
    FillBackground();
    DrawImage(strip, 10, 10, 0);
    DrawImage(strip, 20, 10, 1);
    return GrabFrame();
}

int Differing(const PicturePtr& a, const PicturePtr& b) {
    int n = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) n += a->ReadPixel(x, y) != b->ReadPixel(x, y);
    return n;
}

TEST_F(Renderer, DrawnPictureWithASourceIsReadAgainWhenItsPixelsAreWanted) {
    struct Case { const char* name; bool withAlpha; uint32_t cell0Top; };
    // Without alpha the strip is a masked copy (black hidden); with alpha the decoded picture itself.
    const Case cases[] = {{"24-bit, masked copy", false, 0x00000000u}, {"32-bit", true, 0xFF000000u}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto file = FileOf(TwoCellPicture(c.withAlpha));
        ImagePtr strip = StripWithSource(file);
        ASSERT_TRUE(strip);
        const PicturePtr before = DrawBothCells(strip);
        EXPECT_FALSE(strip->frames[0]->PixelsHeld()) << "uploaded: the main-memory copy goes";
        EXPECT_EQ(strip->frames[0]->StoreBytes(), 0u);
        EXPECT_EQ(file->reads, 0);
        // A lock reads the pixels again, as they were.
        const PicturePtr cell1 = LockImage(strip, 1);
        EXPECT_EQ(cell1->ReadPixel(1, 1), 0xFF00FF00u);
        EXPECT_EQ(LockImage(strip, 0)->ReadPixel(1, 0), c.cell0Top);
        EXPECT_EQ(file->reads, 1);
        EXPECT_TRUE(cell1->PixelsHeld());
        // Twice reopened: once with the pixels held after the lock, once read again for the upload.
        for (int round = 0; round < 2; ++round) {
            ReopenDisplay();
            const PicturePtr after = DrawBothCells(strip);
            ASSERT_TRUE(before && after);
            EXPECT_EQ(Differing(before, after), 0) << "round " << round;
            EXPECT_FALSE(strip->frames[1]->PixelsHeld());
        }
        EXPECT_EQ(file->reads, 2);
    }
}

TEST_F(Renderer, PictureWrittenAfterItsSourceKeepsItsPixels) {
    auto file = FileOf(TwoCellPicture(true));
    ImagePtr strip = StripWithSource(file);
    ASSERT_TRUE(strip);
    DrawBothCells(strip);
    PicturePtr cell = LockImage(strip, 1);
    cell->WritePixel(2, 2, 0xFF0000FFu);
    UnlockImage(strip, 1);
    const PicturePtr written = DrawBothCells(strip);
    EXPECT_TRUE(SameColour(written->ReadPixel(22, 12), 0xFF0000FFu));
    EXPECT_TRUE(cell->PixelsHeld()) << "the source no longer gives these pixels";
    ReopenDisplay();
    const PicturePtr after = DrawBothCells(strip);
    EXPECT_EQ(Differing(written, after), 0);
    EXPECT_EQ(file->reads, 1);
}

TEST_F(Renderer, MaskColourChangedAfterThePixelsWentIsAppliedToThePictureReadAgain) {
    auto file = FileOf(TwoCellPicture(false));
    ImagePtr strip = StripWithSource(file);
    ASSERT_TRUE(strip);
    DrawBothCells(strip);
    ASSERT_FALSE(strip->frames[0]->PixelsHeld());
    SetMaskColor(strip, 255, 0, 0);
    const PicturePtr frame = DrawBothCells(strip);
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 10), 0xFF000000u)) << "black no longer masked";
    EXPECT_TRUE(SameColour(frame->ReadPixel(11, 11), kBackground)) << "red is masked now";
    EXPECT_TRUE(SameColour(frame->ReadPixel(21, 11), 0xFF00FF00u));
}

TEST_F(Renderer, SourceThatCannotBeReadAgainGivesTransparentPixels) {
    auto file = FileOf(TwoCellPicture(true));
    ImagePtr strip = StripWithSource(file);
    ASSERT_TRUE(strip);
    DrawBothCells(strip);
    file->png.resize(10);  // the file was damaged under the game
    const PicturePtr cell = LockImage(strip, 0);
    EXPECT_EQ(cell->ReadPixel(1, 1), 0u);
    EXPECT_EQ(cell->ReadPixel(3, 3), 0u);
    EXPECT_EQ(cell->StoreBytes(), size_t(8 * 4 * 4));
    ReopenDisplay();
    const PicturePtr after = DrawBothCells(strip);
    EXPECT_TRUE(SameColour(after->ReadPixel(11, 11), kBackground));
}

TEST_F(Renderer, DesignSpaceIsLetterboxedIntoTheWindow) {
    // 400×200 design space in an 800×600 window: scale 2, bars of 100 above and below.
    SetVirtualResolution(400, 200);
    struct Point { float wx, wy, vx, vy; } points[] = {{0, 100, 0, 0}, {400, 300, 200, 100}, {800, 500, 400, 200},
                                                        {0, 0, 0, -50}};
    for (const Point& p : points) {
        float vx, vy;
        WindowToVirtual(p.wx, p.wy, vx, vy);
        EXPECT_FLOAT_EQ(vx, p.vx);
        EXPECT_FLOAT_EQ(vy, p.vy);
    }
    SetViewport(0, 0, 400, 200);
    SetClsColor(0, 0, 255);
    Cls();
    SetColor(255, 0, 0);
    DrawRect(0, 0, 100, 50);
    PicturePtr frame = GrabFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Width(), 400);
    EXPECT_EQ(frame->Height(), 200);
    EXPECT_TRUE(SameColour(frame->ReadPixel(50, 25), 0xFFFF0000u));
    EXPECT_TRUE(SameColour(frame->ReadPixel(150, 25), 0xFF0000FFu));
    SetVirtualResolution(800, 600);
    float vx, vy;
    WindowToVirtual(123, 456, vx, vy);
    EXPECT_FLOAT_EQ(vx, 123);
    EXPECT_FLOAT_EQ(vy, 456);
}

// A quad that crosses the edge of the design area, or of the clip inside it,
// is cut exactly there: never into the bars, never past the window's edge,
// however far it reaches beyond.
struct CrossingCase {
    const char* name;
    int clipX, clipY, clipW, clipH;  // design space 400×200
    float x, y, w, h;                // the red rectangle, design space
    struct Probe { int x, y; bool red; } probes[4];  // window pixels
};

TEST_F(Renderer, QuadsCrossingTheDesignAreaEdgeAreCutAtIt) {
    // 400×200 in 800×600: scale 2, bars of 100 above and below.
    const CrossingCase cases[] = {
        {"top edge", 0, 0, 400, 200, 150, -20, 40, 30, {{340, 100, true}, {340, 99, false}, {340, 119, true}, {340, 120, false}}},
        {"bottom edge", 0, 0, 400, 200, 150, 190, 40, 30, {{340, 499, true}, {340, 500, false}, {340, 480, true}, {340, 479, false}}},
        {"left edge", 0, 0, 400, 200, -20, 80, 40, 20, {{0, 270, true}, {39, 270, true}, {40, 270, false}, {20, 259, false}}},
        {"far past every edge", 0, 0, 400, 200, -1000, 90, 3000, 10, {{0, 285, true}, {799, 285, true}, {400, 279, false}, {400, 300, false}}},
        {"clip inside the area", 100, 50, 50, 50, -1000, -1000, 3000, 3000, {{200, 200, true}, {299, 299, true}, {199, 250, false}, {250, 300, false}}},
    };
    for (const CrossingCase& c : cases) {
        SetVirtualResolution(800, 600);
        SetViewport(0, 0, 800, 600);
        FillBackground();
        SetVirtualResolution(400, 200);
        SetViewport(c.clipX, c.clipY, c.clipW, c.clipH);
        SetColor(255, 0, 0);
        DrawRect(c.x, c.y, c.w, c.h);
        // The whole window as the design area again, bars included.
        SetVirtualResolution(800, 600);
        SetViewport(0, 0, 800, 600);
        PicturePtr frame = GrabFrame();
        ASSERT_TRUE(frame);
        for (const CrossingCase::Probe& p : c.probes)
            EXPECT_TRUE(SameColour(frame->ReadPixel(p.x, p.y), p.red ? 0xFFFF0000u : kBackground))
                << c.name << " at " << p.x << "," << p.y;
    }
}

TEST_F(Renderer, GrabbedFrameSavesAsPng) {
    FillBackground();
    SetColor(12, 34, 56);
    DrawRect(0, 0, 5, 5);
    PicturePtr frame = GrabFrame();
    const std::string path = std::string(TOTEM_BINARY_DIR) + "/grab_test.png";
    ASSERT_TRUE(SavePicturePNG(*frame, path));
    PicturePtr loaded = LoadPicture(path);
    std::remove(path.c_str());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Width(), 800);
    EXPECT_EQ(loaded->Height(), 600);
    EXPECT_EQ(loaded->ReadPixel(2, 2), Argb(255, 12, 34, 56));
    EXPECT_EQ(loaded->ReadPixel(700, 500), kBackground);
}

// Run in a fresh child process whose video driver offers no OpenGL at all.
TEST(DisplayFailure, OpeningWithoutOpenGlReportsTheProblemAndReturnsFalse) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            SetNotifyBoxesEnabled(false);
            const bool opened = OpenDisplay(800, 600, 0, 85);
            std::exit(!opened && !DisplayIsOpen() ? 3 : 0);
        },
        testing::ExitedWithCode(3), "could not be opened: .*OpenGL");
}

TEST(DrawState, GettersReturnWhatWasSet) {
    SetColor(1, 2, 300);
    SetAlpha(1.5f);
    SetBlend(42);
    SetViewport(-5, 6, 7, 8);
    SetRotation(-720.5f);
    SetScale(0, -2);
    SetOrigin(3.25f, -4.5f);
    int r, g, b, x, y, w, h;
    GetColor(r, g, b);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 2);
    EXPECT_EQ(b, 300);
    EXPECT_EQ(GetAlpha(), 1.5f);
    EXPECT_EQ(GetBlend(), 42);
    GetViewport(x, y, w, h);
    EXPECT_EQ(x, -5);
    EXPECT_EQ(h, 8);
    EXPECT_EQ(GetRotation(), -720.5f);
    float sx, sy, ox, oy;
    GetScale(sx, sy);
    EXPECT_EQ(sy, -2);
    GetOrigin(ox, oy);
    EXPECT_EQ(ox, 3.25f);
    EXPECT_EQ(oy, -4.5f);
    SetFont(nullptr);
    EXPECT_EQ(GetFont(), DefaultFont());
    gfxtest::ResetDrawState();
}

}  // namespace

// ---- Errors the driver records --------------------------------------------------

// The driver's own entry point, reached the way the renderer's loader reaches
// it, so a test can make a call the renderer never makes.
using GlEnableFn = void (*)(unsigned);
GlEnableFn DriverEnable() {
    void* slot = dlsym(RTLD_DEFAULT, "epoxy_glEnable");
    return slot ? *static_cast<GlEnableFn*>(slot) : nullptr;
}

// Every kind of drawing the game does, presented, leaves the driver with no
// error recorded; a bad call made behind the renderer's back is reported,
// and only once.
TEST_F(Renderer, DrainGlErrorsReportsWhatTheDriverRecordedAndThenNothing) {
    ASSERT_EQ(DrainGlErrors(), 0) << "errors left from the display's opening";
    ImagePtr small = SolidImage(16, 16, 0xFF00FF00u);
    ImagePtr large = SolidImage(700, 500, 0x80FF0000u);  // too large for an atlas page
    struct DrawCase {
        const char* name;
        std::function<void()> draw;
    };
    const DrawCase cases[] = {
        {"image", [&] { DrawImage(small, 10, 10); }},
        {"stretched large image", [&] { DrawImageRect(large, 0, 0, 800, 600); }},
        {"rect, line and polygon", [] {
             DrawRect(5, 5, 50, 50);
             DrawLine(0, 0, 799, 599);
             DrawPoly({0, 0, 40, 0, 20, 30});
         }},
        {"text", [] { DrawText("Totem", 100, 100); }},
        {"tiled in a viewport", [&] {
             SetViewport(100, 100, 200, 100);
             TileImage(small);
             SetViewport(0, 0, 800, 600);
         }},
        {"changed pixels", [&] {
             LockImage(small)->WritePixel(0, 0, 0xFFFF0000u);
             UnlockImage(small);
             DrawImage(small, 30, 30);
         }},
        {"frame read back", [&] {
             DrawImage(small, 50, 50);
             ASSERT_TRUE(GrabFrame());
         }},
    };
    for (const DrawCase& c : cases) {
        FillBackground();
        c.draw();
        Flip(0);
        EXPECT_EQ(DrainGlErrors(), 0) << c.name;
    }

    const GlEnableFn enable = DriverEnable();
    ASSERT_TRUE(enable) << "the GL loader's entry point was not found";
    enable(0);  // no capability is numbered 0
    EXPECT_GE(DrainGlErrors(), 1);
    EXPECT_EQ(DrainGlErrors(), 0) << "the error was reported again";
    // A picture's own texture goes when the frame after it is out; this
    // process keeps its display to the end, so that frame is presented here.
    small.reset();
    large.reset();
    Flip(0);
}

