// Profiles and their file: the byte format, the high-score and star rules,
// files the program writes read back unchanged, and damaged or unwritable
// files, which must never crash the game, never cost it more memory than the
// file's own size, and never be written over.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProgressTestSupport.h"
#include "media/TStream.h"
#include "progress/TStdIO.h"

namespace {

using namespace progress_test;
namespace fs = std::filesystem;

// One profile named Ann, current, who completed level 1 with 1500 points and
// 2 stars and received "TPRIZE_X2".
Bytes AnnFile() {
    Bytes b;
    PutInt(b, 1);
    PutString(b, u"Ann");
    b.push_back(1);
    b.push_back(2);
    PutInt(b, 2);
    PutInt(b, 1);
    PutString(b, u"TPRIZE_X2");
    PutInt(b, 1500);
    PutInt(b, 0);
    PutInt(b, 2);
    PutInt(b, 0);
    return b;
}

TEST_F(UserFileTest, AnnIsWrittenByteForByte) {
    const UserPtr ann = CreateUser("Ann");
    CurrentUser = ann;
    ann->GameData->SetLevelStars(1, 2);
    ann->GameData->CurrentLevel = 2;
    ann->GameData->SetHiScore(1, 1500);
    ann->GameData->Prizes.push_back("TPRIZE_X2");
    ASSERT_TRUE(SaveUserList());
    const Bytes expected = AnnFile();
    EXPECT_EQ(ReadBytes(UserFilePath), expected);
    // The hand-written head of the same file, as the format lays it out.
    const Bytes head = {0x01, 0, 0, 0, 0x03, 0, 0, 0, 0x41, 0, 0, 0, 0x6E, 0, 0, 0, 0x6E, 0, 0, 0, 0x01, 0x02};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), expected.begin()));
    EXPECT_TRUE(notices_.empty());
}

TEST_F(UserFileTest, AnnIsReadBack) {
    WriteBytes(UserFilePath, AnnFile());
    LoadUserList();
    ASSERT_EQ(UserList.size(), 1u);
    const UserPtr ann = UserList[0];
    EXPECT_EQ(ann->name, "Ann");
    EXPECT_EQ(ann->id, 1);
    EXPECT_EQ(CurrentUser, ann);
    EXPECT_EQ(ann->GameData->CurrentLevel, 2);
    EXPECT_EQ(ann->GameData->Prizes, std::vector<std::string>{"TPRIZE_X2"});
    EXPECT_EQ(ann->GameData->GetHiScore(1), 1500);
    EXPECT_EQ(ann->GameData->GetLevelStars(1), 2);
    EXPECT_EQ(ann->GameData->GetHiScore(2), 0);
    EXPECT_TRUE(notices_.empty());
}

