#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "gui/GuiTestSupport.h"
#include "gui/THyperLink.h"
#include "gui/TButtonWidget.h"
#include "gui/TImageWidget.h"
#include "gui/TLabel.h"
#include "media/Clock.h"
#include "media/System.h"
#include "support/ToolTest.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;
using guitest::GuiTest;
using guitest::ProbeFont;
using guitest::Solid;

const uint32_t kBlack = Argb(255, 0, 0, 0);

// ---- Label and image ------------------------------------------------------------

TEST_F(GuiTest, LabelDrawsItsTextInItsFontAndColourAtItsScreenPosition) {
    auto label = std::make_shared<TLabel>();
    label->text = "ab";
    label->Font = std::make_shared<ProbeFont>();
    label->LabelColor = TColor::Create(200, 40, 0);
    label->Resize(300, 200, 0, 0);
    WidgetManager->AddWidget(label);
    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    EXPECT_TRUE(SameColour(shot->ReadPixel(301, 201), Argb(255, 200, 40, 0)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(319, 215), Argb(255, 200, 40, 0)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(320, 208), kBlack)) << "two 10-pixel letters end at x 320";
    EXPECT_TRUE(SameColour(shot->ReadPixel(299, 208), kBlack));
    // Without a size it is never found by the mouse.
    EXPECT_EQ(WidgetManager->WidgetAt(305, 205), nullptr);
}

TEST_F(GuiTest, ImageWidgetDrawsAtItsCornerAndLetsTheMouseThrough) {
    auto under = CreateButton(90, 90, Solid(100, 100, 0, 0, 255), "", 4, listener, 0, 0);
    WidgetManager->AddWidget(under);
    auto image = std::make_shared<TImageWidget>();
    image->Image = Solid(40, 30, 255, 255, 255);
    image->Color = TColor::Create(0, 200, 0);
    image->Resize(100, 100, 40, 30);
    WidgetManager->AddWidget(image);
    PicturePtr shot = Shot();
    ASSERT_TRUE(shot);
    EXPECT_TRUE(SameColour(shot->ReadPixel(100, 100), Argb(255, 0, 200, 0)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(139, 129), Argb(255, 0, 200, 0)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(140, 110), Argb(255, 0, 0, 255)));
    Click(120, 110);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"Enter 4", "DePress 4"}));
}

// ---- Buttons --------------------------------------------------------------------

class ButtonTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        button = CreateButton(200, 200, Solid(100, 40, 0, 0, 200), "", 7, listener, 1, 2);
        button->OverImage = Solid(100, 40, 0, 200, 0);
        button->DownImage = Solid(100, 40, 200, 0, 0);
        WidgetManager->AddWidget(button);
    }
    // Only the clicks the listener heard.
    int Clicks() const {
        return static_cast<int>(std::count(listener->heard.begin(), listener->heard.end(), "DePress 7"));
    }
    ButtonPtr button;
};

TEST_F(ButtonTest, CreateButtonTakesItsSizeFromTheFace) {
    EXPECT_EQ(button->_x, 200);
    EXPECT_EQ(button->_width, 100);
    EXPECT_EQ(button->_height, 40);
    auto bare = CreateButton(10, 10, nullptr, "x", 1, listener, 0, 0);
    EXPECT_EQ(bare->_width * bare->_height, 0) << "a button without a face is out of the mouse's reach";
}

TEST_F(ButtonTest, AClickIsAReleaseOverTheButton) {
    struct Path {
        const char* what;
        std::vector<std::pair<int, int>> whileHeld;  // mouse positions between press and release
        int clicks;
    } paths[] = {
        {"press and release in place", {}, 1},
        {"moved off before the release", {{400, 400}}, 0},
        {"moved off and back on", {{400, 400}, {260, 230}}, 1},
    };
    for (const Path& p : paths) {
        listener->heard.clear();
        MoveTo(250, 220);
        Press();
        for (auto [x, y] : p.whileHeld) MoveTo(x, y);
        Release();
        EXPECT_EQ(Clicks(), p.clicks) << p.what;
        EXPECT_EQ(button->IsDown, 0) << p.what;
        MoveTo(600, 500);
    }
}

