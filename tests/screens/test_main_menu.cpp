// The main menu: its entrance and exit timing, the help line, the first
// profile, the quit question, the logo link and what it draws for the
// player. Driven through the widget manager with injected input, on a small
// layout of its own.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/QuitRequest.h"
#include "gui/LayoutTestSupport.h"
#include "gui/TInputBox.h"
#include "gui/TMessageBox.h"
#include "media/System.h"
#include "progress/ProgressGlobals.h"
#include "progress/UserFile.h"
#include "screens/THelpText.h"
#include "screens/TMainMenu.h"
#include "screens/TMainMenuUpdater.h"

namespace {

// Home positions of the buttons in this layout (offsets inside the menu).
constexpr int kMode1X = 330, kOptionsX = 250, kScoresX = 410, kHelpX = 250, kQuitX = 410;

class MainMenuTest : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        Layout(R"(<window id="window_main_menu" size="800 600" pos="0 0"/>
            <button id="logo" window_id="window_main_menu" image="IMG_HEAD" pos="700 10"/>
            <button id="mode1" window_id="window_main_menu" image="IMG_BTN" pos="330 192"/>
            <button id="options" window_id="window_main_menu" image="IMG_BTN" pos="250 266"/>
            <button id="scores" window_id="window_main_menu" image="IMG_BTN" pos="410 266"/>
            <button id="help" window_id="window_main_menu" image="IMG_BTN" pos="250 404"/>
            <button id="quit" window_id="window_main_menu" image="IMG_BTN" pos="410 404"/>
            <window id="window_inputbox" size="480 280" pos="-1 -1"/>
            <button id="ok" window_id="window_inputbox" image="IMG_BTN" pos="170 200"/>
            <window id="messagebox" size="400 200" pos="-1 -1"/>
            <button id="button_1" window_id="messagebox" image="IMG_BTN" pos="40 130"/>
            <button id="button_2" window_id="messagebox" image="IMG_BTN" pos="220 130"/>)");
        for (int n : {1, 2, 3, 4, 5, 20, 21, 22, 56, 60, 61, 62}) TextTable[size_t(n)] = "text" + std::to_string(n);
        TextTable[20] = "Player:";
        FONT_HELP = FONT_HELP_B = font;
        dir_ = std::filesystem::temp_directory_path() / ("totem-menu-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        savedUserFile_ = UserFilePath;
        UserFilePath = (dir_ / "User.dat").string();
        UserList.clear();
        CurrentUser = nullptr;
        ClearQuitRequest();
    }
    void TearDown() override {
        if (IsSkipped()) return;
        menu_.reset();
        map_.reset();
        UserList.clear();
        CurrentUser = nullptr;
        UserFilePath = savedUserFile_;
        IMAGE_ZAR_LOGO_A = IMAGE_ZAR_LOGO_NA = nullptr;
        FONT_HELP = FONT_HELP_B = nullptr;
        ClearQuitRequest();
        std::filesystem::remove_all(dir_);
        LayoutTest::TearDown();
    }

    void WithProfile(const std::string& name) {
        CurrentUser = std::make_shared<TUser>();
        CurrentUser->name = name;
        UserList = {CurrentUser};
    }

    // The menu as start-up makes it, shown, with a plain widget standing for
    // the story map.
    void Open() {
        menu_ = std::make_shared<TMainMenu>();
        map_ = std::make_shared<TWidget>();
        menu_->StoryMap = map_;
        menu_->Resize(0, 0, 800, 600);
        WidgetManager->AddWidget(menu_);
        menu_->SetHided(1);
        menu_->SetHided(0);
    }

    // Frames until the entrance has settled (its movers rest at their targets).
    void Settle() { Frame(200); }

    template <class T>
    static std::shared_ptr<T> TopDialog() {
        for (auto it = WidgetManager->WidgetsList.rbegin(); it != WidgetManager->WidgetsList.rend(); ++it)
            if (auto d = std::dynamic_pointer_cast<T>(*it)) return d;
        return nullptr;
    }

    std::shared_ptr<TMainMenu> menu_;
    WidgetPtr map_;
    std::filesystem::path dir_;
    std::string savedUserFile_;
};

