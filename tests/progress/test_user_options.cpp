// The players dialog: choosing, creating and deleting profiles, and what
// reaches "User.dat".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ProgressTestSupport.h"
#include "gui/LayoutTestSupport.h"
#include "gui/TInputBox.h"
#include "gui/TMessageBox.h"
#include "progress/ProgressNotice.h"
#include "progress/TUserOptions.h"

namespace {

class UserOptions : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        dir_ = std::filesystem::temp_directory_path() /
               ("totem-users-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        savedPath_ = UserFilePath;
        UserFilePath = (dir_ / "User.dat").string();
        ResetUserFileState();
        UserList.clear();
        CurrentUser = nullptr;
        TextTable[69] = "Delete?";
        TextTable[60] = "Yes";
        TextTable[61] = "No";
        Layout(R"(<window id="window_users" size="400 420" pos="-1 -1"/>
            <button id="new" window_id="window_users" image="IMG_BTN" pos="50 264"/>
            <button id="delete" window_id="window_users" image="IMG_BTN" pos="210 264"/>
            <button id="ok" window_id="window_users" image="IMG_BTN" pos="50 336"/>
            <button id="cancel" window_id="window_users" image="IMG_BTN" pos="210 336"/>)");
    }
    void TearDown() override {
        UserList.clear();
        CurrentUser = nullptr;
        UserFilePath = savedPath_;
        std::filesystem::remove_all(dir_);
        LayoutTest::TearDown();
    }

    static void Profiles(std::initializer_list<const char*> names) {
        for (const char* n : names) CreateUser(n);
    }
    static std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const UserPtr& u : UserList) names.push_back(u->name);
        return names;
    }
    template <class T>
    static std::shared_ptr<T> Open() {
        for (const WidgetPtr& w : WidgetManager->WidgetsList)
            if (auto t = std::dynamic_pointer_cast<T>(w)) return t;
        return nullptr;
    }
    static std::vector<std::string> SavedNames() {
        std::vector<UserPtr> users;
        UserPtr current;
        std::string error;
        StreamPtr file = OpenRead(UserFilePath);
        std::vector<std::string> names;
        if (!file || !ReadUserList(*file, users, current, error)) return {"(unreadable)"};
        for (const UserPtr& u : users) names.push_back(u->name + (u == current ? "*" : ""));
        return names;
    }

    std::filesystem::path dir_;

private:
    std::string savedPath_;
};

TEST_F(UserOptions, ListShowsTheProfilesWithTheCurrentOneSelected) {
    Profiles({"Ann", "Bob", "Cy"});
    CurrentUser = UserList[1];
    const auto d = OpenUserOptions();
    ASSERT_TRUE(d->User_ListBox);
    EXPECT_EQ(d->User_ListBox->List, (std::vector<std::string>{"Ann", "Bob", "Cy"}));
    EXPECT_EQ(d->User_ListBox->Selected, 2);
    EXPECT_EQ(d->User_ListBox->_x, d->_x + 94);
    EXPECT_EQ(d->User_ListBox->_y, d->_y + 100);
    EXPECT_EQ(d->User_ListBox->_width, 214);
    EXPECT_EQ(d->User_ListBox->_height, 147);
    EXPECT_TRUE(WidgetManager->Contains(d->User_ListBox.get()));
    EXPECT_EQ(d->Button_NEW->Enable, 1);
    d->CANCEL();
    EXPECT_FALSE(WidgetManager->Contains(d.get()));
    EXPECT_FALSE(WidgetManager->Contains(d->User_ListBox.get())) << "the list goes with the dialog";
    EXPECT_FALSE(std::filesystem::exists(UserFilePath)) << "cancel saves nothing";
}

TEST_F(UserOptions, DeletingTheThirdOfFiveThenOkSavesFour) {
    Profiles({"Ann", "Bob", "Cy", "Dee", "Eve"});
    CurrentUser = UserList[4];
    const auto d = OpenUserOptions();
    EXPECT_EQ(d->Button_NEW->Enable, 0) << "five profiles: no new one";
    d->User_ListBox->Selected = 3;
    d->DePress(TUserOptions::Button_DELETE_ID);
    const auto box = Open<TMessageBox>();
    ASSERT_TRUE(box) << "deleting asks first";
    EXPECT_EQ(box->Text, "Delete?");
    EXPECT_EQ(Names().size(), 5u);
    Key(KEY_ENTER);  // the first button: yes
    EXPECT_FALSE(Open<TMessageBox>());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ann", "Bob", "Dee", "Eve"}));
    EXPECT_EQ(d->User_ListBox->List, Names());
    EXPECT_EQ(d->User_ListBox->Selected, 1);
    EXPECT_EQ(d->Button_NEW->Enable, 1);
    EXPECT_EQ(CurrentUser->name, "Eve") << "deleting does not choose";
    d->DePress(TUserOptions::Button_OK_ID);
    EXPECT_EQ(CurrentUser->name, "Ann");
    EXPECT_EQ(SavedNames(), (std::vector<std::string>{"Ann*", "Bob", "Dee", "Eve"}));
    EXPECT_FALSE(WidgetManager->Contains(d.get()));
}