// A tap: the button goes down and up again before the next frame looks (a
// touchpad, or an input tool, can be that quick). It is still one click.
TEST_F(ButtonTest, ATapWithinOneFrameStillClicks) {
    MoveTo(250, 220);
    InjectMouseButton(1, true);
    InjectMouseButton(1, false);
    Frame();
    Frame();
    EXPECT_EQ(Clicks(), 1);
    Frame(3);
    EXPECT_EQ(Clicks(), 1) << "one tap, one click";
}

// The pressed face shows, shifted by (1, 2), only while the left button holds
// the button down with the mouse over it; a right click clicks without it.
TEST_F(ButtonTest, PressedFaceOnlyForTheLeftButtonWhileOver) {
    const uint32_t red = Argb(255, 200, 0, 0);
    MoveTo(250, 220);
    Press(1);
    PicturePtr shot = Shot();
    EXPECT_TRUE(SameColour(shot->ReadPixel(201, 202), red)) << "pressed face, shifted";
    EXPECT_TRUE(SameColour(shot->ReadPixel(300, 241), red)) << "the shift reaches one pixel right and two down";
    EXPECT_FALSE(SameColour(shot->ReadPixel(200, 201), red)) << "nothing left of or above the shifted face";
    MoveTo(400, 400);
    EXPECT_FALSE(SameColour(Shot()->ReadPixel(250, 220), red)) << "off the button: no pressed look";
    Release(1);

    listener->heard.clear();
    MoveTo(250, 220);
    Press(2);
    EXPECT_FALSE(SameColour(Shot()->ReadPixel(250, 220), red)) << "right button: never the pressed face";
    Release(2);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(ButtonTest, HoverFadesInAndOutAndIsReportedEveryFrame) {
    MoveTo(250, 220);
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"Enter 7"}));
    Frame(4);
    EXPECT_NEAR(button->OverAlpha, 0.5f, 1e-4);
    EXPECT_EQ(listener->overs, 5);
    Frame(10);
    EXPECT_FLOAT_EQ(button->OverAlpha, 1.0f);
    // Halfway faded in, the hover face shows half over the normal face.
    MoveTo(500, 500);
    Frame(4);
    EXPECT_NEAR(button->OverAlpha, 0.5f, 1e-4);
    EXPECT_TRUE(SameColour(Shot()->ReadPixel(250, 220), Argb(255, 0, 100, 100), 4));
    EXPECT_EQ(listener->heard.back(), "Leave 7");
    EXPECT_EQ(listener->overs, 15);

    // A click resets the fade; hiding resets the hover as well.
    MoveTo(250, 220);
    Frame(5);
    Press();
    Release();
    EXPECT_LT(button->OverAlpha, 0.2f);
    Frame(5);
    button->SetHided(1);
    EXPECT_EQ(button->OverAlpha, 0);
    EXPECT_EQ(button->IsOver, 0);
}

