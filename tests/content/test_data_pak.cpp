#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/DataPak.h"
#include "content/PakFormat.h"
#include "content/PakWriter.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> BuildPak(const std::vector<PakWriterEntry>& entries) {
    StreamPtr out = OpenMemoryWrite("test.pak");
    std::string problem;
    EXPECT_TRUE(WritePak(*out, entries, &problem)) << problem;
    return MemoryBytes(*out);
}

void PutInt(std::vector<uint8_t>& bytes, size_t at, int32_t v) {
    if (bytes.size() < at + 4) bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    StreamPtr out = OpenWrite(path.string());
    ASSERT_TRUE(out) << path;
    if (!bytes.empty()) out->Write(bytes.data(), bytes.size());
    out->Close();
}

std::string ReadText(const StreamPtr& stream) {
    std::vector<uint8_t> bytes = stream->ReadAll();
    return std::string(bytes.begin(), bytes.end());
}

// Runs each test in a fresh game folder, so loose files and the pack sit at the
// paths the game uses.
class DataPak : public testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() /
               ("totem_pak_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "media");
        fs::current_path(dir_);
        PakPath = "media/data.pak";
        ResetPakDirectory();
    }
    void TearDown() override {
        ResetPakDirectory();
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    void InstallPak(const std::vector<PakWriterEntry>& entries) {
        WriteFile(dir_ / "media/data.pak", BuildPak(entries));
    }

    fs::path previous_;
    fs::path dir_;
};

TEST_F(DataPak, NamesAreStoredScrambledAndPaddedWithSpaces) {
    const std::vector<uint8_t> pak = BuildPak({{"media/a.png", Bytes("12345")}});
    ASSERT_EQ(pak.size(), static_cast<size_t>(PAK_HEADER_SIZE + PAK_ENTRY_SIZE + 5));
    EXPECT_EQ(pak[0], 1);
    EXPECT_EQ(pak[4], static_cast<uint8_t>('m' + PAK_NAME_SCRAMBLE));
    EXPECT_EQ(pak[4 + 10], static_cast<uint8_t>('g' + PAK_NAME_SCRAMBLE));
    for (int i = 11; i < PAK_NAME_LENGTH; ++i) {
        EXPECT_EQ(pak[4 + i], static_cast<uint8_t>(' ' + PAK_NAME_SCRAMBLE)) << i;
    }
    StreamPtr s = OpenMemory(pak);
    s->Seek(4);
    EXPECT_EQ(ReadPakName(*s, PAK_NAME_LENGTH), "media/a.png" + std::string(89, ' '));
    EXPECT_EQ(s->ReadInt(), 5);
    EXPECT_EQ(s->ReadInt(), PAK_HEADER_SIZE + PAK_ENTRY_SIZE);
}

TEST_F(DataPak, RoundTripThroughTheWriter) {
    std::vector<PakWriterEntry> entries = {
        {"media/gui/a.png", Bytes("alpha")},
        {"media/empty.bin", {}},
        {"fx/caf\xC3\xA9.eff", Bytes("latin")},
        {std::string(100, 'n'), Bytes("longest name")},
    };
    std::vector<uint8_t> binary(1000);
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<uint8_t>(i * 7);
    entries.push_back({"media/binary.dat", binary});

    StreamPtr pak = OpenMemory(BuildPak(entries));
    std::vector<std::string> problems;
    const std::vector<TPakFile> dir = ReadPakDirectory(*pak, &problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(dir.size(), entries.size());
    for (size_t i = 0; i < dir.size(); ++i) {
        EXPECT_EQ(PakEntryName(dir[i]), entries[i].name);
        EXPECT_EQ(dir[i].FileName, PakKey(entries[i].name));
        StreamPtr w = OpenWindow(pak, dir[i].Offset, dir[i].Size, "");
        ASSERT_TRUE(w);
        EXPECT_EQ(w->ReadAll(), entries[i].data) << entries[i].name;
    }
}

TEST_F(DataPak, WriterRefusesNamesThePackCannotHold) {
    struct Case {
        std::string name;
        const char* reason;
    };
    const Case cases[] = {
        {std::string(101, 'x'), "longer than 100"},
        {"music/\xE2\x82\xAC.ogg", "cannot store"},  // beyond 8-bit text
    };
    for (const Case& c : cases) {
        StreamPtr out = OpenMemoryWrite();
        std::string problem;
        EXPECT_FALSE(WritePak(*out, {{"ok.png", Bytes("x")}, {c.name, Bytes("y")}}, &problem));
        EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.name), std::string::npos) << problem;
        EXPECT_TRUE(MemoryBytes(*out).empty());
    }
}

