#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

#include "content/TextTable.h"
#include "media/TStream.h"

namespace {

std::vector<uint8_t> Utf16(const std::u16string& text, bool withMark = true) {
    std::vector<uint8_t> bytes;
    if (withMark) bytes = {0xFF, 0xFE};
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<std::string> Read(const std::vector<uint8_t>& bytes, std::string* output = nullptr) {
    StreamPtr stream = OpenMemory(bytes, "media/StringE.dat");
    testing::internal::CaptureStdout();
    std::vector<std::string> table = ReadTextTable(*stream);
    std::string printed = testing::internal::GetCapturedStdout();
    if (output) *output = printed;
    return table;
}

TEST(TextTable, UndefinedNumbersReadAsPlaceholders) {
    std::u16string text;
    for (int n = 1; n <= 217; ++n) {
        std::string line = std::to_string(n);
        line.insert(0, 3 - line.size(), '0');
        line += " text " + std::to_string(n) + "\r\n";
        text += std::u16string(line.begin(), line.end());
    }
    std::string printed;
    const std::vector<std::string> table = Read(Utf16(text), &printed);
    ASSERT_EQ(table.size(), 301u);
    EXPECT_EQ(table[0], "");
    EXPECT_EQ(table[1], "text 1");
    EXPECT_EQ(table[217], "text 217");
    EXPECT_EQ(table[218], "!!!lang: 218");
    EXPECT_EQ(table[250], "!!!lang: 250");
    EXPECT_EQ(table[300], "!!!lang: 300");
    EXPECT_EQ(printed, "");
}

TEST(TextTable, TheLargestNumberSetsTheSize) {
    EXPECT_EQ(Read(Utf16(u"999 last")).size(), 1000u);
    EXPECT_EQ(Read(Utf16(u"999 last"))[999], "last");
    EXPECT_EQ(Read(Utf16(u"301 x\r\n005 y")).size(), 302u);
}

TEST(TextTable, LinesFollowTheFixedColumns) {
    struct Case {
        std::u16string line;
        int number;
        std::string text;
    };
    const Case cases[] = {
        {u"12 word", 12, "ord"},           // the fourth character is always the separator
        {u"7  seven", 7, "even"},             // two spaces: the text starts at the "e"
        {u"007 seven", 7, "seven"},
        {u"  5 five", 5, "five"},
        {u"+42 plus", 42, "plus"},
        {u"100   padded \t ", 100, "padded"},
        {u"101 inner  spaces", 101, "inner  spaces"},
        {u"123", 123, ""},
        {u"124 ", 124, ""},
        {u"125x ok", 125, "ok"},              // separator may be any character
        {u"abc def", 0, "def"},               // no number writes entry 0
        {u"", 0, ""},
        {u"3.5 frac", 3, "frac"},
        {u"009 \u00e9t\u00e9 \u4e2d", 9, "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD"},
        {u"010 \U0001F3B8!", 10, "\xF0\x9F\x8E\xB8!"},    // a surrogate pair is one character
        {u"011 a\xD800z", 11, "a\xEF\xBF\xBDz"},         // a lone surrogate is replaced
    };
    for (const Case& c : cases) {
        std::u16string file = u"200 before\r\n" + c.line;
        const std::vector<std::string> table = Read(Utf16(file));
        ASSERT_GT(table.size(), static_cast<size_t>(c.number));
        EXPECT_EQ(table[c.number], c.text) << c.number;
        EXPECT_EQ(table[200], "before");
    }
}

TEST(TextTable, NegativeNumbersWriteNothingAndTheLastLineWins) {
    const std::vector<std::string> table = Read(Utf16(u"-5 neg\r\n-1 x\r\n020 first\r\n020 second"));
    EXPECT_EQ(table[0], "");
    EXPECT_EQ(table[5], "!!!lang: 5");
    EXPECT_EQ(table[1], "!!!lang: 1");
    EXPECT_EQ(table[20], "second");
}

TEST(TextTable, LineEndsAreCarriageReturnsAndTheNextUnitIsDropped) {
    struct Case {
        std::u16string file;
        std::vector<std::pair<int, std::string>> entries;
    };
    const Case cases[] = {
        {u"001 a\r\n002 b\r\n", {{1, "a"}, {2, "b"}}},
        {u"001 a\r\n002 b", {{1, "a"}, {2, "b"}}},      // no final line end
        {u"001 a\rX002 b", {{1, "a"}, {2, "b"}}},       // any unit after CR is dropped
        {u"001 a\r", {{1, "a"}}},
        {u"001 a\n002 b", {{1, "a\n002 b"}}},           // a line feed alone does not end a line
        {u"001 a\r\n\r\n003 c", {{0, ""}, {1, "a"}, {3, "c"}}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> table = Read(Utf16(c.file));
        for (const auto& [number, text] : c.entries) EXPECT_EQ(table[number], text) << number;
    }
}

TEST(TextTable, DamagedFilesAreReadAsWellAsPossibleAndReported) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int number;
        std::string text;
        int reportLines;
    };
    std::vector<uint8_t> odd = Utf16(u"001 odd");
    odd.push_back('!');
    std::vector<uint8_t> bigEndian = {0xFE, 0xFF, 0, '0', 0, '0', 0, '2', 0, ' ', 0, 'b', 0, 'e'};
    const Case cases[] = {
        {"odd length", odd, 1, "odd", 1},
        {"no byte-order mark", Utf16(u"003 nomark", false), 3, "nomark", 1},
        {"big-endian", bigEndian, 2, "be", 1},
        {"empty", {}, 4, "!!!lang: 4", 1},
        {"a single byte", {0xFF}, 4, "!!!lang: 4", 2},  // odd and empty
        {"only the mark", {0xFF, 0xFE}, 4, "!!!lang: 4", 0},
    };
    for (const Case& c : cases) {
        std::string printed;
        const std::vector<std::string> table = Read(c.bytes, &printed);
        ASSERT_EQ(table.size(), 301u) << c.what;
        EXPECT_EQ(table[c.number], c.text) << c.what;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), c.reportLines) << c.what << printed;
        if (c.reportLines > 0) {
            EXPECT_EQ(printed.rfind("media/StringE.dat: ", 0), 0u) << c.what;
        }
    }
}

TEST(TextTable, LoadingFromAFileReplacesTheTableAndAMissingFileKeepsIt) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("totem_text_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "StringE.dat").string();
    {
        StreamPtr out = OpenWrite(path);
        const std::vector<uint8_t> bytes = Utf16(u"110 Totem Riff\r\n");
        out->Write(bytes.data(), bytes.size());
        out->Close();
    }
    TextTable.assign(300, "");
    LoadTextTable((dir / "missing.dat").string());
    EXPECT_EQ(TextTable.size(), 300u);
    EXPECT_EQ(TextTable[1], "");

    LoadTextTable(path);
    ASSERT_EQ(TextTable.size(), 301u);
    EXPECT_EQ(TextTable[110], "Totem Riff");
    EXPECT_EQ(TextTable[1], "!!!lang: 1");
    fs::remove_all(dir);
}

}  // namespace
