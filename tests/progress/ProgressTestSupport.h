#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "progress/ProgressGlobals.h"
#include "progress/ProgressNotice.h"
#include "progress/UserFile.h"

namespace progress_test {

using Bytes = std::vector<uint8_t>;

// Little-endian pieces of a hand-made "User.dat".
inline void PutInt(Bytes& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}
inline void PutString(Bytes& b, const std::u16string& s) {
    PutInt(b, static_cast<int32_t>(s.size()));
    for (char16_t c : s) PutInt(b, c);
}

// Every test gets its own empty folder for "User.dat", fresh profiles and a
// record of the notices the player would have been shown.
class UserFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("totem-progress-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        savedPath_ = UserFilePath;
        UserFilePath = (dir_ / "User.dat").string();
        UserList.clear();
        CurrentUser = nullptr;
        ResetUserFileState();
        SetProgressNoticeSink([this](const std::string& text) { notices_.push_back(text); });
    }
    void TearDown() override {
        SetProgressNoticeSink({});
        ResetUserFileState();
        UserList.clear();
        CurrentUser = nullptr;
        UserFilePath = savedPath_;
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path dir_;
    std::vector<std::string> notices_;

private:
    std::string savedPath_;
};

Bytes ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
// The file UserList and CurrentUser make, as bytes.
Bytes EncodeUserList();

}  // namespace progress_test
