#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

#include "content/TPNGFont.h"
#include "media/Graphics.h"

namespace {

namespace fs = std::filesystem;

const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Outcome {
    int status = -1;
    std::string output;
};

// Runs a command, keeping what it printed on both streams.
Outcome Command(const std::string& args) {
    const fs::path log = fs::temp_directory_path() / "totem_fontbake_test.log";
    const std::string command = args + " > " + log.string() + " 2>&1";
    Outcome run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(log);
    run.output.assign(std::istreambuf_iterator<char>(in), {});
    return run;
}

std::string Tool(const std::string& name) { return std::string(TOTEM_BINARY_DIR) + "/bin/" + name; }

fs::path FreshDir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

int Alpha(uint32_t p) { return int(p >> 24); }
int Red(uint32_t p) { return int((p >> 16) & 0xFF); }
int Green(uint32_t p) { return int((p >> 8) & 0xFF); }
int Blue(uint32_t p) { return int(p & 0xFF); }

// The lowest row holding any ink of a glyph picture.
int LowestInkRow(const TPicture& pic) {
    for (int y = pic.Height() - 1; y >= 0; --y)
        for (int x = 0; x < pic.Width(); ++x)
            if (Alpha(pic.ReadPixel(x, y)) > 128) return y;
    return -1;
}

class FontBake : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kDejaVu)) GTEST_SKIP() << kDejaVu << " is not installed";
        dir = FreshDir("totem_fontbake");
    }
    fs::path dir;
};

TEST_F(FontBake, BakedFontLoadsWithLatinOneGlyphsOnOneBaseline) {
    const std::string base = (dir / "plain").string();
    const Outcome run = Command(Tool("totem-fontbake") + " " + kDejaVu + " 14 " + base +
                            " --fill ffffff:e0c080 --outline 400000:1 --shadow 000000:1:2 --kerning -1");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(fs::exists(base + ".png.tmp"));
    EXPECT_FALSE(fs::exists(base + ".fnt.tmp"));
    PNGFontPtr font = CreatePNGFont(base);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Kearning, -1);
    for (int code : {int('A'), int('g'), 233, 255, 192}) EXPECT_GE(font->CharToGlyph(code), 0) << code;
    // Control codes between the two printable ranges are left out.
    EXPECT_LT(font->CharToGlyph(0x85), 0);

    // Every glyph shares the font's height, so text sits on one line.
    ASSERT_GT(font->FHeight, 14);
    int glyphs = 0;
    for (const PNGCharPtr& c : font->Characters) {
        if (!c || !c->_image) continue;
        ++glyphs;
        EXPECT_EQ(c->_h, font->FHeight) << "code " << c->Code;
        EXPECT_EQ(c->_image->height, font->FHeight) << "code " << c->Code;
    }
    EXPECT_GE(glyphs, 94 + 90);

    // Letters without descenders end on the same row; 'g' and 'p' reach below it.
    const auto picture = [&](char c) { return font->Characters[static_cast<unsigned char>(c)]->_image->frames[0]; };
    const int baseline = LowestInkRow(*picture('A'));
    for (char c : {'B', 'H', 'x', 'E'}) EXPECT_EQ(LowestInkRow(*picture(c)), baseline) << c;
    for (char c : {'g', 'p'}) EXPECT_GT(LowestInkRow(*picture(c)), baseline) << c;
}

