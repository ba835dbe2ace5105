// The pause menu, the help pages and the end of the journey over layouts of
// the test's own, driven by clicks and keys through the widget manager; and
// the hooks that connect them to the level.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ScreensTestSupport.h"
#include "content/ResourceCatalogue.h"
#include "core/QuitRequest.h"
#include "game/LevelHooks.h"
#include "gui/TLabel.h"
#include "gui/TMessageBox.h"
#include "media/System.h"
#include "progress/TLevelComplete.h"
#include "screens/ScreenHooks.h"
#include "screens/TGameOver.h"
#include "screens/THelp.h"
#include "screens/TInGameMenu.h"
#include "screens/TPoint.h"
#include "screens/TStoryMenu.h"

namespace {

using guitest::Solid;
using screens_test::RecordingGame;

class Dialogs : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        Layout(screens_test::ScreensLayout());
        AddImage("IMG_ARROW", Solid(40, 40, 200, 200, 200));
        TextTable[60] = "Yes";
        TextTable[61] = "No";
        TextTable[62] = "Quit?";
        const int colours[6][3] = {{250, 0, 0}, {0, 250, 0}, {0, 0, 250}, {250, 250, 0}, {0, 250, 250}, {250, 0, 250}};
        ImagePtr* pages[6] = {&IMAGE_HELP_01, &IMAGE_HELP_02, &IMAGE_HELP_03,
                              &IMAGE_HELP_04, &IMAGE_HELP_05, &IMAGE_HELP_06};
        for (int i = 0; i < 6; ++i) *pages[i] = Solid(200, 150, colours[i][0], colours[i][1], colours[i][2]);
        game = std::make_shared<RecordingGame>();
    }
    void TearDown() override {
        for (ImagePtr* p : {&IMAGE_HELP_01, &IMAGE_HELP_02, &IMAGE_HELP_03, &IMAGE_HELP_04, &IMAGE_HELP_05,
                            &IMAGE_HELP_06})
            *p = nullptr;
        StoryPoints.clear();
        game.reset();
        SetLevelHooks({});
        SetResultsExits({});
        ClearQuitRequest();
        LayoutTest::TearDown();
    }

    template <class T>
    static std::shared_ptr<T> Open() {
        for (const WidgetPtr& w : WidgetManager->WidgetsList)
            if (auto t = std::dynamic_pointer_cast<T>(w)) return t;
        return nullptr;
    }
    static void ClickOn(const ButtonPtr& b) {
        ASSERT_TRUE(b);
        int x = 0, y = 0;
        screens_test::CentreOf(*b, x, y);
        Click(x, y);
    }
    // The button of `dialog` that reports `id`.
    static ButtonPtr ButtonOf(const TWidget& dialog, int id) {
        for (const WidgetPtr& w : dialog.Widgets)
            if (auto b = std::dynamic_pointer_cast<TButtonWidget>(w); b && b->ID == id) return b;
        return nullptr;
    }

    std::shared_ptr<RecordingGame> game;
};

TEST_F(Dialogs, HelpTurnsItsSixPagesAndHidesTheArrowsAtTheEnds) {
    const auto help = OpenHelp();
    ASSERT_TRUE(help->BUTTON_LEFT && help->BUTTON_RIGHT);
    const int colours[6] = {0xFA0000, 0x00FA00, 0x0000FA, 0xFAFA00, 0x00FAFA, 0xFA00FA};
    const struct {
        const char* step;
        int page;
        bool left, right;
    } steps[] = {{"opened", 1, false, true}, {"right", 2, true, true}, {"right", 3, true, true},
                 {"right", 4, true, true},   {"right", 5, true, true}, {"right", 6, true, false},
                 {"left", 5, true, true},    {"left", 4, true, true}};
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.step) + " to page " + std::to_string(s.page));
        if (std::string(s.step) == "right") ClickOn(help->BUTTON_RIGHT);
        if (std::string(s.step) == "left") ClickOn(help->BUTTON_LEFT);
        EXPECT_EQ(help->CurrentScreen, s.page);
        EXPECT_EQ(help->BUTTON_LEFT->Visible, s.left ? 1 : 0);
        EXPECT_EQ(help->BUTTON_RIGHT->Visible, s.right ? 1 : 0);
        // The page stands centred by the first page's width, 110 below the top.
        const PicturePtr shot = Shot();
        const int x = int(help->_x) + (640 - 200) / 2, y = int(help->_y) + 110;
        EXPECT_EQ(shot->ReadPixel(x + 100, y + 75) & 0xFFFFFF, uint32_t(colours[s.page - 1]));
        EXPECT_NE(shot->ReadPixel(x + 100, y - 5) & 0xFFFFFF, uint32_t(colours[s.page - 1]));
    }
    // A hidden arrow cannot be clicked: page 6 stays the last.
    for (int i = 0; i < 3; ++i) ClickOn(help->BUTTON_RIGHT);
    EXPECT_EQ(help->CurrentScreen, 6);
    ClickOn(ButtonOf(*help, THelp::Button_OK_ID));
    EXPECT_FALSE(WidgetManager->Contains(help.get()));
    EXPECT_FALSE(WidgetManager->Contains(help->BUTTON_RIGHT.get()));
}