TEST_F(DataPak, LookupsIgnoreTheCaseOfTheRequestButNotOfTheStoredName) {
    InstallPak({{"media/gui/a.png", Bytes("packed a")}, {"media/Upper.png", Bytes("never")}});
    struct Case {
        const char* request;
        const char* content;  // nullptr: not found
    };
    const Case cases[] = {
        {"media/gui/a.png", "packed a"},
        {"Media/GUI/A.PNG", "packed a"},
        {"media\\gui\\a.png", nullptr},   // separators are compared as written
        {"media/gui/a.png ", "packed a"},  // padding spaces are part of every name
        {"media/gui/a.pn", nullptr},
        {"media/Upper.png", nullptr},
        {"media/upper.png", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        StreamPtr s = OpenResource(c.request);
        EXPECT_EQ(ResourceExists(c.request), c.content ? 1 : 0) << c.request;
        if (!c.content) {
            EXPECT_FALSE(s) << c.request;
            continue;
        }
        ASSERT_TRUE(s) << c.request;
        EXPECT_EQ(ReadText(s), c.content);
    }
}

TEST_F(DataPak, LongPathsCompareOnTheirFirstHundredCharacters) {
    const std::string stored(100, 'p');
    InstallPak({{stored, Bytes("long")}});
    StreamPtr s = OpenResource(stored + "/anything/after.png");
    ASSERT_TRUE(s);
    EXPECT_EQ(ReadText(s), "long");
}

TEST_F(DataPak, LooseFilesWinOverThePack) {
    InstallPak({{"media/gui/a.png", Bytes("packed")}, {"media/gui/b.png", Bytes("packed b")}});
    WriteFile(dir_ / "media/gui/a.png", Bytes("loose"));
    EXPECT_EQ(ReadText(OpenResource("media/gui/a.png")), "loose");
    EXPECT_EQ(ReadText(OpenResource("media/gui/b.png")), "packed b");
    EXPECT_EQ(ResourceExists("media/gui"), 1);   // a folder on disk
    EXPECT_EQ(ResourceExists("media/gui/c.png"), 0);
}

TEST_F(DataPak, AStreamEndsExactlyAtItsEntry) {
    InstallPak({{"first", Bytes("0123456789")}, {"second", Bytes("abc")}, {"third", Bytes("XYZ!")}});
    StreamPtr second = OpenResource("second");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Size(), 3);
    EXPECT_EQ(ReadText(second), "abc");
    EXPECT_TRUE(second->Eof());
    EXPECT_EQ(second->ReadByte(), 0);

    // Streams from separate calls are independent of each other.
    StreamPtr a = OpenResource("first");
    StreamPtr b = OpenResource("first");
    EXPECT_EQ(a->ReadByte(), '0');
    EXPECT_EQ(a->ReadByte(), '1');
    EXPECT_EQ(b->ReadByte(), '0');
    EXPECT_EQ(a->ReadByte(), '2');
}

TEST_F(DataPak, WithoutAPackOnlyLooseFilesAreFound) {
    WriteFile(dir_ / "media/loose.txt", Bytes("here"));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenResource("media/missing.png"));
    EXPECT_EQ(ReadText(OpenResource("media/loose.txt")), "here");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(PakLoaded, 1);
    EXPECT_TRUE(PakDirectory.empty());
}