TEST_F(UserFileTest, NameIsStoredAsUtf16CodeUnits) {
    const struct {
        const char* utf8;
        std::u16string units;
    } cases[] = {
        {"Zo\xC3\xAB", u"Zo\u00EB"},                 // ë is the one unit 0xEB
        {"\xE5\xA4\xAA\xE9\x83\x8E", u"\u592A\u90CE"},  // two units
        {"\xF0\x9F\x8E\xB8!", u"\U0001F3B8!"},          // a surrogate pair
        {"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        StreamPtr memory = OpenMemoryWrite();
        TStdIO::WriteString(*memory, c.utf8);
        Bytes expected;
        PutString(expected, c.units);
        EXPECT_EQ(MemoryBytes(*memory), expected);
        StreamPtr back = OpenMemory(expected);
        std::string name = "unchanged";
        ASSERT_TRUE(TStdIO::ReadString(*back, name));
        EXPECT_EQ(name, c.utf8);
    }
}

// A file the program wrote, read and written again, is the same file: names
// with units the font may not show (an unpaired surrogate, a control
// character) included.
TEST_F(UserFileTest, WrittenFileIsReadBackIdentically) {
    Bytes file;
    PutInt(file, 3);
    PutString(file, u"Ann");
    file.push_back(0);
    file.push_back(2);
    PutInt(file, 29);
    PutInt(file, 2);
    PutString(file, u"TPRIZE_LONG");
    PutString(file, u"TPRIZE_X4");
    for (int i = 0; i < 29; ++i) PutInt(file, i * 1000 - 5);
    for (int i = 0; i < 29; ++i) PutInt(file, i % 4);
    const std::u16string odd = {u'B', 0xD800, u'\x01', 0xDC00, 0xD83C, 0xDFB8, 0xFFFF};
    PutString(file, odd);
    file.push_back(1);
    file.push_back(2);
    PutInt(file, 1);
    PutInt(file, 0);
    PutInt(file, 0);
    PutInt(file, 0);
    PutString(file, u"Zo\u00EB");
    file.push_back(0);
    file.push_back(2);
    PutInt(file, 30);
    PutInt(file, 0);
    for (int i = 0; i < 60; ++i) PutInt(file, -i);
    WriteBytes(UserFilePath, file);

    LoadUserList();
    ASSERT_EQ(UserList.size(), 3u);
    EXPECT_EQ(CurrentUser, UserList[1]);
    EXPECT_EQ(UserList[2]->name, "Zo\xC3\xAB");
    ASSERT_TRUE(SaveUserList());
    EXPECT_EQ(ReadBytes(UserFilePath), file);
    EXPECT_TRUE(notices_.empty());
}

TEST_F(UserFileTest, LaterOfTwoCurrentMarkersWins) {
    Bytes file;
    PutInt(file, 2);
    for (const char16_t* name : {u"Ann", u"Bob"}) {
        PutString(file, name);
        file.push_back(1);
        file.push_back(2);
        PutInt(file, 1);
        PutInt(file, 0);
        PutInt(file, 0);
        PutInt(file, 0);
    }
    WriteBytes(UserFilePath, file);
    LoadUserList();
    ASSERT_EQ(UserList.size(), 2u);
    EXPECT_EQ(CurrentUser, UserList[1]);
    EXPECT_EQ(CurrentUser->name, "Bob");
}

// A record whose progress marker is 0 carries no block: the profile starts
// with fresh progress and the next record follows at once.
TEST_F(UserFileTest, RecordWithoutProgressBlock) {
    Bytes file;
    PutInt(file, 2);
    PutString(file, u"Ann");
    file.push_back(0);
    file.push_back(0);
    PutString(file, u"Bob");
    file.push_back(1);
    file.push_back(2);
    PutInt(file, 3);
    PutInt(file, 0);
    for (int v : {100, 200, 300, 1, 2, 3}) PutInt(file, v);
    WriteBytes(UserFilePath, file);
    LoadUserList();
    ASSERT_EQ(UserList.size(), 2u);
    const GameDataPtr ann = UserList[0]->GameData;
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->CurrentLevel, 1);
    EXPECT_TRUE(ann->Prizes.empty());
    EXPECT_EQ(ann->GetHiScore(1), 0);
    EXPECT_EQ(UserList[1]->GameData->GetHiScore(2), 200);
    EXPECT_EQ(UserList[1]->GameData->GetLevelStars(3), 3);
    EXPECT_EQ(CurrentUser, UserList[1]);
}

TEST(GameData, BlockLeavesEntriesFromItsLevelOnAlone) {
    TGameData data;
    for (int i = 0; i < TGameData::ENTRIES; ++i) {
        data.Scores[i] = 7000 + i;
        data.Stars[i] = 3;
    }
    data.Prizes = {"TPRIZE_OLD"};
    Bytes block;
    PutInt(block, 2);
    PutInt(block, 0);
    for (int v : {10, 20, 1, 2}) PutInt(block, v);
    StreamPtr stream = OpenMemory(block);
    ASSERT_TRUE(data.Load(*stream));
    EXPECT_EQ(data.CurrentLevel, 2);
    EXPECT_TRUE(data.Prizes.empty()) << "the block's prizes replace the old ones";
    EXPECT_EQ(data.Scores[0], 10);
    EXPECT_EQ(data.Scores[1], 20);
    EXPECT_EQ(data.Stars[1], 2);
    for (int i = 2; i < TGameData::ENTRIES; ++i) {
        EXPECT_EQ(data.Scores[i], 7000 + i);
        EXPECT_EQ(data.Stars[i], 3);
    }
}

TEST_F(UserFileTest, NewProfileSavesTheSmallestBlock) {
    CurrentUser = CreateUser("Al");
    ASSERT_TRUE(SaveUserList());
    Bytes expected;
    PutInt(expected, 1);
    PutString(expected, u"Al");
    expected.push_back(1);
    expected.push_back(2);
    for (int v : {1, 0, 0, 0}) PutInt(expected, v);
    EXPECT_EQ(ReadBytes(UserFilePath), expected);
}

TEST_F(UserFileTest, ProfilesAreNumberedAfterTheLast) {
    EXPECT_EQ(CreateUser("a")->id, 1);
    EXPECT_EQ(CreateUser("b")->id, 2);
    UserList.erase(UserList.begin());
    EXPECT_EQ(CreateUser("c")->id, 3);
    EXPECT_EQ(CurrentUser, nullptr) << "creating does not choose";
    EXPECT_FALSE(fs::exists(UserFilePath)) << "creating does not save";
}

