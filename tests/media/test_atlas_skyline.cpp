// Packing pictures onto an atlas page: what is placed stays on the page and
// overlaps nothing, and a page is filled before the packer gives up on it.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "media/TAtlasSkyline.h"

namespace {

struct Rect {
    int x, y, w, h;
};

bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

struct Size {
    int w, h;
};

struct PackCase {
    const char* name;
    int page;
    std::vector<Size> sizes;  // in the order they are placed
    int expectPlaced;         // how many of them find room
};

// Places every size it can and checks each placement against the page's edges
// and every earlier placement.
std::vector<Rect> PackAll(TAtlasSkyline& space, const std::vector<Size>& sizes) {
    std::vector<Rect> placed;
    for (const Size& s : sizes) {
        int x = -1, y = -1;
        if (!space.Place(s.w, s.h, x, y)) continue;
        const Rect r{x, y, s.w, s.h};
        EXPECT_GE(x, 0);
        EXPECT_GE(y, 0);
        EXPECT_LE(x + s.w, space.Size());
        EXPECT_LE(y + s.h, space.Size());
        for (const Rect& other : placed) EXPECT_FALSE(Overlap(r, other)) << "at " << x << "," << y;
        placed.push_back(r);
    }
    return placed;
}

std::vector<Size> Repeat(Size s, int n) { return std::vector<Size>(static_cast<size_t>(n), s); }

std::vector<Size> Join(std::vector<Size> a, const std::vector<Size>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const PackCase kCases[] = {
    {"equal squares tile the page exactly", 64, Repeat({16, 16}, 17), 16},
    {"four quarters fill it", 100, Repeat({50, 50}, 5), 4},
    // Short pictures first, then a tall one: the tall one still finds the
    // room beside them, which a shelf opened for the short ones wastes.
    {"tall after short uses the space beside the short row", 100,
     Join(Repeat({10, 10}, 5), Repeat({50, 100}, 2)), 6},
    {"mixed heights side by side", 100, {{60, 30}, {40, 70}, {60, 70}, {40, 30}}, 4},
    {"too wide or too tall never fits", 50, {{51, 1}, {1, 51}, {0, 10}, {10, 0}, {50, 50}}, 1},
    {"a strip across the page and the rest below it", 32, Join(Repeat({32, 2}, 4), Repeat({8, 8}, 12)), 16},
};

class AtlasSkylinePacks : public ::testing::TestWithParam<PackCase> {};

TEST_P(AtlasSkylinePacks, PlacesWithoutOverlapUntilThePageIsFull) {
    const PackCase& c = GetParam();
    TAtlasSkyline space(c.page);
    EXPECT_EQ(int(PackAll(space, c.sizes).size()), c.expectPlaced);
}

INSTANTIATE_TEST_SUITE_P(Cases, AtlasSkylinePacks, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PackCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(AtlasSkyline, ClearGivesTheWholePageBack) {
    TAtlasSkyline space(40);
    EXPECT_EQ(PackAll(space, Repeat({20, 20}, 4)).size(), 4u);
    int x = -1, y = -1;
    EXPECT_FALSE(space.Place(1, 1, x, y));
    space.Clear();
    ASSERT_TRUE(space.Place(40, 40, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(AtlasSkyline, PageWithoutSizeTakesNothing) {
    TAtlasSkyline space;
    int x = -1, y = -1;
    EXPECT_FALSE(space.Place(1, 1, x, y));
}

}  // namespace
