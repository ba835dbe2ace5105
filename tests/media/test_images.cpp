// Pictures and images in main memory: no display needed.
#include <gtest/gtest.h>

#include "media/Graphics.h"

namespace {

TEST(Picture, PixelsReadBackAndOutOfRangeIsHarmless) {
    TPicture picture(3, 2);
    picture.WritePixel(2, 1, 0x80102030u);
    EXPECT_EQ(picture.ReadPixel(2, 1), 0x80102030u);
    EXPECT_EQ(picture.ReadPixel(0, 0), 0u);
    const int outside[][2] = {{-1, 0}, {3, 0}, {0, 2}, {0, -1}, {1000000, 1000000}};
    for (const auto& p : outside) {
        picture.WritePixel(p[0], p[1], 0xFFFFFFFFu);
        EXPECT_EQ(picture.ReadPixel(p[0], p[1]), 0u);
    }
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            if (!(x == 2 && y == 1)) {
                EXPECT_EQ(picture.ReadPixel(x, y), 0u);
            }
}

TEST(Picture, WindowSharesPixelsWithItsParentAndStaysInside) {
    auto parent = std::make_shared<TPicture>(8, 8);
    PicturePtr window = parent->Window(2, 3, 4, 2);
    ASSERT_EQ(window->Width(), 4);
    ASSERT_EQ(window->Height(), 2);
    window->WritePixel(1, 1, 0xFF00FF00u);
    EXPECT_EQ(parent->ReadPixel(3, 4), 0xFF00FF00u);
    parent->WritePixel(2, 3, 0xFFFF0000u);
    EXPECT_EQ(window->ReadPixel(0, 0), 0xFFFF0000u);
    window->WritePixel(4, 0, 0xFFFFFFFFu);  // just outside the window
    EXPECT_EQ(parent->ReadPixel(6, 3), 0u);
    EXPECT_EQ(window->StoreId(), parent->StoreId());
    // A window reaching past the parent is cut to it; a window of a window nests.
    PicturePtr cut = parent->Window(6, 6, 10, 10);
    EXPECT_EQ(cut->Width(), 2);
    EXPECT_EQ(cut->Height(), 2);
    PicturePtr nested = window->Window(1, 1, 5, 5);
    EXPECT_EQ(nested->Width(), 3);
    EXPECT_EQ(nested->Height(), 1);
    EXPECT_EQ(nested->ReadPixel(0, 0), 0xFF00FF00u);
    // A copy no longer follows the parent.
    PicturePtr copy = window->Clone();
    parent->WritePixel(3, 4, 0);
    EXPECT_EQ(copy->ReadPixel(1, 1), 0xFF00FF00u);
    EXPECT_NE(copy->StoreId(), parent->StoreId());
}

TEST(Picture, EveryWriteMarksTheStoreChanged) {
    auto picture = std::make_shared<TPicture>(2, 2);
    const uint64_t before = picture->StoreVersion();
    picture->Window(1, 1, 1, 1)->WritePixel(0, 0, 1);
    EXPECT_NE(picture->StoreVersion(), before);
    const uint64_t middle = picture->StoreVersion();
    picture->Touch();
    EXPECT_NE(picture->StoreVersion(), middle);
}

// 4 columns × 2 rows of 3×2 cells, each cell filled with its index.
PicturePtr NumberedCells(bool alpha) {
    auto picture = std::make_shared<TPicture>(13, 5, alpha);  // spare pixels on the right and bottom
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x) picture->WritePixel(x, y, 0xFF000000u | uint32_t((y / 2) * 4 + x / 3 + 1));
    return picture;
}