TEST(GameData, HighScoreAndStarsOnlyRise) {
    TGameData data;
    data.CurrentLevel = 4;
    struct Step {
        int score, stars;
        int scoreStored, starsStored;
        int hiScore, levelStars;
    };
    // Level 3, played four times.
    const Step steps[] = {
        {5000, 1, 1, 1, 5000, 1},
        {4000, 2, 0, 1, 5000, 2},  // fewer points: score kept, stars still raised
        {5000, 0, 1, 0, 5000, 2},  // the same score again counts as a high score
        {9000, 3, 1, 1, 9000, 3},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.score);
        EXPECT_EQ(data.SetLevelStars(3, s.stars), s.starsStored);
        EXPECT_EQ(data.SetHiScore(3, s.score), s.scoreStored);
        EXPECT_EQ(data.GetHiScore(3), s.hiScore);
        EXPECT_EQ(data.GetLevelStars(3), s.levelStars);
    }
    // Above the unlocked level nothing is reported, whatever is stored.
    data.Scores[9] = 123;
    EXPECT_EQ(data.GetHiScore(10), 0);
    data.CurrentLevel = 10;
    EXPECT_EQ(data.GetHiScore(10), 123);
    // Levels outside the arrays take nothing.
    EXPECT_EQ(data.SetHiScore(0, 1), 0);
    EXPECT_EQ(data.SetHiScore(31, 1), 0);
}

// ---- Damaged files -----------------------------------------------------------

struct DamageCase {
    const char* name;
    Bytes bytes;
};

Bytes Damaged(void (*edit)(Bytes&)) {
    Bytes b = AnnFile();
    edit(b);
    return b;
}

std::vector<DamageCase> DamageCases() {
    std::vector<DamageCase> cases;
    cases.push_back({"Empty", {}});
    cases.push_back({"ShorterThanItsCount", {0x01, 0x00}});
    // Every cut of the Ann file short of its end.
    for (size_t cut : {4u, 8u, 20u, 21u, 22u, 25u, 30u, 40u, 70u, 71u, 75u}) {
        Bytes b = AnnFile();
        b.resize(cut);
        cases.push_back({"TruncatedAtByte", b});
    }
    cases.push_back({"NegativeProfileCount", Damaged([](Bytes& b) { b[3] = 0xFF; })});
    cases.push_back({"HugeProfileCount", Damaged([](Bytes& b) { b[3] = 0x7F; })});
    cases.push_back({"TwoProfilesInOneRecord", Damaged([](Bytes& b) { b[0] = 2; })});
    cases.push_back({"NegativeNameLength", Damaged([](Bytes& b) { b[7] = 0x80; })});
    cases.push_back({"NameLongerThanTheFile", Damaged([](Bytes& b) { b[6] = 0x10; })});
    cases.push_back({"UnitAboveUtf16", Damaged([](Bytes& b) { b[10] = 0x01; })});
    cases.push_back({"CurrentLevelAbove30", Damaged([](Bytes& b) { b[22] = 31; })});
    cases.push_back({"CurrentLevelHuge", Damaged([](Bytes& b) { b[25] = 0x7F; })});
    cases.push_back({"CurrentLevelZero", Damaged([](Bytes& b) { b[22] = 0; })});
    cases.push_back({"CurrentLevelNegative", Damaged([](Bytes& b) { b[25] = 0xFF; })});
    cases.push_back({"HugePrizeCount", Damaged([](Bytes& b) { b[29] = 0x40; })});
    cases.push_back({"NegativePrizeCount", Damaged([](Bytes& b) { b[29] = 0x80; })});
    cases.push_back({"PrizeNameLongerThanTheFile", Damaged([](Bytes& b) { b[31] = 0x01; })});
    cases.push_back({"TrailingGarbage", Damaged([](Bytes& b) { b.push_back(0); })});
    cases.push_back({"TrailingRecord", Damaged([](Bytes& b) {
                         const Bytes again = AnnFile();
                         b.insert(b.end(), again.begin() + 4, again.end());
                     })});
    return cases;
}

class DamagedUserFile : public UserFileTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedUserFile, IsKeptAsideToldOnceAndTheGameStartsEmpty) {
    const Bytes damaged = GetParam().bytes;
    // Profiles in memory from before must not survive a failed load either.
    CurrentUser = CreateUser("stale");
    WriteBytes(UserFilePath, damaged);

