#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "media/Files.h"
#include "media/TStream.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> b) {
    std::vector<uint8_t> v;
    for (int x : b) v.push_back(uint8_t(x));
    return v;
}

TEST(Stream, ReadsLittleEndianNumbers) {
    auto s = OpenMemory(Bytes({0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F, 0x7F}));
    EXPECT_EQ(s->ReadShort(), 0x1234);
    EXPECT_EQ(s->ReadInt(), -2);
    EXPECT_FLOAT_EQ(s->ReadFloat(), 1.0f);
    EXPECT_FALSE(s->Eof());
    EXPECT_EQ(s->ReadByte(), 0x7F);
    EXPECT_TRUE(s->Eof());
}

TEST(Stream, ReadingPastTheEndGivesZerosAndStaysInBounds) {
    auto s = OpenMemory(Bytes({0x01, 0x02}));
    EXPECT_EQ(s->ReadInt(), 0x0201);  // two bytes missing read as zero
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(s->ReadInt(), 0);
    EXPECT_EQ(s->ReadString(10), "");
    EXPECT_EQ(s->ReadLine(), "");
}

TEST(Stream, ReadLineStopsAtLineFeedOrZeroAndDropsCarriageReturns) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one\r\ntwo\n", {"one", "two"}},
        {std::string("a\0b", 3), {"a", "b"}},
        {"no end", {"no end"}},
        {"x\r\r\ny", {"x", "y"}},
        {"\n\n", {"", ""}},
    };
    for (const auto& c : cases) {
        auto s = OpenMemory(std::vector<uint8_t>(c.bytes.begin(), c.bytes.end()));
        std::vector<std::string> got;
        while (!s->Eof()) got.push_back(s->ReadLine());
        EXPECT_EQ(got, c.lines) << c.bytes;
    }
}

TEST(Stream, StringsAreLatin1OnDiskAndUtf8InMemory) {
    auto w = OpenMemoryWrite();
    w->WriteString("Zoë");
    w->WriteLine("€");  // beyond 8 bits: written as '?'
    auto bytes = MemoryBytes(*w);
    EXPECT_EQ(bytes, Bytes({'Z', 'o', 0xEB, '?', '\r', '\n'}));
    auto r = OpenMemory(bytes);
    EXPECT_EQ(r->ReadString(3), "Zoë");
    EXPECT_EQ(r->ReadLine(), "?");
}

TEST(Stream, WritersRoundTripThroughAFile) {
    auto path = (std::filesystem::temp_directory_path() / "totem_stream_test.bin").string();
    {
        auto w = OpenWrite(path);
        ASSERT_TRUE(w);
        w->WriteByte(7);
        w->WriteShort(-3);
        w->WriteInt(-123456);
        w->WriteFloat(2.5f);
        w->WriteString("ok");
        w->Close();
    }
    auto r = OpenRead(path);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Size(), 1 + 2 + 4 + 4 + 2);
    EXPECT_EQ(r->ReadByte(), 7);
    EXPECT_EQ(r->ReadShort(), 0xFFFD);
    EXPECT_EQ(r->ReadInt(), -123456);
    EXPECT_FLOAT_EQ(r->ReadFloat(), 2.5f);
    EXPECT_EQ(r->ReadString(2), "ok");
    EXPECT_TRUE(r->Eof());
    std::filesystem::remove(path);
}

TEST(Stream, OpenReadOfMissingFileOrFolderIsNull) {
    EXPECT_EQ(OpenRead("/nonexistent/file.bin"), nullptr);
    EXPECT_EQ(OpenRead(std::filesystem::temp_directory_path().string()), nullptr);
}

// A reader with nothing to read passes an empty vector's data(), which may be
// null: no bytes move and nothing is touched, wherever the stream stands.
TEST(Stream, ZeroBytesToOrFromNoBufferMoveNothing) {
    struct Case {
        const char* name;
        StreamPtr stream;
        int64_t at;
    } cases[] = {
        {"memory at its start", OpenMemory(Bytes({1, 2, 3})), 0},
        {"memory inside", OpenMemory(Bytes({1, 2, 3})), 2},
        {"empty memory", OpenMemory(std::vector<uint8_t>{}), 0},
        {"memory for writing", OpenMemoryWrite("w"), 0},
        {"window", OpenWindow(OpenMemory(Bytes({1, 2, 3, 4})), 1, 2, "slice"), 1},
    };
    for (Case& c : cases) {
        ASSERT_TRUE(c.stream) << c.name;
        ASSERT_TRUE(c.stream->Seek(c.at)) << c.name;
        EXPECT_EQ(c.stream->Read(nullptr, 0), 0u) << c.name;
        EXPECT_EQ(c.stream->Write(nullptr, 0), 0u) << c.name;
        EXPECT_EQ(c.stream->Pos(), c.at) << c.name;
    }
}

TEST(Stream, WindowSeesExactlyItsSlice) {
    auto base = OpenMemory(Bytes({1, 2, 3, 4, 5, 6}));
    auto w = OpenWindow(base, 2, 3, "slice");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Size(), 3);
    EXPECT_EQ(w->ReadAll(), Bytes({3, 4, 5}));
    EXPECT_TRUE(w->Eof());
    EXPECT_EQ(OpenWindow(base, 4, 3, "past end"), nullptr);
    EXPECT_EQ(OpenWindow(base, -1, 2, "negative"), nullptr);
}

TEST(Utf8, DecodesAndKeepsStrayBytes) {
    std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB8\xFF\xC3";
    std::vector<char32_t> codes;
    for (size_t i = 0; i < text.size();) codes.push_back(NextCodePoint(text, i));
    EXPECT_EQ(codes, (std::vector<char32_t>{'a', 0xE9, 0x20AC, 0x1F3B8, 0xFF, 0xC3}));
}

TEST(Files, ExtensionsAndKinds) {
    struct Case {
        const char* path;
        const char* stripped;
        const char* ext;
    };
    const Case cases[] = {
        {"media/notes.mid", "media/notes", "mid"},
        {"media\\songs\\a.b\\song", "media\\songs\\a.b\\song", ""},
        {"dir.x/file", "dir.x/file", ""},
        {"archive.tar.gz", "archive.tar", "gz"},
        {"noext", "noext", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripExtension(c.path), c.stripped) << c.path;
        EXPECT_EQ(PathExtension(c.path), c.ext) << c.path;
    }
    auto dir = std::filesystem::temp_directory_path();
    EXPECT_EQ(PathKind(dir.string()), 2);
    EXPECT_EQ(PathKind((dir / "no_such_totem_file").string()), 0);
    auto file = (dir / "totem_kind_test.txt").string();
    OpenWrite(file)->WriteLine("x");
    EXPECT_EQ(PathKind(file), 1);
    std::string backslashed = file;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(PathKind(backslashed), 1);
    std::filesystem::remove(file);
}

}  // namespace