TEST_F(UserOptions, NoToTheQuestionDeletesNothing) {
    Profiles({"Ann", "Bob"});
    const auto d = OpenUserOptions();
    d->DePress(TUserOptions::Button_DELETE_ID);
    Key(KEY_ESCAPE);
    EXPECT_EQ(Names().size(), 2u);
}

TEST_F(UserOptions, ANewNameBecomesTheCurrentProfileAndIsSaved) {
    Profiles({"Ann", "Bob", "Cy", "Dee"});
    const auto d = OpenUserOptions();
    d->DePress(TUserOptions::Button_NEW_ID);
    ASSERT_TRUE(Open<TInputBox>());
    d->InputFinished(0, "Zo\xC3\xAB");
    EXPECT_EQ(CurrentUser->name, "Zo\xC3\xAB");
    EXPECT_EQ(d->User_ListBox->Selected, 5);
    EXPECT_EQ(SavedNames(), (std::vector<std::string>{"Ann", "Bob", "Cy", "Dee", "Zo\xC3\xAB*"}));
    EXPECT_EQ(d->Button_NEW->Enable, 0) << "the fifth profile fills the list";
}

TEST_F(UserOptions, AnEmptyNameIsRefusedButAProfileIsRequired) {
    Profiles({"Ann"});
    const auto d = OpenUserOptions();
    d->InputFinished(0, "");
    EXPECT_EQ(Names().size(), 1u);
    EXPECT_FALSE(Open<TInputBox>()) << "with a profile, nothing more is asked";
    EXPECT_FALSE(std::filesystem::exists(UserFilePath));

    // Deleting the only profile asks for a new one at once, and keeps asking.
    d->User_ListBox->Selected = 1;
    d->DeleteUser();
    EXPECT_TRUE(UserList.empty());
    auto box = Open<TInputBox>();
    ASSERT_TRUE(box);
    WidgetManager->RemoveWidget(box);
    d->InputFinished(0, "");
    EXPECT_TRUE(Open<TInputBox>()) << "asked again";
}

TEST_F(UserOptions, EnterIsOkAndEscapeIsCancel) {
    Profiles({"Ann", "Bob"});
    auto d = OpenUserOptions();
    d->User_ListBox->Selected = 2;
    Key(KEY_ESCAPE);
    EXPECT_FALSE(WidgetManager->Contains(d.get()));
    EXPECT_EQ(CurrentUser, nullptr);
    d = OpenUserOptions();
    d->User_ListBox->Selected = 2;
    Key(KEY_ENTER);
    EXPECT_FALSE(WidgetManager->Contains(d.get()));
    EXPECT_EQ(CurrentUser->name, "Bob");
    EXPECT_EQ(SavedNames(), (std::vector<std::string>{"Ann", "Bob*"}));
}

// The notices about the saved file open as the game's own boxes, above
// whatever the frame that raised them opened.
using ProgressNoticeBox = UserOptions;

TEST_F(ProgressNoticeBox, NoticesOpenAtTheEndOfTheFrameAboveEverythingElse) {
    std::vector<uint8_t> damaged = {7, 7, 7};
    progress_test::WriteBytes(UserFilePath, damaged);
    LoadUserList();
    EXPECT_EQ(Open<TMessageBox>(), nullptr) << "not before the frame's update is over";
    // Something the same frame opened (the first screen, a level's results).
    const auto screen = OpenUserOptions();
    OpenPendingProgressNotices();
    const auto box = Open<TMessageBox>();
    ASSERT_TRUE(box);
    EXPECT_NE(box->Text.find("User.dat.damaged"), std::string::npos) << box->Text;
    EXPECT_EQ(box->ButtonsCount, 1);
    EXPECT_EQ(WidgetManager->TopModalWidget, box) << "above the dialog opened before it";
    const auto boxes = [] {
        int n = 0;
        for (const WidgetPtr& w : WidgetManager->WidgetsList) n += std::dynamic_pointer_cast<TMessageBox>(w) != nullptr;
        return n;
    };
    OpenPendingProgressNotices();
    EXPECT_EQ(boxes(), 1) << "each notice once";
    Key(KEY_ENTER);
    EXPECT_EQ(boxes(), 0);
    EXPECT_EQ(WidgetManager->TopModalWidget, screen);
}

}  // namespace
