#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include <unistd.h>

#include "tools/totem-content-check/ContentCheck.h"
#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "media/Graphics.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

fs::path GameDir() { return fs::path(TOTEM_BINARY_DIR) / "game"; }

// Runs the tool once for all tests: it writes every window of the built game.
class GuiShot : public ToolTest {
protected:
    GuiShot() : ToolTest("totem-gui-shot") {}
    static void TearDownTestSuite() { fs::remove_all(Shots()); }
    void SetUp() override {
        if (!fs::is_regular_file(GameDir() / "res.xml")) GTEST_SKIP() << "the game content is not built";
        ToolTest::SetUp();
        static const ToolRun once = Tool(Q(GameDir()) + " " + Q(Shots()));
        run_ = once;
        gui_ = XmlLoad((GameDir() / "gui.xml").string());
        ASSERT_TRUE(gui_);
    }
    static fs::path Shots() { return fs::temp_directory_path() / ("totem-gui-shot_" + std::to_string(::getpid())); }
    static PicturePtr Window(const std::string& id) { return LoadPicture((Shots() / (id + ".png")).string()); }

    ToolRun run_{};
    XmlNode gui_;
};

TEST_F(GuiShot, WritesEveryWindowWithNothingMissing) {
    EXPECT_EQ(run_.status, 0) << run_.out << run_.err;
    int windows = 0;
    for (sdXMLnode* node = gui_->firstchild; node; node = node->NextNode) {
        if (node->Tag != "window") continue;
        ++windows;
        const std::string id = XmlAttrString(node, "id", "");
        PicturePtr shot = Window(id);
        ASSERT_TRUE(shot) << id;
        EXPECT_EQ(shot->Width(), 800);
        EXPECT_EQ(shot->Height(), 600);
    }
    EXPECT_GE(windows, 11);
    EXPECT_EQ(run_.out.find("Not found"), std::string::npos) << run_.out;
    EXPECT_EQ(run_.out.find("NOT FOUND"), std::string::npos) << run_.out;
}

// Every button of a framed dialog shows its face at the spot its layout
// gives: a pixel near the face's left edge, halfway down, matches the
// picture (the caption is drawn in the middle, so the edge is compared).
TEST_F(GuiShot, ButtonsSitWhereTheLayoutPutsThem) {
    ASSERT_EQ(run_.status, 0) << run_.out << run_.err;
    const std::vector<DeclaredResource> declared = ReadDeclarations(XmlLoad((GameDir() / "res.xml").string()));
    auto picture = [&](const std::string& id) -> PicturePtr {
        for (const DeclaredResource& r : declared)
            if (r.id == LowerAscii(id)) return GameFolderPicture(GameDir(), r.path);
        return nullptr;
    };
    int compared = 0;
    for (sdXMLnode* window = gui_->firstchild; window; window = window->NextNode) {
        if (window->Tag != "window") continue;
        const std::string id = XmlAttrString(window, "id", "");
        const VectorPtr size = XmlAttrVector(window, "size", nullptr);
        const VectorPtr pos = XmlAttrVector(window, "pos", MakeVector(-1, -1));
        if (!size || id == "messagebox") continue;  // the message box places its own buttons
        const int w = int(size->x), h = int(size->y);
        const bool centred = pos->x == -1 && pos->y == -1;
        const int wx = centred ? int(400.0f - float(w / 2)) : int(pos->x);
        const int wy = centred ? int(300.0f - float(h / 2)) : int(pos->y);
        PicturePtr shot = Window(id);
        ASSERT_TRUE(shot) << id;
        for (sdXMLnode* b = gui_->firstchild; b; b = b->NextNode) {
            if (b->Tag != "button" || XmlAttrString(b, "window_id", "") != id) continue;
            PicturePtr face = picture(XmlAttrString(b, "image", ""));
            ASSERT_TRUE(face) << XmlAttrString(b, "image", "");
            const VectorPtr p = XmlAttrVector(b, "pos", MakeVector(0, 0));
            float x = p->x;
            if (XmlAttrInt(b, "x_centered", 0) != 0) x -= float(face->Width()) / 2.0f;
            // Halfway down the face, the middle of the first three opaque
            // pixels in a row from the left (the caption sits further in).
            const int fy = face->Height() / 2;
            auto opaque = [&](int fx) { return (face->ReadPixel(fx, fy) >> 24) >= 250; };
            int fx = 1;
            while (fx < face->Width() / 3 && !(opaque(fx - 1) && opaque(fx) && opaque(fx + 1))) ++fx;
            if (fx >= face->Width() / 3) continue;  // no opaque edge to compare
            const uint32_t want = face->ReadPixel(fx, fy);
            const uint32_t got = shot->ReadPixel(wx + int(x) + fx, wy + int(p->y) + fy);
            int diff = 0;
            for (int shift = 0; shift <= 16; shift += 8)
                diff += std::abs(int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF));
            EXPECT_LT(diff, 30) << "button \"" << XmlAttrString(b, "id", "") << "\" of " << id;
            ++compared;
        }
    }
    EXPECT_GE(compared, 20);
}

}  // namespace
