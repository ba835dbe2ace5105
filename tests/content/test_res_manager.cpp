#include <gtest/gtest.h>

#include <fstream>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/DataPak.h"
#include "content/ResourceFolder.h"
#include "content/TAnimImage.h"
#include "content/TPNGFont.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "media/AudioFixtures.h"
#include "media/Graphics.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

// Every test runs in a fresh folder with a fresh manager and a fatal-message
// hook that records instead of ending the program.
class ResManagerTest : public ::testing::Test {
protected:
    void SetUp() override { folder_.Enter("totem_res"); }
    void TearDown() override { folder_.Leave(); }

    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
        fs::path p(path);
        if (p.has_parent_path()) fs::create_directories(p.parent_path());
        StreamPtr out = OpenWrite(path);
        ASSERT_TRUE(out) << path;
        out->Write(bytes.data(), bytes.size());
        out->Close();
    }
    // A picture filled by f(x, y).
    template <class F>
    static void WritePicture(const std::string& path, int w, int h, F f) {
        ASSERT_TRUE(content_test::WritePicture(path, w, h, true, f));
    }
    static void WriteSolid(const std::string& path, int w, int h) {
        WritePicture(path, w, h, [](int, int) { return 0xFF204060u; });
    }
    static void Declare(const std::string& xml) { LoadResourceFile(XmlLoad(OpenMemory({xml.begin(), xml.end()}))); }

    content_test::ResourceFolder folder_;
};

TEST_F(ResManagerTest, SetDefaultsPrefixesPathsAndIds) {
    Declare(R"(<res>
      <Resources id="Menu">
        <setdefaults path="media/menu/" idprefix="MENU_"/>
        <image id="BACK" path="back.png"/>
        <setdefaults path=""/>
        <IMAGE id="Logo" path="Media/Logo.PNG" midhandle="1" handlex="3" handley="4" optional="1"/>
        <animimage id="stone" path="s.png" width="16" height="8" frames="4"/>
        <sound id="Click" path="c.wav" loop="1"/>
        <imagefont id="big" path="fonts/big"/>
        <effect id="spark" path="fx/spark.xml"/>
        <unknown id="zzz" path="zzz"/>
      </Resources>
      <other><image id="ignored" path="x.png"/></other>
      <resources><image id="noscope" path="n.png"/></resources>
    </res>)");
    const auto& r = ResManager->Resources;
    ASSERT_EQ(r.size(), 7u);
    struct Row { const char *name, *file, *scope; };
    const Row rows[] = {{"menu_back", "media/menu/back.png", "menu"}, {"menu_logo", "media/logo.png", "menu"},
                        {"menu_stone", "s.png", "menu"},              {"menu_click", "c.wav", "menu"},
                        {"menu_big", "fonts/big", "menu"},            {"menu_spark", "fx/spark.xml", "menu"},
                        {"noscope", "n.png", ""}};
    for (size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i]->name, rows[i].name) << i;
        EXPECT_EQ(r[i]->FileName, rows[i].file) << i;
        EXPECT_EQ(r[i]->Scope, rows[i].scope) << i;
    }
    EXPECT_EQ(r[0]->mask, "media/menu/0");
    EXPECT_EQ(r[0]->Optional, 0);
    EXPECT_EQ(r[1]->MidHandle, 1);
    EXPECT_EQ(r[1]->HandleX, 3);
    EXPECT_EQ(r[1]->Optional, 1);
    auto* strip = dynamic_cast<TResAnimImage*>(r[2].get());
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->AnimSpeed, -1);
    EXPECT_EQ(strip->FramesNum, 4);
    EXPECT_EQ(strip->FrameWidth, 16);
    EXPECT_EQ(dynamic_cast<TResSound*>(r[3].get())->Loop, 1);
    EXPECT_EQ(r[4]->Size, 12);
    EXPECT_TRUE(dynamic_cast<TResEffect*>(r[5].get()));
}

TEST_F(ResManagerTest, ProgressCallbackCoversCountedScopes) {
    for (int i = 0; i < 40; ++i)
        ResManager->ResAddData("f" + std::to_string(i), "id" + std::to_string(i), std::make_shared<TRes>(),
                               i % 2 ? "Gryph" : "MENU");
    ResManager->ResAddData("other", "other", std::make_shared<TRes>(), "elsewhere");
    std::vector<float> seen;
    ResManager->DrawLoading = [&](float p) { seen.push_back(p); };
    ResManager->ResetLoadingPanel();
    ResManager->LoadingPanelAddScope("menu");
    ResManager->LoadingPanelAddScope("GRYPH");
    EXPECT_EQ(ResManager->LoadingMax, 40);
    ResManager->LoadScope("Menu");
    ResManager->LoadScope("gryph");
    ASSERT_EQ(seen.size(), 40u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_NEAR(seen[i], 2.5f * static_cast<float>(i + 1), 1e-3f) << i;
}

TEST_F(ResManagerTest, DuplicateDeclarations) {
    WriteSolid("a.png", 4, 4);
    WriteSolid("b.png", 6, 6);
    ResManager->ResLoadImage("a.png", "Dup", "s", 0, 0, 0, "0");
    ResManager->ResLoadImage("b.png", "DUP", "s", 0, 0, 0, "0");
    EXPECT_EQ(ResManager->Resources.size(), 2u) << "nothing loaded yet: both registered";
    ResManager->ResetLoadingPanel();
    ResManager->LoadScope("s");
    ImagePtr first = ResManager->GetImage("dup");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->width, 4) << "the first registered entry wins";
    ResManager->ResLoadImage("C.png", "dUp", "s", 0, 0, 0, "0");
    EXPECT_EQ(ResManager->Resources.size(), 2u);
    ASSERT_FALSE(ResManager->DebugTrace.empty());
    EXPECT_EQ(ResManager->DebugTrace.back(), "File already loaded c.png");
    EXPECT_TRUE(folder_.fatal.empty());
}