TEST_F(MainMenuTest, TheFrameRisesPast400OnItsTwentyEighthUpdateAndOnlyThenTheButtonsSetOff) {
    WithProfile("Ann");
    Open();
    ASSERT_EQ(menu_->IMAGE_FRAME_Y, 650);
    ASSERT_EQ(menu_->IMAGE_LOGO_Y, -675);
    for (int update = 1; update <= 27; ++update) {
        Frame();
        ASSERT_GE(menu_->IMAGE_FRAME_Y, 400) << "update " << update;
        ASSERT_EQ(menu_->Button_MODE1->_x, -512) << "the buttons wait for the frame";
        ASSERT_EQ(menu_->Button_SCORES->_x, 1132);
    }
    Frame();
    EXPECT_NEAR(menu_->IMAGE_FRAME_Y, 388.2f, 0.01f);
    EXPECT_EQ(menu_->MainMenuUpdater->Stage, 2);
    Frame();
    EXPECT_GT(menu_->Button_MODE1->_x, -512);
    EXPECT_LT(menu_->Button_SCORES->_x, 1132);
}

TEST_F(MainMenuTest, TheEntranceLandsEveryPieceAtHome) {
    WithProfile("Ann");
    Open();
    Settle();
    struct Home {
        const char* name;
        float actual, expected;
    };
    for (const Home& h : {Home{"frame", menu_->IMAGE_FRAME_Y, 165}, Home{"logo", menu_->IMAGE_LOGO_Y, 0},
                          Home{"mode1", menu_->Button_MODE1->_x, kMode1X},
                          Home{"options", menu_->Button_OPTIONS->_x, kOptionsX},
                          Home{"scores", menu_->Button_SCORES->_x, kScoresX},
                          Home{"help", menu_->Button_HELP->_x, kHelpX}, Home{"quit", menu_->Button_QUIT->_x, kQuitX},
                          Home{"profile link", menu_->UserLink->_y, 165 + 355},
                          Home{"help line", menu_->HelpText->_y, 165 + 125}}) {
        EXPECT_EQ(h.actual, h.expected) << h.name;
    }
    // The buttons answer the mouse where they landed.
    Click(kMode1X + 70, 192 + 22);
    Frame();
    EXPECT_EQ(menu_->MainMenuUpdater->IsHiding(), 1) << "mode1 starts the exit";
}

TEST_F(MainMenuTest, TheExitRunsItsCascadeThenSwapsToTheStoryMap) {
    WithProfile("Ann");
    Open();
    Settle();
    Key(KEY_H);
    int lastStage = 1;
    int frames = 0;
    while (menu_->Visible != 0 && frames < 400) {
        const auto& u = *menu_->MainMenuUpdater;
        ASSERT_GE(u.Stage, lastStage) << "the cascade only goes forward";
        lastStage = u.Stage;
        // Each piece leaves only once the one before it is out of the way.
        if (u.Stage < 2) { EXPECT_EQ(menu_->Button_OPTIONS->_x, kOptionsX); }
        if (u.Stage < 4) { EXPECT_EQ(menu_->IMAGE_LOGO_Y, 0); }
        if (u.Stage < 5) { EXPECT_EQ(menu_->IMAGE_FRAME_Y, 165); }
        EXPECT_EQ(map_->Visible, 0) << "the map waits for the frame to leave";
        Frame();
        ++frames;
    }
    ASSERT_LT(frames, 400) << "the exit never finished";
    EXPECT_EQ(menu_->IMAGE_FRAME_Y, 650);
    EXPECT_EQ(menu_->Visible, 0);
    EXPECT_EQ(map_->Visible, 1);
    EXPECT_GT(menu_->UserLink->_y, 600) << "the link is moved off the screen, not hidden";
}

TEST_F(MainMenuTest, SRestartsTheEntranceFromOffScreen) {
    WithProfile("Ann");
    Open();
    Settle();
    Key(KEY_S);
    EXPECT_GT(menu_->IMAGE_FRAME_Y, 600);
    EXPECT_LT(menu_->IMAGE_LOGO_Y, -600);
    EXPECT_EQ(menu_->Button_MODE1->_x, -512);
    EXPECT_EQ(menu_->MainMenuUpdater->IsShowing(), 1);
}

