#include "progress/TUserOptions.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "content/TextTable.h"
#include "game/GameGlobals.h"
#include "gui/TDialogHelper.h"
#include "gui/TInputBox.h"
#include "gui/TMessageBox.h"
#include "gui/TWidgetmanager.h"
#include "media/Input.h"
#include "progress/ProgressGlobals.h"
#include "progress/UserFile.h"

namespace {
constexpr int kListLeft = 94, kListTop = 100, kListWidth = 214, kListHeight = 147;

std::string Text(int n) { return n >= 0 && n < static_cast<int>(TextTable.size()) ? TextTable[size_t(n)] : ""; }
}  // namespace

TUserOptions::TUserOptions() { id = "window_users"; }

bool TUserOptions::SaveUserList() { return ::SaveUserList(); }

void TUserOptions::LoadUserList() { ::LoadUserList(); }

UserPtr TUserOptions::CreateUser(const std::string& name) { return ::CreateUser(name); }

void TUserOptions::AddedToManager() {
    BUTTON_OK = LoadButton(*this, "ok", Button_OK_ID, 1);
    BUTTON_CANCEL = LoadButton(*this, "cancel", Button_CANCEL_ID, 1);
    Button_NEW = LoadButton(*this, "new", Button_NEW_ID, 1);
    Button_DELETE = LoadButton(*this, "delete", Button_DELETE_ID, 1);
    EnableNew();
    User_ListBox = std::make_shared<TListbox>();
    User_ListBox->Font = FONT_USERLIST;
    RefreshList();
    if (WidgetManager) WidgetManager->AddWidget(User_ListBox);
    LoadStatics(*this, "");
    TDialog::AddedToManager();
}

void TUserOptions::Resize(int nx, int ny, int width, int height) {
    TDialog::Resize(nx, ny, width, height);
    if (User_ListBox) User_ListBox->Resize(nx + kListLeft, ny + kListTop, kListWidth, kListHeight);
}

void TUserOptions::RemovedFromManager() {
    TDialog::RemovedFromManager();
    if (User_ListBox && WidgetManager) WidgetManager->RemoveWidget(User_ListBox);
}

void TUserOptions::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void TUserOptions::Update(float /*dt*/) {
    if (KeyHitCount(KEY_ENTER) != 0) OK();
    else if (KeyHitCount(KEY_ESCAPE) != 0) CANCEL();
}

void TUserOptions::Draw() { TDialog::Draw(); }

void TUserOptions::RefreshList() {
    if (!User_ListBox) return;
    User_ListBox->List.clear();
    for (const UserPtr& user : UserList) User_ListBox->List.push_back(user->name);
    const auto current = std::find(UserList.begin(), UserList.end(), CurrentUser);
    if (CurrentUser && current != UserList.end())
        User_ListBox->Selected = static_cast<int>(current - UserList.begin()) + 1;
}

void TUserOptions::DePress(int buttonId) {
    switch (buttonId) {
        case Button_OK_ID: OK(); break;
        case Button_CANCEL_ID: CANCEL(); break;
        case Button_NEW_ID: AskForName(); break;
        case Button_DELETE_ID:
            OpenMessageBox(weak_from_this().lock(), Text(69), 2, Text(60), Text(61));
            break;
        case Button_CONFIRM_DELETE_ID: DeleteUser(); break;
        default: break;
    }
}

void TUserOptions::DeleteUser() {
    const int selected = User_ListBox ? User_ListBox->Selected : 0;
    if (selected >= 1 && selected <= static_cast<int>(UserList.size())) UserList.erase(UserList.begin() + (selected - 1));
    RefreshList();
    if (User_ListBox) User_ListBox->Selected = 1;
    if (UserList.empty()) AskForName();
    if (UserList.size() < MAX_PROFILES && Button_NEW) Button_NEW->SetEnable(1);
}

void TUserOptions::OK() {
    const int selected = User_ListBox ? User_ListBox->Selected : 0;
    if (selected >= 1 && selected <= static_cast<int>(UserList.size())) CurrentUser = UserList[size_t(selected - 1)];
    SaveUserList();
    Close();
}

void TUserOptions::CANCEL() { Close(); }

void TUserOptions::InputFinished(int /*id*/, const std::string& text) {
    if (text.empty()) {
        // A profile is required: no list, no game.
        if (UserList.empty()) AskForName();
        return;
    }
    CurrentUser = CreateUser(text);
    RefreshList();
    SaveUserList();
    EnableNew();
}

void TUserOptions::EnableNew() {
    if (Button_NEW) Button_NEW->SetEnable(UserList.size() < MAX_PROFILES ? 1 : 0);
}

void TUserOptions::AskForName() { OpenInputBox(weak_from_this().lock()); }

void TUserOptions::Close() {
    if (const auto self = weak_from_this().lock(); self && WidgetManager) WidgetManager->RemoveWidget(self);
}

std::shared_ptr<TUserOptions> OpenUserOptions() {
    auto dialog = std::make_shared<TUserOptions>();
    LoadWindow(dialog);
    return dialog;
}
