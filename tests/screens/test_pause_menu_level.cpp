// The pause menu over a level that really plays: Escape opens it through the
// controller's hook, the level stands still behind it, and "resume" goes on
// from where it stopped; saying no to quitting leaves it paused.
#include "game/HighwayTestSupport.h"

#include "ScreensTestSupport.h"
#include "content/TResManager.h"
#include "content/TextTable.h"
#include "content/Xml.h"
#include "core/QuitRequest.h"
#include "core/TextHelpers.h"
#include "game/LevelHooks.h"
#include "gui/GuiDocument.h"
#include "gui/TMessageBox.h"
#include "screens/ScreenHooks.h"
#include "screens/TInGameMenu.h"

namespace {

using namespace highway_test;

class PauseMenuLevel : public HighwayTest {
protected:
    void SetUp() override {
        HighwayTest::SetUp();
        if (IsSkipped()) return;
        savedTexts_ = TextTable;
        TextTable.assign(300, std::string());
        const std::string text = std::string("<gui>\n") + screens_test::ScreensLayout() + "\n</gui>\n";
        GuiDocument = XmlLoad(OpenMemory(std::vector<uint8_t>(text.begin(), text.end()), "test gui.xml"));
        ResManager = std::make_shared<TResManager>();
        auto button = std::make_shared<TRes>();
        button->name = LowerAscii("IMG_BTN");
        button->data = gfxtest::SolidImage(140, 44, gfxtest::Argb(255, 0, 0, 200));
        button->kind = ResKind::Image;
        ResManager->Resources.push_back(button);
        StartMode = START_MODE_MENU;
        InstallScreenHooks();
    }
    void TearDown() override {
        SetLevelHooks({});
        GuiDocument.reset();
        ResManager.reset();
        if (!savedTexts_.empty()) TextTable = savedTexts_;
        ClearQuitRequest();
        HighwayTest::TearDown();
    }

    // One frame of the main loop: the clock moves, then every widget.
    static void Tick() {
        GameClock += 17;
        AdvanceClock(17);
        PollEvents();
        WidgetManager->Update(1);
    }
    static void ClickOn(const TWidget& w) {
        const int x = int(w._x) + w._width / 2, y = int(w._y) + w._height / 2;
        InjectMouseMove(x, y);
        Tick();
        InjectMouseButton(1, true);
        Tick();
        InjectMouseButton(1, false);
        Tick();
    }
    static std::shared_ptr<TInGameMenu> OpenMenu() {
        for (const WidgetPtr& w : WidgetManager->WidgetsList)
            if (auto m = std::dynamic_pointer_cast<TInGameMenu>(w)) return m;
        return nullptr;
    }
    static ButtonPtr ButtonOf(const TWidget& dialog, int id) {
        for (const WidgetPtr& w : dialog.Widgets)
            if (auto b = std::dynamic_pointer_cast<TButtonWidget>(w); b && b->ID == id) return b;
        return nullptr;
    }

private:
    std::vector<std::string> savedTexts_;
};

TEST_F(PauseMenuLevel, ResumeGoesOnFromWhereTheLevelStopped) {
    LoadQuietChart();
    for (int i = 0; i < 60; ++i) Tick();
    ASSERT_GT(gryph->SongTime, 0);
    InjectKey(KEY_ESCAPE, true);
    InjectKey(KEY_ESCAPE, false);
    Tick();
    const auto menu = OpenMenu();
    ASSERT_TRUE(menu) << "Escape opens the pause menu";
    EXPECT_EQ(game->GamePaused, 1);
    const int32_t songTime = gryph->SongTime;
    const float pausedAt = GameClock;
    const int64_t position = gryph->SongChannel->Position();
    EXPECT_EQ(gryph->SongChannel->Playing(), 0);

    // Two seconds in the menu: nothing of the level moves.
    for (int i = 0; i < 120; ++i) {
        Tick();
        MixerRender(nullptr, 750);
    }
    EXPECT_EQ(gryph->SongTime, songTime);
    EXPECT_EQ(gryph->SongChannel->Position(), position);

    ClickOn(*menu->BUTTON_RESUME);
    EXPECT_FALSE(OpenMenu());
    EXPECT_EQ(game->GamePaused, 0);
    EXPECT_EQ(gryph->SongChannel->Playing(), 1);
    EXPECT_LE(GameClock, pausedAt + 17) << "the clock went back to the pause";
    const int32_t resumedAt = gryph->SongTime;
    EXPECT_LE(resumedAt - songTime, 17);
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_EQ(gryph->SongTime, resumedAt + 170) << "and runs on from there";
}

TEST_F(PauseMenuLevel, SayingNoToQuittingLeavesTheMenuAndThePause) {
    LoadQuietChart();
    for (int i = 0; i < 30; ++i) Tick();
    InjectMouseButton(2, true);
    Tick();
    InjectMouseButton(2, false);
    Tick();
    const auto menu = OpenMenu();
    ASSERT_TRUE(menu) << "the right button opens the pause menu";
    const int32_t songTime = gryph->SongTime;
    ClickOn(*ButtonOf(*menu, TInGameMenu::Button_QUIT_GAME_ID));
    std::shared_ptr<TMessageBox> box;
    for (const WidgetPtr& w : WidgetManager->WidgetsList)
        if (auto b = std::dynamic_pointer_cast<TMessageBox>(w)) box = b;
    ASSERT_TRUE(box);
    ClickOn(*box->Button_2);
    EXPECT_FALSE(WidgetManager->Contains(box.get()));
    EXPECT_TRUE(OpenMenu());
    EXPECT_EQ(game->GamePaused, 1);
    for (int i = 0; i < 30; ++i) Tick();
    EXPECT_EQ(gryph->SongTime, songTime) << "still paused";
    EXPECT_FALSE(QuitRequested());
}

}  // namespace