TEST_F(FontBake, OutlineColourRingsTheFill) {
    const std::string base = (dir / "ringed").string();
    const Outcome run = Command(Tool("totem-fontbake") + " " + kDejaVu + " 16 " + base +
                            " --fill ffffff --outline ff0000:2");
    ASSERT_EQ(run.status, 0) << run.output;
    PNGFontPtr font = CreatePNGFont(base);
    ASSERT_TRUE(font);
    for (char c : {'A', 'O', 'l'}) {
        const TPicture& pic = *font->Characters[static_cast<unsigned char>(c)]->_image->frames[0];
        int edgeRows = 0, whiteInside = 0;
        for (int y = 0; y < pic.Height(); ++y) {
            for (int x = 0; x < pic.Width(); ++x) {
                const uint32_t p = pic.ReadPixel(x, y);
                if (Alpha(p) < 200) continue;
                // The first solid pixel of a row from either side is outline red.
                ++edgeRows;
                EXPECT_GT(Red(p), 200) << c << " row " << y;
                EXPECT_LT(Green(p), 60) << c << " row " << y;
                EXPECT_LT(Blue(p), 60) << c << " row " << y;
                break;
            }
            for (int x = pic.Width() - 1; x >= 0; --x) {
                const uint32_t p = pic.ReadPixel(x, y);
                if (Alpha(p) < 200) continue;
                EXPECT_GT(Red(p), 200) << c << " row " << y;
                EXPECT_LT(Green(p), 60) << c << " row " << y;
                break;
            }
        }
        for (int y = 0; y < pic.Height(); ++y)
            for (int x = 0; x < pic.Width(); ++x) {
                const uint32_t p = pic.ReadPixel(x, y);
                if (Alpha(p) == 255 && Red(p) > 240 && Green(p) > 240 && Blue(p) > 240) ++whiteInside;
            }
        EXPECT_GT(edgeRows, 8) << c;
        EXPECT_GT(whiteInside, 4) << c << " has no fill left inside the outline";
    }
}

TEST_F(FontBake, MissingFontFileIsNamed) {
    const std::string missing = (dir / "no-such-font.ttf").string();
    const Outcome run = Command(Tool("totem-fontbake") + " " + missing + " 14 " + (dir / "out").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(missing), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir / "out.png"));

    // A file that exists but is no font is named too.
    const fs::path junk = dir / "junk.ttf";
    std::ofstream(junk) << "not a font";
    const Outcome junkRun = Command(Tool("totem-fontbake") + " " + junk.string() + " 14 " + (dir / "out").string());
    EXPECT_EQ(junkRun.status, 1);
    EXPECT_NE(junkRun.output.find(junk.string()), std::string::npos) << junkRun.output;
}

TEST_F(FontBake, TableBakesEveryLineAndRejectsMalformedOnesByLine) {
    const fs::path table = dir / "fonts.txt";
    std::ofstream(table) << "# comment\n\nsmall " << kDejaVu << " 12 --fill ffffff\n"
                         << "big " << kDejaVu << " 20 --outline 302010:1\n";
    const fs::path out = dir / "out";
    const Outcome good = Command(Tool("totem-fontbake") + " --table " + table.string() + " " + out.string());
    ASSERT_EQ(good.status, 0) << good.output;
    PNGFontPtr small = CreatePNGFont((out / "small").string());
    PNGFontPtr big = CreatePNGFont((out / "big").string());
    ASSERT_TRUE(small && big);
    EXPECT_GT(big->FHeight, small->FHeight);

    struct Case {
        const char* line;
        const char* hint;
    };
    const Case cases[] = {
        {"broken 12", "NAME FONTFILE SIZE"},
        {"Upper /x.ttf 12", "lower-case"},
        {"name FONT twelve", "twelve"},
        {"name FONT 12 --fill red", "--fill"},
        {"name FONT 12 --outline 000000", "--outline"},
        {"name FONT 12 --glow 1", "--glow"},
        {"small FONT 12", "already used"},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        if (const size_t at = line.find("FONT"); at != std::string::npos) line.replace(at, 4, kDejaVu);
        std::ofstream(table) << "# fonts\nsmall " << kDejaVu << " 12\n\n" << line << "\n";
        const Outcome bad = Command(Tool("totem-fontbake") + " --table " + table.string() + " " + out.string());
        EXPECT_EQ(bad.status, 1) << c.line;
        EXPECT_NE(bad.output.find(table.string() + ":4:"), std::string::npos) << c.line << ": " << bad.output;
        EXPECT_NE(bad.output.find(c.hint), std::string::npos) << c.line << ": " << bad.output;
    }

    // A missing font on a table line names the table line and the font file.
    std::ofstream(table) << "gone " << (dir / "gone.otf").string() << " 12\n";
    const Outcome gone = Command(Tool("totem-fontbake") + " --table " + table.string() + " " + out.string());
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.output.find(table.string() + ":1:"), std::string::npos) << gone.output;
    EXPECT_NE(gone.output.find("gone.otf"), std::string::npos) << gone.output;
}

}  // namespace
