#include "progress/UserFile.h"

#include <filesystem>

#include "media/Files.h"
#include "media/System.h"
#include "progress/ProgressGlobals.h"
#include "progress/ProgressNotice.h"
#include "progress/SaveFolder.h"

std::string UserFilePath = "User.dat";

namespace {
// A record is at least a name's count and the two marker bytes.
constexpr int64_t kSmallestRecord = 6;
constexpr int kMaxAsideNames = 100;

// Set when a damaged file could not be moved aside: saving would destroy it.
bool savingBlocked = false;
bool saveFailureTold = false;

// The full path, so the player can find the file.
std::string Shown(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(NativePath(path), ec);
    return ec ? path : full.lexically_normal().string();
}

std::string AsideName(int n) {
    const std::string base = UserFilePath + ".damaged";
    return n == 1 ? base : base + "-" + std::to_string(n);
}

// Moves the damaged file to the first free aside name; empty when it cannot.
std::string MoveAside() {
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        const std::string aside = AsideName(n);
        if (PathKind(aside) != 0) continue;
        return RenamePath(UserFilePath, aside) ? aside : std::string();
    }
    return {};
}

void KeepDamagedFile(const std::string& error) {
    PrintLine(UserFilePath + " cannot be read: " + error);
    const std::string aside = MoveAside();
    if (aside.empty()) {
        savingBlocked = true;
        ShowProgressNotice("The saved progress in " + Shown(UserFilePath) +
                           " could not be read, and the file could not be moved aside. It is left as it is, "
                           "and progress will not be saved this time.");
        return;
    }
    PrintLine(UserFilePath + " was kept as " + aside);
    ShowProgressNotice("The saved progress in " + Shown(UserFilePath) + " could not be read. The file was kept as " +
                       Shown(aside) + ", and the game starts without it.");
}
}  // namespace

void WriteUserList(TStream& stream, const std::vector<UserPtr>& users, const UserPtr& current) {
    stream.WriteInt(static_cast<int32_t>(users.size()));
    for (const UserPtr& user : users) user->Save(stream, user == current);
}

bool ReadUserList(TStream& stream, std::vector<UserPtr>& users, UserPtr& current, std::string& error) {
    users.clear();
    current = nullptr;
    int32_t count = 0;
    if (!TStdIO::ReadInt32(stream, count)) {
        error = "the file is shorter than its profile count";
        return false;
    }
    if (count < 0 || int64_t(count) * kSmallestRecord > TStdIO::BytesLeft(stream)) {
        error = "its profile count " + std::to_string(count) + " does not fit the file";
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        auto user = std::make_shared<TUser>();
        user->id = i + 1;
        bool isCurrent = false;
        if (!user->Load(stream, isCurrent)) {
            error = "profile " + std::to_string(i + 1) + " is damaged at byte " + std::to_string(stream.Pos());
            users.clear();
            current = nullptr;
            return false;
        }
        if (isCurrent) current = user;
        users.push_back(std::move(user));
    }
    if (TStdIO::BytesLeft(stream) != 0) {
        error = std::to_string(TStdIO::BytesLeft(stream)) + " bytes follow the last profile";
        users.clear();
        current = nullptr;
        return false;
    }
    return true;
}

UserPtr CreateUser(const std::string& name) {
    auto user = std::make_shared<TUser>();
    user->name = name;
    user->id = UserList.empty() ? 1 : UserList.back()->id + 1;
    UserList.push_back(user);
    return user;
}

void LoadUserList() {
    UserList.clear();
    CurrentUser = nullptr;
    if (PathKind(UserFilePath) == 0) return;
    StreamPtr stream = PathKind(UserFilePath) == 1 ? OpenRead(UserFilePath) : nullptr;
    if (!stream) {
        KeepDamagedFile("it cannot be opened");
        return;
    }
    std::vector<UserPtr> users;
    UserPtr current;
    std::string error;
    const bool ok = ReadUserList(*stream, users, current, error);
    stream->Close();
    if (!ok) {
        KeepDamagedFile(error);
        return;
    }
    UserList = std::move(users);
    CurrentUser = current;
}

bool SaveUserList() {
    if (savingBlocked) return false;
    StreamPtr memory = OpenMemoryWrite(UserFilePath);
    WriteUserList(*memory, UserList, CurrentUser);
    std::string error;
    if (SaveFileWhole(UserFilePath, MemoryBytes(*memory), error)) return true;
    PrintLine("Progress not saved: " + error);
    if (!saveFailureTold) {
        saveFailureTold = true;
        ShowProgressNotice("Your progress cannot be saved (" + error +
                           "). You can go on playing, but your progress will not be kept.");
    }
    return false;
}

void ResetUserFileState() {
    savingBlocked = false;
    saveFailureTold = false;
}