TEST_F(ButtonTest, DisabledOrHiddenButtonIgnoresClicks) {
    button->SetEnable(0);
    Click(250, 220);
    button->SetEnable(1);
    button->SetHided(1);
    Click(251, 221);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_TRUE(listener->heard.empty());
    button->SetHided(0);
    Click(252, 222);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(ButtonTest, CaptionIsPlacedByItsJustification) {
    auto font = std::make_shared<ProbeFont>();
    button->Font = font;
    button->Label = "ab";  // 20 wide, 16 high on a 100×40 button
    struct Case {
        int justify, x;
    } cases[] = {{1, 0}, {2, 40}, {3, 80}, {7, 0}};
    for (const Case& c : cases) {
        button->LabelJustify = c.justify;
        button->LabelYDef = 3;
        font->drawn.clear();
        Shot();
        ASSERT_EQ(font->drawn.size(), 1u);
        EXPECT_FLOAT_EQ(font->drawn[0].x, static_cast<float>(c.x)) << "justify " << c.justify;
        EXPECT_FLOAT_EQ(font->drawn[0].y, 20 - 8 + 3) << "justify " << c.justify;
    }
}

// Three hovers start three emitters at the button's centre; each goes away
// once it reports Death.
TEST_F(ButtonTest, EachHoverStartsParticlesThatGoAwayWhenDone) {
    UseDrivenClock(5000);
    auto effect = TEffect::New();
    effect->GenSpeed = 100;
    effect->TimeOut = 30;
    effect->Lifetime = {40, 40};
    effect->Image = Solid(4, 4, 255, 255, 255);
    button->EffectOver = effect;
    for (int i = 0; i < 3; ++i) {
        MoveTo(250 + i, 220);
        MoveTo(500, 500);
    }
    ASSERT_EQ(button->Emitters.size(), 3u);
    for (const auto& e : button->Emitters) {
        EXPECT_FLOAT_EQ(e->x, 250);
        EXPECT_FLOAT_EQ(e->y, 220);
    }
    for (int i = 0; i < 2; ++i) {
        AdvanceClock(25);
        Frame();
    }
    EXPECT_EQ(button->Emitters.size(), 3u) << "still making particles";
    EXPECT_GT(button->Emitters[0]->ParticleCount(), 0u);
    AdvanceClock(200);
    Frame(2);
    EXPECT_TRUE(button->Emitters.empty());
    UseRealClock();
}

// ---- Links ----------------------------------------------------------------------

TEST_F(GuiTest, LinkLightsUpWhenPointedAtAndReportsItsClick) {
    auto link = CreateHyperLink("ab", std::make_shared<ProbeFont>(), 8, listener);
    link->NormalColor = TColor::Create(100, 100, 100);
    link->Resize(300, 500, 100, 20);
    WidgetManager->AddWidget(link);
    // Centred in its 100 pixels: the two letters cover x 340–359.
    EXPECT_TRUE(SameColour(Shot()->ReadPixel(345, 505), Argb(255, 100, 100, 100)));
    MoveTo(350, 510);
    PicturePtr shot = Shot();
    EXPECT_TRUE(SameColour(shot->ReadPixel(345, 505), Argb(255, 254, 254, 254)));
    EXPECT_TRUE(SameColour(shot->ReadPixel(338, 505), kBlack));
    Press();
    Release();
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"DePress 8"}));
}

TEST_F(GuiTest, LinkOpensItsShortcutOnlyWhenTheShortcutIsThere) {
    // With a real desktop the opener would start a browser.
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const bool headless = driver && (std::string(driver) == "offscreen" || std::string(driver) == "dummy");
    if (!headless && (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")))
        GTEST_SKIP() << "a desktop is present; opening a link would start its browser";
    const std::filesystem::path folder = TestTempPath("links");
    std::filesystem::create_directories(folder);
    const std::filesystem::path shortcut = folder / "site.url";
    {
        std::ofstream out(shortcut);
        out << "[InternetShortcut]\nURL=https://totem.invalid/" << ::testing::UnitTest::GetInstance()->random_seed()
            << "\n";
    }
    auto link = CreateHyperLink("site", nullptr, 9, listener);
    link->URL = shortcut.string();
    link->Resize(100, 100, 200, 20);
    WidgetManager->AddWidget(link);
    Click(150, 110);
    const std::string opened = LastOpenedURL();
    EXPECT_EQ(opened.rfind("https://totem.invalid/", 0), 0u) << opened;

    link->URL = (shortcut.parent_path() / "missing-site.url").string();
    Click(150, 110);
    EXPECT_EQ(LastOpenedURL(), opened) << "a missing shortcut opens nothing";
    EXPECT_EQ(listener->heard.size(), 2u) << "both clicks were reported";
    std::filesystem::remove_all(folder);
}

}  // namespace