    LoadUserList();
    EXPECT_TRUE(UserList.empty());
    EXPECT_EQ(CurrentUser, nullptr);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_NE(notices_[0].find("User.dat.damaged"), std::string::npos) << notices_[0];
    EXPECT_FALSE(fs::exists(UserFilePath));
    EXPECT_EQ(ReadBytes(UserFilePath + ".damaged"), damaged) << "kept as it was";

    // Playing on saves a fresh file beside the kept one, without telling again.
    CurrentUser = CreateUser("Ann");
    EXPECT_TRUE(SaveUserList());
    EXPECT_EQ(ReadBytes(UserFilePath + ".damaged"), damaged);
    EXPECT_EQ(notices_.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedUserFile, ::testing::ValuesIn(DamageCases()),
                         [](const ::testing::TestParamInfo<DamageCase>& info) {
                             return std::string(info.param.name) + "_" + std::to_string(info.index);
                         });

TEST_F(UserFileTest, EarlierDamagedCopyIsNotReplaced) {
    const Bytes first = {1, 2, 3}, second = {4, 5};
    WriteBytes(UserFilePath + ".damaged", first);
    WriteBytes(UserFilePath, second);
    LoadUserList();
    EXPECT_EQ(ReadBytes(UserFilePath + ".damaged"), first);
    EXPECT_EQ(ReadBytes(UserFilePath + ".damaged-2"), second);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_NE(notices_[0].find("User.dat.damaged-2"), std::string::npos) << notices_[0];
}

// When the damaged file cannot be moved aside, nothing is ever saved over it.
TEST_F(UserFileTest, DamagedFileThatCannotBeMovedIsNeverOverwritten) {
    const Bytes damaged = {9, 9, 9};
    WriteBytes(UserFilePath, damaged);
    // Every aside name is taken, by folders, so the rename has nowhere to go.
    fs::create_directory(UserFilePath + ".damaged");
    for (int n = 2; n <= 100; ++n) fs::create_directory(UserFilePath + ".damaged-" + std::to_string(n));
    LoadUserList();
    EXPECT_TRUE(UserList.empty());
    ASSERT_EQ(notices_.size(), 1u);
    CurrentUser = CreateUser("Ann");
    EXPECT_FALSE(SaveUserList());
    EXPECT_EQ(ReadBytes(UserFilePath), damaged);
    EXPECT_EQ(notices_.size(), 1u) << "told once, at the load";
}

TEST_F(UserFileTest, MissingFileMeansNoProfilesAndNoNotice) {
    CurrentUser = CreateUser("stale");
    LoadUserList();
    EXPECT_TRUE(UserList.empty());
    EXPECT_EQ(CurrentUser, nullptr);
    EXPECT_TRUE(notices_.empty());
}

// ---- Unwritable folders ------------------------------------------------------

TEST_F(UserFileTest, UnwritableFolderIsToldOnceAndPlayGoesOn) {
    // A folder that does not exist cannot take the file, even for root.
    UserFilePath = (dir_ / "gone" / "User.dat").string();
    CurrentUser = CreateUser("Ann");
    EXPECT_FALSE(SaveUserList());
    EXPECT_FALSE(SaveUserList());
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_NE(notices_[0].find("will not be kept"), std::string::npos) << notices_[0];
    EXPECT_EQ(UserList.size(), 1u) << "the profiles stay in memory";
    // Once the folder is there, saving works again, silently.
    fs::create_directory(dir_ / "gone");
    EXPECT_TRUE(SaveUserList());
    EXPECT_EQ(notices_.size(), 1u);
}

TEST_F(UserFileTest, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    CurrentUser = CreateUser("Ann");
    ASSERT_TRUE(SaveUserList());
    const Bytes before = ReadBytes(UserFilePath);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    CurrentUser->GameData->SetHiScore(1, 500);
    EXPECT_FALSE(SaveUserList());
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(UserFilePath), before);
    EXPECT_EQ(notices_.size(), 1u);
    EXPECT_FALSE(fs::exists(UserFilePath + ".tmp"));
}

// A save replaces the file whole and leaves no temporary file behind.
TEST_F(UserFileTest, SaveReplacesTheWholeFile) {
    CurrentUser = CreateUser("Ann");
    for (int i = 0; i < 3; ++i) CreateUser("profile " + std::to_string(i));
    ASSERT_TRUE(SaveUserList());
    UserList.resize(1);
    ASSERT_TRUE(SaveUserList());
    EXPECT_EQ(ReadBytes(UserFilePath), EncodeUserList());
    EXPECT_FALSE(fs::exists(UserFilePath + ".tmp"));
}

}  // namespace