TEST_F(DataPak, DamagedPacksKeepOnlyTheirIntactEntries) {
    const std::vector<uint8_t> good =
        BuildPak({{"a", Bytes("aaaa")}, {"b", Bytes("bbbb")}, {"c", Bytes("cccc")}});
    const size_t entry1 = PAK_HEADER_SIZE + PAK_ENTRY_SIZE;  // start of b's record
    auto with = [&good](auto change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        return bytes;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::string> names;
        bool reported;
    };
    const Case cases[] = {
        {"intact", good, {"a", "b", "c"}, false},
        {"empty file", {}, {}, true},
        {"cut inside the count", {3, 0}, {}, true},
        {"no entries", {0, 0, 0, 0}, {}, false},
        {"negative count", with([](auto& b) { PutInt(b, 0, -1); }), {}, true},
        {"absurd count", with([](auto& b) { PutInt(b, 0, 0x7FFFFFFF); }), {"a", "b", "c"}, true},
        // The first record fits but its data lay beyond the cut.
        {"cut inside the directory", std::vector<uint8_t>(good.begin(), good.begin() + 200), {}, true},
        {"data past the end", with([&](auto& b) { PutInt(b, entry1 + 104, 1 << 30); }), {"a", "c"}, true},
        {"size past the end", with([&](auto& b) { PutInt(b, entry1 + 100, 0x7FFFFFFF); }), {"a", "c"}, true},
        {"negative size", with([&](auto& b) { PutInt(b, entry1 + 100, -4); }), {"a", "c"}, true},
        {"negative offset", with([&](auto& b) { PutInt(b, entry1 + 104, -4); }), {"a", "c"}, true},
        {"data cut off", std::vector<uint8_t>(good.begin(), good.end() - 2), {"a", "b"}, true},
    };
    for (const Case& c : cases) {
        std::vector<std::string> problems;
        StreamPtr s = OpenMemory(c.bytes);
        const std::vector<TPakFile> dir = ReadPakDirectory(*s, &problems);
        std::vector<std::string> names;
        for (const TPakFile& e : dir) {
            names.push_back(PakEntryName(e));
            EXPECT_LE(static_cast<int64_t>(e.Offset) + e.Size, static_cast<int64_t>(c.bytes.size()));
            EXPECT_GE(e.Size, 0);
            EXPECT_GE(e.Offset, 0);
        }
        EXPECT_EQ(names, c.names) << c.what;
        EXPECT_EQ(!problems.empty(), c.reported) << c.what;
    }
}

TEST_F(DataPak, ADamagedPackIsReportedByNameAndItsGoodEntriesStillServe) {
    std::vector<uint8_t> bytes = BuildPak({{"good", Bytes("fine")}, {"bad", Bytes("lost")}});
    PutInt(bytes, PAK_HEADER_SIZE + PAK_ENTRY_SIZE + 104, 1 << 28);
    WriteFile(dir_ / "media/data.pak", bytes);
    testing::internal::CaptureStdout();
    StreamPtr good = OpenResource("good");
    StreamPtr bad = OpenResource("bad");
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(good);
    EXPECT_EQ(ReadText(good), "fine");
    EXPECT_FALSE(bad);
    EXPECT_EQ(printed.rfind("media/data.pak: ", 0), 0u) << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

TEST_F(DataPak, APackShortenedAfterItsDirectoryWasReadGivesNoStream) {
    InstallPak({{"a", Bytes("aaaa")}, {"b", Bytes("bbbb")}});
    ASSERT_EQ(ResourceExists("b"), 1);
    const std::vector<uint8_t> whole = BuildPak({{"a", Bytes("aaaa")}, {"b", Bytes("bbbb")}});
    WriteFile(dir_ / "media/data.pak", std::vector<uint8_t>(whole.begin(), whole.end() - 3));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenResource("b"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("media/data.pak"), std::string::npos);
    EXPECT_TRUE(OpenResource("a"));
}

}  // namespace
