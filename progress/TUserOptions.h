#pragma once
#include <memory>
#include <string>

#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"
#include "gui/TListbox.h"
#include "progress/TUser.h"

// The players dialog ("window_users"): the list of profiles, "ok" to play as
// the one selected, "cancel", "new" (up to five profiles) and "delete" after
// a question. Its class functions read and write "User.dat" for the whole
// game.
class TUserOptions : public TDialog {
    TOTEM_CLASS(TUserOptions)

    static constexpr int Button_OK_ID = 1;
    static constexpr int Button_CANCEL_ID = 2;
    static constexpr int Button_NEW_ID = 3;
    static constexpr int Button_DELETE_ID = 4;
    // The message box's first button: the deletion is confirmed.
    static constexpr int Button_CONFIRM_DELETE_ID = 15001;
    static constexpr int MAX_PROFILES = 5;

    ButtonPtr BUTTON_OK, BUTTON_CANCEL, Button_NEW, Button_DELETE;
    ListboxPtr User_ListBox;

    TUserOptions();

    static bool SaveUserList();
    static void LoadUserList();
    static UserPtr CreateUser(const std::string& name);

    virtual void DeleteUser();
    virtual void OK();
    virtual void CANCEL();
    virtual void RefreshList();

    void OnShow() override;
    void AddedToManager() override;
    void RemovedFromManager() override;
    void Resize(int x, int y, int width, int height) override;
    void DePress(int id) override;
    void Update(float dt) override;
    void Draw() override;
    void InputFinished(int id, const std::string& text) override;

private:
    void Close();
    void EnableNew();
    void AskForName();
};

std::shared_ptr<TUserOptions> OpenUserOptions();