TEST_F(ResManagerTest, CompanionAndExplicitMasksGiveTheAlpha) {
    // Opaque colour; masks whose blue channel varies with x.
    WritePicture("gui/btn.png", 4, 2, [](int x, int) { return 0xFF102030u + uint32_t(x); });
    WritePicture("gui/btn_.png", 4, 2, [](int x, int) { return 0xFF000000u | uint32_t(x * 80); });
    WritePicture("plain.png", 4, 2, [](int, int) { return 0xFF405060u; });
    WritePicture("m/plainmask.png", 4, 2, [](int x, int) { return 0xFF0000FFu - uint32_t(x * 10); });
    Declare(R"(<r><resources id="s">
        <image id="btn" path="gui/btn.png"/>
        <setdefaults path="m/"/>
        <image id="plain" path="../plain.png" mask="plainmask.png"/>
      </resources></r>)");
    ResManager->ResetLoadingPanel();
    ResManager->LoadScope("s");
    ASSERT_TRUE(folder_.fatal.empty()) << folder_.fatal.front();
    ImagePtr btn = ResManager->GetImage("btn");
    ASSERT_TRUE(btn);
    for (int x = 0; x < 4; ++x) {
        const uint32_t px = btn->frames[0]->ReadPixel(x, 1);
        EXPECT_EQ(px >> 24, uint32_t(x * 80)) << x;
        EXPECT_EQ(px & 0xFFFFFFu, 0x102030u + uint32_t(x)) << x;
    }
    ImagePtr plain = ResManager->GetImage("plain");
    ASSERT_TRUE(plain);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(plain->frames[0]->ReadPixel(x, 0) >> 24, 255u - uint32_t(x * 10)) << x;
}

