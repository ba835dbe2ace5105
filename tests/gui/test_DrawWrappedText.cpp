#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "gui/DrawWrappedText.h"
#include "gui/GuiTestSupport.h"
#include "media/Graphics.h"

namespace {

using guitest::ProbeFont;

// A drawn line: its characters in order and where its first one went.
struct Line {
    std::string text;
    float x;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l) { return os << '"' << l.text << "\" at " << l.x; }

// Groups the characters the font drew into lines by their y (a line without
// characters stays empty), checking that each line's characters follow each
// other without gaps or overlaps. Trailing spaces show nothing and are cut.
std::vector<Line> LinesOf(const ProbeFont& font, float top, int lineHeight) {
    std::vector<Line> lines;
    std::vector<float> pen;
    for (const auto& d : font.drawn) {
        const size_t row = static_cast<size_t>((d.y - top) / static_cast<float>(lineHeight));
        EXPECT_FLOAT_EQ(d.y, top + static_cast<float>(row) * static_cast<float>(lineHeight)) << d.text;
        if (row >= lines.size()) {
            lines.resize(row + 1, Line{"", 0});
            pen.resize(row + 1, -1);
        }
        if (lines[row].text.empty())
            lines[row].x = d.x;
        else
            EXPECT_FLOAT_EQ(d.x, pen[row]) << "\"" << d.text << "\" in line " << row;
        lines[row].text += d.text;
        size_t i = 0;
        pen[row] = d.x + static_cast<float>(ProbeFont::Advance(NextCodePoint(d.text, i)));
    }
    for (Line& l : lines)
        while (!l.text.empty() && l.text.back() == ' ') l.text.pop_back();
    return lines;
}

struct WrapCase {
    const char* what;
    const char* text;
    int width;
    int centered;
    std::vector<Line> lines;
};

void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.what; }

// ProbeFont: letters 10 pixels, the space 5, lines 16 high. The box's left
// edge is at x = 100 and its top at y = 40.
const WrapCase kCases[] = {
    {"backslash-n after the second word", "aaa bbb\\nccc", 300, 0, {{"aaa bbb", 100}, {"ccc", 100}}},
    {"a word wider than the box stays whole", "abcdefghijklmnop", 50, 0, {{"abcdefghijklmnop", 100}}},
    {"a long word after a short one moves down whole", "ab abcdefghijklmnop", 50, 0,
     {{"ab", 100}, {"abcdefghijklmnop", 100}}},
    // "aaa " is 35 wide, "bbb " 35 more, plus the space once more: 75.
    {"a word fits while the line plus one more space stays narrower", "aaa bbb", 76, 0, {{"aaa bbb", 100}}},
    {"a word reaching the exact width moves to the next line", "aaa bbb", 75, 0, {{"aaa", 100}, {"bbb", 100}}},
    {"wrapping fills each line as far as it can", "aa bb cc dd ee", 60, 0,
     {{"aa bb", 100}, {"cc dd", 100}, {"ee", 100}}},
    // Each character moves the start left by half its width, truncating at
    // every step: 150 → 145 → 140 → 137 (half a space) → 132 → 127.
    {"centred lines sit around the box's middle", "aa bb\\ncccc", 100, 1, {{"aa bb", 127}, {"cccc", 130}}},
    {"an empty line from two line breaks", "a\\n\\nb", 300, 0, {{"a", 100}, {"", 0}, {"b", 100}}},
};

class WrappedText : public gfxtest::DisplayTest, public testing::WithParamInterface<WrapCase> {};

TEST_P(WrappedText, LinesPositionsAndHeight) {
    const WrapCase& c = GetParam();
    auto font = std::make_shared<ProbeFont>();
    SetFont(font);
    const int height = DrawWrappedText(100, 40, c.text, c.width, c.centered, 1);
    EXPECT_EQ(height, 16 * static_cast<int>(c.lines.size()));

    EXPECT_EQ(LinesOf(*font, 40, 16), c.lines);

    // Measuring only gives the same height and draws nothing.
    font->drawn.clear();
    EXPECT_EQ(DrawWrappedText(100, 40, c.text, c.width, c.centered, 0), height);
    EXPECT_TRUE(font->drawn.empty());
}

INSTANTIATE_TEST_SUITE_P(Layout, WrappedText, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<WrapCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

class WrappedTextPixels : public gfxtest::DisplayTest {};

// The pixels: centred lines of white blocks land where the layout says.
TEST_F(WrappedTextPixels, LinesAreDrawnWhereTheyWereLaidOut) {
    SetFont(std::make_shared<ProbeFont>());
    Cls();
    DrawWrappedText(100, 100, "aa bb\\ncccc", 100, 1, 1);
    PicturePtr shot = GrabFrame();
    ASSERT_TRUE(shot);
    struct Probe {
        int x, y;
        bool lit;
    } probes[] = {
        {126, 108, false}, {127, 108, true},  {146, 108, true},  {149, 108, false},  // "aa", then the space
        {152, 108, true},  {171, 108, true},  {172, 108, false},                      // "bb"
        {129, 124, false}, {130, 124, true},  {169, 124, true},  {170, 124, false},  // "cccc" on the second line
        {140, 99, false},  {140, 132, false},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(guitest::LitPixels(shot, p.x, p.y, 1, 1) == 1, p.lit) << p.x << "," << p.y;
}

}  // namespace