TEST(Image, StripCellsAreReadRowByRowFromTheFirstAsked) {
    struct Case { int first, count; bool ok; } cases[] = {
        {0, 8, true}, {0, 1, true}, {3, 5, true}, {5, 2, true}, {0, 9, false}, {7, 2, false},
        {0, 0, false}, {-1, 2, false}, {8, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "first " << c.first << " count " << c.count);
        ImagePtr strip = ImageStripFromPicture(NumberedCells(true), 3, 2, c.first, c.count, -1);
        ASSERT_EQ(bool(strip), c.ok);
        if (!strip) continue;
        ASSERT_EQ(strip->FrameCount(), c.count);
        EXPECT_EQ(strip->width, 3);
        EXPECT_EQ(strip->height, 2);
        for (int i = 0; i < c.count; ++i) {
            const uint32_t cell = uint32_t(c.first + i + 1);
            EXPECT_EQ(strip->frames[size_t(i)]->ReadPixel(0, 0) & 0xFFFFFF, cell);
            EXPECT_EQ(strip->frames[size_t(i)]->ReadPixel(2, 1) & 0xFFFFFF, cell);
        }
    }
    EXPECT_FALSE(ImageStripFromPicture(NumberedCells(true), 0, 2, 0, 1));
    EXPECT_FALSE(ImageStripFromPicture(NumberedCells(true), 14, 2, 0, 1));
    EXPECT_FALSE(ImageStripFromPicture(nullptr, 3, 2, 0, 1));
}

TEST(Image, MaskingAppliesOnlyToMaskedImagesOfPicturesWithoutAlpha) {
    struct Case { bool pictureAlpha; int flags; bool masked; } cases[] = {
        {false, -1, true}, {false, 1, true}, {false, 3, true}, {false, 2, false}, {false, 0, false},
        {true, -1, false}, {true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alpha " << c.pictureAlpha << " flags " << c.flags);
        auto picture = std::make_shared<TPicture>(2, 1, c.pictureAlpha);
        picture->WritePixel(0, 0, 0xFF000000u);  // the default mask colour
        picture->WritePixel(1, 0, 0x40FF8000u);
        ImagePtr image = ImageFromPicture(picture, c.flags);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->flags, c.flags < 0 ? 3 : c.flags);
        const PicturePtr frame = image->frames[0];
        if (c.masked) {
            EXPECT_EQ(frame->ReadPixel(0, 0) >> 24, 0u);
            EXPECT_EQ(frame->ReadPixel(1, 0), 0xFFFF8000u);
        } else {
            EXPECT_EQ(frame->ReadPixel(0, 0), 0xFF000000u);
            EXPECT_EQ(frame->ReadPixel(1, 0), 0x40FF8000u);
        }
        EXPECT_EQ(picture->ReadPixel(0, 0), 0xFF000000u) << "the caller's picture is left alone";
    }
}

TEST(Image, CreateLockHandleAndDefaults) {
    ImagePtr image = CreateImage(6, 4, 3);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->FrameCount(), 3);
    EXPECT_EQ(image->flags, 3);
    EXPECT_EQ(image->mask_r + image->mask_g + image->mask_b, 0);
    EXPECT_EQ(image->handle_x, 0);
    PicturePtr frame = LockImage(image, 2);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Width(), 6);
    EXPECT_EQ(frame->ReadPixel(5, 3), 0u);
    EXPECT_NE(LockImage(image, 0), frame);
    EXPECT_FALSE(LockImage(image, 3));
    EXPECT_FALSE(LockImage(image, -1));
    UnlockImage(image, 7);  // ignored
    CentreImageHandle(image);
    EXPECT_FLOAT_EQ(image->handle_x, 3.0f);
    EXPECT_FLOAT_EQ(image->handle_y, 2.0f);
    SetImageHandle(image, -1.5f, 9);
    EXPECT_FLOAT_EQ(image->handle_x, -1.5f);
    EXPECT_FALSE(CreateImage(0, 4));
    EXPECT_FALSE(CreateImage(4, 4, 0));
    ImagePtr odd = CreateImage(5, 3);
    CentreImageHandle(odd);
    EXPECT_FLOAT_EQ(odd->handle_x, 2.5f);
}

}  // namespace
