#include <gtest/gtest.h>

#include "core/TextHelpers.h"
#include "core/TObject.h"

namespace {

TEST(FormatDecimalTest, RoundsOnTheStoredDecimalDigits) {
    struct Case {
        double x;
        int decimals;
        const char* text;
    } cases[] = {
        {97.96, 1, "98.0"},
        {2.5, 0, "3"},
        {1.04, -2, "1"},
        {0.15, 1, "0.1"},   // stored just below 0.15
        {0.25, 1, "0.3"},   // exactly half: away from zero
        {1.049, 2, "1.05"},
        {1.005, 2, "1.00"}, // stored just below 1.005
        {0, 0, "0"},
        {0, 3, "0.000"},
        {100, 2, "100.00"},
        {99.999, 2, "100.00"},
        {9.5, 0, "10"},
        {0.05, 2, "0.05"},
        {0.004, 2, "0.00"},
        {0.005, 2, "0.01"},
        {0.0005, 3, "0.001"},
        {123456.789, 1, "123456.8"},
        {-2.5, 0, "-3"},
        {-97.96, 1, "-98.0"},
        {-1.049, 2, "-1.05"},
        {-0.001, 2, "0.00"},
        {1e20, 1, "100000000000000000000.0"},
        {0.1, 5, "0.10000"},
        {12.345678, 4, "12.3457"},
        // 2/3 is stored as 0.666666666666666629659...: 17 significant digits
        // round its last kept digit up, and nothing past them is used.
        {2.0 / 3, 17, "0.66666666666666663"},
        {2.0 / 3, 19, "0.6666666666666666300"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDecimal(c.x, c.decimals), c.text) << c.x << " / " << c.decimals;
}

TEST(GetFieldTest, SplitsWrapsAndKeepsEmptyFields) {
    struct Case {
        int n;
        const char* s;
        const char* sep;
        const char* field;
    } cases[] = {
        {2, "10 20 30", " ", "20"},
        {1, "10 20 30", " ", "10"},
        {3, "10 20 30", " ", "30"},
        {4, "10 20 30", " ", "10"},
        {5, "10 20 30", " ", "20"},
        {0, "10 20 30", " ", "10"},
        {-3, "10 20 30", " ", "10"},
        {1, "abc", " ", "abc"},
        {2, "abc", " ", "abc"},
        {2, "a  b", " ", ""},
        {3, "a  b", " ", "b"},
        {2, "x::y::z", "::", "y"},
        {2, "x,", ",", ""},
        {1, "", ",", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetField(c.n, c.s, c.sep), c.field) << c.n << " of '" << c.s << "'";
}

TEST(CollapseRepeatsTest, TrimsAndCollapsesRuns) {
    struct Case {
        const char* s;
        const char* sep;
        const char* out;
    } cases[] = {
        {"  12   34 ", " ", "12 34"},
        {"\t1\n", " ", "1"},
        {"a,,,,,b,,c", ",", "a,b,c"},
        {"a,b", ",", "a,b"},
        {"", " ", ""},
        {"   ", " ", ""},
        {"x--y----z", "--", "x--y--z"},
        {",,a,,", ",", ",a,"},
    };
    for (const auto& c : cases) EXPECT_EQ(CollapseRepeats(c.s, c.sep), c.out) << "'" << c.s << "'";
}

TEST(CollapseRepeatsTest, FeedsGetField) {
    const std::string line = CollapseRepeats("  7   45  300 ", " ");
    EXPECT_EQ(GetField(1, line, " "), "7");
    EXPECT_EQ(GetField(2, line, " "), "45");
    EXPECT_EQ(GetField(3, line, " "), "300");
}

class TPRIZE_10STARS : public TObject {
    TOTEM_CLASS(TPRIZE_10STARS)
};
class TPrizeChild : public TPRIZE_10STARS {
    TOTEM_CLASS(TPrizeChild)
};

TEST(AsciiCaseTest, FoldsOnlyAsciiLetters) {
    struct Case {
        const char* text;
        const char* lower;
        const char* upper;
    } cases[] = {
        {"Media/GFX/Menu_1.PNG", "media/gfx/menu_1.png", "MEDIA/GFX/MENU_1.PNG"},
        {"", "", ""},
        {"@[`{", "@[`{", "@[`{"},                                   // neighbours of the letter ranges
        {"\xC3\x80\xC3\xA9 Zz", "\xC3\x80\xC3\xA9 zz", "\xC3\x80\xC3\xA9 ZZ"},  // UTF-8 bytes untouched
        {"\xC0\xE9", "\xC0\xE9", "\xC0\xE9"},                   // so are Latin-1 bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LowerAscii(c.text), c.lower) << c.text;
        EXPECT_EQ(UpperAscii(c.text), c.upper) << c.text;
    }
}

TEST(ClassNameOfTest, ReturnsTheDeclaredNameOfTheDynamicType) {
    auto prize = std::make_shared<TPRIZE_10STARS>();
    std::shared_ptr<TObject> child = std::make_shared<TPrizeChild>();
    EXPECT_EQ(ClassNameOf(prize), "TPRIZE_10STARS");
    EXPECT_EQ(ClassNameOf(child), "TPrizeChild");
    EXPECT_EQ(ClassNameOf(static_cast<const TObject*>(nullptr)), "");
    EXPECT_STREQ(TPRIZE_10STARS::StaticClassName, "TPRIZE_10STARS");
}

}  // namespace