TEST_F(MainMenuTest, AHelpLineFadesOutCompletelyBeforeTheNextFadesIn) {
    WithProfile("Ann");
    Open();
    Settle();
    ASSERT_EQ(menu_->HelpText->text, "text56") << "the entrance greets the player";
    MoveTo(kOptionsX + 70, 266 + 22);
    Frame(60);
    ASSERT_EQ(menu_->HelpText->state, THelpText::SHOWN);
    ASSERT_EQ(menu_->HelpText->text, "text1");
    MoveTo(kHelpX + 70, 404 + 22);
    float previous = menu_->HelpText->alpha;
    for (int f = 0; f < 60 && menu_->HelpText->text == "text1"; ++f) {
        Frame();
        if (menu_->HelpText->text != "text1") break;
        EXPECT_LE(menu_->HelpText->alpha, previous) << "the old text only fades";
        previous = menu_->HelpText->alpha;
    }
    ASSERT_EQ(menu_->HelpText->text, "text3");
    EXPECT_EQ(menu_->HelpText->alpha, 0) << "the new text starts from nothing";
    EXPECT_LT(previous, 0.15f) << "the old text had all but gone";
}

TEST_F(MainMenuTest, WithoutAProfileTheMenuAsksForANameUntilItGetsOne) {
    Open();
    auto box = TopDialog<TInputBox>();
    ASSERT_TRUE(box) << "a first start asks for a name at once";
    Key(KEY_ENTER);
    box = TopDialog<TInputBox>();
    ASSERT_TRUE(box) << "an empty name asks again";
    ASSERT_EQ(CurrentUser, nullptr);
    Key(KEY_ESCAPE);
    ASSERT_TRUE(TopDialog<TInputBox>()) << "cancelling asks again too";
    // The box takes one typed character a frame.
    InjectText("Ann");
    Frame(3);
    Key(KEY_ENTER);
    EXPECT_FALSE(TopDialog<TInputBox>());
    ASSERT_TRUE(CurrentUser);
    EXPECT_EQ(CurrentUser->name, "Ann");
    EXPECT_TRUE(std::filesystem::exists(UserFilePath)) << "the new profile is saved at once";
}

TEST_F(MainMenuTest, QuitAsksFirstAndOnlyYesEndsTheGame) {
    struct Case {
        int key;
        bool quits;
    };
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    std::ofstream("play.url") << "[InternetShortcut]\nURL=http://localhost/thanks\n";
    for (const Case c : {Case{KEY_ESCAPE, false}, Case{KEY_ENTER, true}}) {
        SCOPED_TRACE(c.key);
        OpenURL("http://nothing-yet");
        WithProfile("Ann");
        Open();
        Settle();
        Click(kQuitX + 70, 404 + 22);
        ASSERT_TRUE(TopDialog<TMessageBox>()) << "quit asks first";
        EXPECT_FALSE(QuitRequested());
        Key(c.key);
        EXPECT_FALSE(TopDialog<TMessageBox>());
        EXPECT_EQ(QuitRequested(), c.quits);
        EXPECT_EQ(LastOpenedURL(), c.quits ? "http://localhost/thanks" : "http://nothing-yet");
        EXPECT_EQ(menu_->Visible, 1);
        ClearQuitRequest();
        WidgetManager = std::make_shared<TWidgetmanager>();
    }
    std::filesystem::current_path(cwd);
}

TEST_F(MainMenuTest, TheLogoOpensTheWebsiteShortcutOnlyWhenItIsThere) {
    IMAGE_ZAR_LOGO_A = IMAGE_ZAR_LOGO_NA = guitest::Solid(40, 30, 200, 200, 200);
    WithProfile("Ann");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    Open();
    Settle();
    OpenURL("http://nothing-yet");
    Click(700 + 50, 10 + 15);
    EXPECT_EQ(LastOpenedURL(), "http://nothing-yet") << "no shortcut, nothing opened";
    std::ofstream("website.url") << "[InternetShortcut]\nURL=http://localhost/\n";
    Click(700 + 50, 10 + 15);
    EXPECT_EQ(LastOpenedURL(), "http://localhost/");
    std::filesystem::current_path(cwd);
}

TEST_F(MainMenuTest, NoLogoPicturesNoLogoButton) {
    WithProfile("Ann");
    Open();
    for (const WidgetPtr& w : menu_->Widgets) {
        const auto* b = dynamic_cast<const TButtonWidget*>(w.get());
        EXPECT_FALSE(b && b->x == 700) << "a logo button without its pictures";
    }
}

TEST_F(MainMenuTest, TheFrameNamesThePlayer) {
    WithProfile("Ann");
    Open();
    Settle();
    font->drawn.clear();
    Shot();
    std::string said;
    for (const auto& d : font->drawn) said += d.text;
    EXPECT_NE(said.find("Player: Ann"), std::string::npos) << said;
}

}  // namespace