TEST_F(ResManagerTest, MissingFilesAreFatalUnlessOptional) {
    WritePicture("colour.png", 2, 2, [](int, int) { return 0xFFFFFFFFu; });
    Declare(R"(<r><resources id="s">
        <image id="req" path="Missing/Req.PNG"/>
        <image id="opt" path="gone.png" optional="1"/>
        <image id="masked" path="colour.png" mask="nomask.png" optional="1"/>
        <animimage id="strip" path="nostrip.png" width="2" height="2" frames="2"/>
        <imagefont id="font" path="nofont"/>
        <sound id="snd" path="nosound.wav"/>
      </resources></r>)");
    ResManager->ResetLoadingPanel();
    ResManager->LoadScope("s");
    EXPECT_EQ(folder_.fatal, (std::vector<std::string>{"missing/req.png not found", "nomask.png not found",
                                                "nostrip.png not found", "nofont not found",
                                                "nosound.wav not found"}));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ResManager->GetImage("OPT"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not found opt\n");
}

// A description file cut short, emptied or overwritten: the game must be able
// to tell it from a good one, and an entry it left without a file is reported
// with the file and the id, not as an empty path.
TEST_F(ResManagerTest, DamagedDescriptionFileIsCountedAndNamed) {
    const struct {
        const char* text;
        int groups;
    } cases[] = {
        {"", 0},
        {"\x13\x7f<<\x01 noise", 0},
        {"<r><other/></r>", 0},
        {"<r><resources id=\"s\"><image id=\"Cut\" path=\"media/gf", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ResManager = std::make_shared<TResManager>();
        folder_.fatal.clear();
        { std::ofstream("desc.xml", std::ios::trunc) << c.text; }
        EXPECT_EQ(LoadResourceFile("desc.xml"), c.groups);
        if (c.groups == 0) continue;
        ResManager->ResetLoadingPanel();
        ResManager->LoadScope("s");
        EXPECT_EQ(folder_.fatal, std::vector<std::string>{"desc.xml gives no file for cut: not found"});
    }
    EXPECT_EQ(LoadResourceFile("no such file.xml"), 0);
}

TEST_F(ResManagerTest, LookupsAndNotFoundLines) {
    WriteSolid("i.png", 2, 2);
    ResManager->ResLoadImage("i.png", "Pic", "s", 0, 0, 0, "0");
    ResManager->ResLoadImage("j.png", "unloaded", "t", 0, 0, 0, "0");
    ResManager->ResetLoadingPanel();
    ResManager->LoadScope("s");
    struct Case { const char* what; std::function<bool()> call; bool found; const char* printed; };
    const Case cases[] = {
        {"GetData empty id", [] { return ResManager->GetData("") != nullptr; }, false, ""},
        {"GetRes empty id", [] { return ResManager->GetRes("") != nullptr; }, false, "Not found \n"},
        {"GetData any case", [] { return ResManager->GetData("PIC") != nullptr; }, true, ""},
        {"GetRes unknown", [] { return ResManager->GetRes("Nope") != nullptr; }, false, "Not found nope\n"},
        {"GetData not loaded", [] { return ResManager->GetData("unloaded") != nullptr; }, false,
         "Not found unloaded\n"},
        {"GetSound of an image", [] { return ResManager->GetSound("pic") != nullptr; }, false, ""},
        {"GetImageFont of an image", [] { return ResManager->GetImageFont("pic") != nullptr; }, false, ""},
        {"GetEffect of an image", [] { return ResManager->GetEffect("pic") != nullptr; }, false, ""},
        {"GetImage", [] { return ResManager->GetImage("Pic") != nullptr; }, true, ""},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        const bool found = c.call();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(found, c.found) << c.what;
        EXPECT_EQ(out, c.printed) << c.what;
    }
}

TEST_F(ResManagerTest, ReloadReplacesImagesKeepsSoundsAndUnloadClears) {
    WriteSolid("i.png", 8, 6);
    WriteBytes("s.wav", audio_fixtures::MakeWav(1, 22050, 16, std::vector<int>(64, 100)));
    ResManager->ResLoadImage("i.png", "img", "lvl", 1, 0, 0, "0");
    ResManager->ResLoadImage("i.png", "img2", "lvl", 0, 3, 5, "0");
    ResManager->ResLoadSound("s.wav", "snd", 1, "lvl");
    ResManager->ResetLoadingPanel();
    ResManager->LoadScope("lvl");
    ImagePtr a = ResManager->GetImage("img");
    SoundPtr s = ResManager->GetSound("snd");
    ASSERT_TRUE(a && s);
    EXPECT_TRUE(s->Loops());
    EXPECT_FLOAT_EQ(a->handle_x, 4);
    EXPECT_FLOAT_EQ(a->handle_y, 3);
    ImagePtr b = ResManager->GetImage("img2");
    ASSERT_TRUE(b);
    EXPECT_FLOAT_EQ(b->handle_x, 3);
    EXPECT_FLOAT_EQ(b->handle_y, 5);
    ResManager->LoadScope("LVL");
    EXPECT_NE(ResManager->GetImage("img"), a);
    EXPECT_EQ(ResManager->GetSound("snd"), s);
    ResManager->UnLoadScope("Lvl");
    for (const ResPtr& r : ResManager->Resources) EXPECT_FALSE(r->data) << r->name;
    EXPECT_TRUE(folder_.fatal.empty());
}

TEST_F(ResManagerTest, BitmapFontEntryAndStripWithCompanionMask) {
    WriteSolid("fonts/small.png", 32, 16);
    {
        StreamPtr out = OpenWrite("fonts/small.fnt");
        ASSERT_TRUE(out);
        for (int v : std::initializer_list<int>{1, 0, 1, 0, 'A', 0, 0, 7, 9}) out->WriteInt(v);
        out->Close();
    }
    WritePicture("strip.png", 8, 4, [](int, int) { return 0xFFFFFFFFu; });
    WritePicture("strip_.png", 8, 4, [](int x, int) { return x < 4 ? 0xFF000000u : 0xFFFFFFFFu; });
    Declare(R"(<r><resources id="s">
        <imagefont id="small" path="fonts/small"/>
        <animimage id="strip" path="strip.png" width="4" height="4" frames="2" animspeed="70" midhandle="1"/>
      </resources></r>)");
    ResManager->ResetLoadingPanel();
    ResManager->LoadScope("s");
    ASSERT_TRUE(folder_.fatal.empty()) << folder_.fatal.front();
    auto font = std::dynamic_pointer_cast<TPNGFont>(ResManager->GetImageFont("small"));
    ASSERT_TRUE(font);
    EXPECT_EQ(font->LoadGlyph('A')->_w, 8);
    ImagePtr strip = ResManager->GetImage("strip");
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->FrameCount(), 2);
    EXPECT_EQ(strip->frames[0]->ReadPixel(1, 1) >> 24, 0u);
    EXPECT_EQ(strip->frames[1]->ReadPixel(1, 1) >> 24, 255u);
    EXPECT_FLOAT_EQ(strip->handle_x, 2);

    auto own = TAnimImage::Load2("STRIP", -1);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->AnimSpeed, 70);
    EXPECT_EQ(own->Frames, 2);
    EXPECT_EQ(own->Image, strip);
    auto fixed = TAnimImage::Load2("strip", 250);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->AnimSpeed, 250);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(TAnimImage::Load2("small", -1)) << "a font is not a strip";
    EXPECT_FALSE(TAnimImage::Load2("none", -1));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not found none\n");
}

}  // namespace
