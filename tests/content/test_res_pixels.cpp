// Pictures of resource entries hold their pixels on the GPU only once drawn:
// each kind of entry must read its files again, exactly as first loaded, when
// its pixels are wanted or the display is reopened.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "content/DataPak.h"
#include "content/ResourceFolder.h"
#include "content/TPNGFont.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "media/Graphics.h"
#include "media/GraphicsTestSupport.h"
#include "media/TStream.h"


namespace {

class ResourcePixels : public gfxtest::DisplayTest {
protected:
    void SetUp() override {
        gfxtest::DisplayTest::SetUp();
        if (!IsSkipped()) folder_.Enter("totem_res_pixels");
    }
    void TearDown() override {
        folder_.Leave();
        gfxtest::DisplayTest::TearDown();
    }

    // A picture filled by f(x, y), with or without an alpha channel.
    template <class F>
    static void WritePicture(const std::string& path, int w, int h, bool alpha, F f) {
        ASSERT_TRUE(content_test::WritePicture(path, w, h, alpha, f));
    }

    // One entry of each kind that holds pictures: a plain picture, one with a
    // companion mask, a strip from an opaque picture (masked), a bitmap font.
    void DeclareAndLoad() {
        WritePicture("plain.png", 6, 5, true, [](int x, int y) { return 0xFF000000u | uint32_t(x * 40 << 16) | uint32_t(y * 50); });
        WritePicture("btn.png", 4, 2, false, [](int x, int) { return 0xFF102030u + uint32_t(x); });
        WritePicture("btn_.png", 4, 2, false, [](int x, int) { return 0xFF000000u | uint32_t(x * 80); });
        WritePicture("cells.png", 8, 4, false, [](int x, int y) {
            return y == 0 ? 0xFF000000u : (x < 4 ? 0xFFFF0000u : 0xFF00FF00u);
        });
        WritePicture("fonts/small.png", 16, 8, true, [](int x, int) { return x < 8 ? 0xFFFFFFFFu : 0xFF00FFFFu; });
        StreamPtr table = OpenWrite("fonts/small.fnt");
        ASSERT_TRUE(table);
        for (int v : std::initializer_list<int>{0, 0, 2, 0, 'A', 0, 0, 8, 8, 'B', 8, 0, 8, 8}) table->WriteInt(v);
        table->Close();
        const std::string xml = R"(<r><resources id="s">
            <image id="plain" path="plain.png"/>
            <image id="btn" path="btn.png"/>
            <animimage id="cells" path="cells.png" width="4" height="4" frames="2"/>
            <imagefont id="small" path="fonts/small"/>
          </resources></r>)";
        LoadResourceFile(XmlLoad(OpenMemory({xml.begin(), xml.end()})));
        ResManager->ResetLoadingPanel();
        ResManager->LoadScope("s");
        ASSERT_TRUE(folder_.fatal.empty()) << folder_.fatal.front();
    }

    static PicturePtr DrawAll() {
        SetClsColor(100, 100, 100);
        Cls();
        DrawImage(ResManager->GetImage("plain"), 10, 10);
        DrawImage(ResManager->GetImage("btn"), 30, 10);
        DrawImage(ResManager->GetImage("cells"), 40, 10, 0);
        DrawImage(ResManager->GetImage("cells"), 50, 10, 1);
        SetFont(ResManager->GetImageFont("small"));
        DrawText("AB", 10, 30);
        SetFont(nullptr);
        return GrabFrame();
    }

    static std::vector<PicturePtr> Pictures() {
        auto font = std::dynamic_pointer_cast<TPNGFont>(ResManager->GetImageFont("small"));
        return {ResManager->GetImage("plain")->frames[0], ResManager->GetImage("btn")->frames[0],
                ResManager->GetImage("cells")->frames[1], font ? font->font : nullptr};
    }

    content_test::ResourceFolder folder_;
};

TEST_F(ResourcePixels, DrawnEntriesLetTheirPixelsGoAndReadTheirFilesAgain) {
    DeclareAndLoad();
    if (HasFatalFailure()) return;
    const PicturePtr before = DrawAll();
    for (const PicturePtr& picture : Pictures()) {
        ASSERT_TRUE(picture);
        EXPECT_FALSE(picture->PixelsHeld()) << picture->Width() << "x" << picture->Height();
    }
    struct Probe { const char* id; int frame, x, y; uint32_t argb; };
    const Probe probes[] = {
        {"plain", 0, 3, 4, 0xFF780000u | 200u},
        {"btn", 0, 2, 1, (uint32_t(160) << 24) | 0x102032u},
        {"cells", 0, 1, 0, 0x00000000u},  // black is the mask colour of an opaque strip
        {"cells", 1, 1, 2, 0xFF00FF00u},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(LockImage(ResManager->GetImage(p.id), p.frame)->ReadPixel(p.x, p.y), p.argb) << p.id;
    auto font = std::dynamic_pointer_cast<TPNGFont>(ResManager->GetImageFont("small"));
    EXPECT_EQ(font->font->ReadPixel(9, 3), 0xFF00FFFFu);

    for (int round = 0; round < 2; ++round) {
        CloseDisplay();
        ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));
        SetVirtualResolution(800, 600);
        gfxtest::ResetDrawState();
        const PicturePtr after = DrawAll();
        int differing = 0;
        for (int y = 0; y < 45; ++y)
            for (int x = 0; x < 60; ++x) differing += before->ReadPixel(x, y) != after->ReadPixel(x, y);
        EXPECT_EQ(differing, 0) << "round " << round;
        for (const PicturePtr& picture : Pictures()) EXPECT_FALSE(picture->PixelsHeld());
    }
    EXPECT_TRUE(folder_.fatal.empty());
}

}  // namespace