TEST_F(Dialogs, PauseMenuButtonsReachTheLevel) {
    const struct {
        int button;
        std::vector<std::string> calls;
        bool stays;
    } cases[] = {
        {TInGameMenu::Button_RESUME_ID, {"pause", "resume"}, false},
        {TInGameMenu::Button_EXIT_TO_MENU_ID, {"pause", "exit to menu"}, false},
        {TInGameMenu::Button_HELP_ID, {"pause"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        game->calls.clear();
        const auto menu = OpenInGameMenu();
        EXPECT_EQ(game->GamePaused, 1) << "the menu pauses the level first";
        ClickOn(ButtonOf(*menu, c.button));
        EXPECT_EQ(game->calls, c.calls);
        EXPECT_EQ(WidgetManager->Contains(menu.get()), c.stays);
        if (c.button == TInGameMenu::Button_HELP_ID) {
            const auto help = Open<THelp>();
            ASSERT_TRUE(help) << "help opens over the menu";
            ClickOn(ButtonOf(*help, THelp::Button_OK_ID));
            EXPECT_TRUE(WidgetManager->Contains(menu.get())) << "and goes back to it";
            EXPECT_FALSE(Open<THelp>());
            ClickOn(menu->BUTTON_RESUME);
        }
        EXPECT_FALSE(Open<TInGameMenu>());
    }
}

TEST_F(Dialogs, QuittingFromThePauseMenuAsksFirst) {
    // Quitting opens the publisher's page beside the program; give it one
    // that leads nowhere.
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("totem-screens-quit-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "play.url") << "[InternetShortcut]\nURL=https://totem.invalid/play\n";
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir);

    TextTable[96] = "Leaving";
    const auto menu = OpenInGameMenu();
    ClickOn(ButtonOf(*menu, TInGameMenu::Button_QUIT_GAME_ID));
    auto box = Open<TMessageBox>();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Text, "Quit?");
    EXPECT_EQ(box->Button_1->Label, "Yes");
    bool heading = false;
    for (const WidgetPtr& w : box->Widgets)
        if (auto* l = dynamic_cast<TLabel*>(w.get()); l && l->text == "Leaving") heading = true;
    EXPECT_TRUE(heading) << "the box carries the exit window's heading";
    ClickOn(box->Button_2);
    EXPECT_FALSE(Open<TMessageBox>());
    EXPECT_TRUE(WidgetManager->Contains(menu.get())) << "no: the menu stays";
    EXPECT_EQ(game->GamePaused, 1) << "and the level stays paused";
    EXPECT_FALSE(QuitRequested());

    ClickOn(ButtonOf(*menu, TInGameMenu::Button_QUIT_GAME_ID));
    box = Open<TMessageBox>();
    ASSERT_TRUE(box);
    ClickOn(box->Button_1);
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(QuitExitCode(), 0);
    EXPECT_EQ(LastOpenedURL(), "https://totem.invalid/play");

    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
}

TEST_F(Dialogs, GameOverOkStopsTheLevelAndShowsTheMap) {
    const auto map = AddStoryMenuHidden();
    const auto over = OpenGameOver();
    EXPECT_EQ(map->Visible, 0);
    ClickOn(ButtonOf(*over, TGameOver::Button_OK_ID));
    EXPECT_EQ(game->calls, std::vector<std::string>{"stop 0"});
    EXPECT_FALSE(WidgetManager->Contains(over.get()));
    EXPECT_EQ(map->Visible, 1);
    EXPECT_EQ(StoryPoints.front()->Visible, 1);
}

// Without its buttons each dialog still lets the player go on.
TEST_F(Dialogs, ADialogWithoutItsButtonsClosesWithTheKeyboard) {
    const struct {
        const char* window;
        std::function<WidgetPtr()> open;
        int key;
        std::vector<std::string> calls;
    } cases[] = {
        {"window_ingamemenu", [] { return WidgetPtr(OpenInGameMenu()); }, KEY_ESCAPE, {"pause", "resume"}},
        {"window_help", [] { return WidgetPtr(OpenHelp()); }, KEY_ESCAPE, {}},
        {"window_gameover", [] { return WidgetPtr(OpenGameOver()); }, KEY_ENTER, {"stop 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        Layout(screens_test::LayoutWithout({c.window}));
        game->calls.clear();
        const WidgetPtr d = c.open();
        Frame(3);
        EXPECT_TRUE(WidgetManager->Contains(d.get()));
        EXPECT_EQ(d->Widgets.size(), 0u) << "nothing was loaded";
        if (auto* help = dynamic_cast<THelp*>(d.get())) {
            help->DePress(THelp::Button_RIGHT_ID);  // no arrows to show or hide
            EXPECT_EQ(help->CurrentScreen, 2);
            Shot();
        }
        Key(c.key);
        EXPECT_FALSE(WidgetManager->Contains(d.get()));
        EXPECT_EQ(game->calls, c.calls);
    }
}

TEST_F(Dialogs, ScreenHooksKeepTheProgressHooksAndLeadToTheScreens) {
    int recorded = 0;
    LevelHooks progress;
    progress.RecordResult = [&recorded](int, int32_t, TLevelStat&) { ++recorded; };
    SetLevelHooks(progress);
    InstallScreenHooks();
    const LevelHooks& hooks = InstalledLevelHooks();
    ASSERT_TRUE(hooks.RecordResult);
    TLevelStat stat;
    hooks.RecordResult(1, 0, stat);
    EXPECT_EQ(recorded, 1) << "the progress layer's hook is kept";
    ASSERT_TRUE(hooks.OpenInGameMenu);
    ASSERT_TRUE(hooks.ShowMainMenu);
    hooks.OpenInGameMenu();
    EXPECT_TRUE(Open<TInGameMenu>());
    EXPECT_EQ(game->GamePaused, 1);
}

}  // namespace
