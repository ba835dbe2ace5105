#include "content/TextTable.h"

#include <algorithm>
#include <cstdint>

#include "media/System.h"

std::vector<std::string> TextTable(300);

namespace {

constexpr int MIN_LAST_ENTRY = 300;
constexpr char16_t BYTE_ORDER_MARK = 0xFEFF;
constexpr char16_t SWAPPED_BYTE_ORDER_MARK = 0xFFFE;

struct TextLine {
    int number = 0;
    std::u16string text;
};

// The entry number: up to three characters, leading blanks, an optional sign
// and decimal digits up to the first non-digit. No digits read as 0.
int LineNumber(const std::u16string& line) {
    const size_t end = std::min<size_t>(3, line.size());
    size_t i = 0;
    while (i < end && line[i] <= 32) ++i;
    bool negative = false;
    if (i < end && (line[i] == u'+' || line[i] == u'-')) {
        negative = line[i] == u'-';
        ++i;
    }
    int value = 0;
    for (; i < end && line[i] >= u'0' && line[i] <= u'9'; ++i) value = value * 10 + (line[i] - u'0');
    return negative ? -value : value;
}

// Characters five onwards, without blanks and control characters at either end.
std::u16string LineText(const std::u16string& line) {
    if (line.size() < 5) return {};
    size_t first = 4;
    size_t last = line.size();
    while (first < last && line[first] <= 32) ++first;
    while (last > first && line[last - 1] <= 32) --last;
    return line.substr(first, last - first);
}

std::vector<TextLine> SplitLines(const std::vector<char16_t>& units, size_t start) {
    std::vector<TextLine> lines;
    size_t pos = start;
    while (pos < units.size()) {
        std::u16string line;
        while (pos < units.size() && units[pos] != 13) line.push_back(units[pos++]);
        if (pos < units.size()) {
            ++pos;                          // the carriage return
            if (pos < units.size()) ++pos;  // and the unit after it
        }
        lines.push_back({LineNumber(line), LineText(line)});
    }
    return lines;
}

// Pairs of surrogates become one character; a lone surrogate cannot be shown
// and becomes the replacement character.
std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace

std::vector<std::string> ReadTextTable(TStream& stream) {
    const std::string& name = stream.Name();
    stream.Seek(0);
    const std::vector<uint8_t> bytes = stream.ReadAll();
    if (bytes.size() % 2 != 0) PrintLine(name + ": odd length, the last byte is ignored");

    std::vector<char16_t> units(bytes.size() / 2);
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }

    // The byte-order mark is not text. A file without one still holds text in
    // its first unit, so that unit is read rather than thrown away.
    size_t start = 0;
    if (units.empty()) {
        PrintLine(name + ": the file holds no text");
    } else if (units[0] == BYTE_ORDER_MARK) {
        start = 1;
    } else if (units[0] == SWAPPED_BYTE_ORDER_MARK) {
        PrintLine(name + ": big-endian byte order, read as such");
        for (char16_t& unit : units) unit = static_cast<char16_t>((unit >> 8) | (unit << 8));
        start = 1;
    } else {
        PrintLine(name + ": no byte-order mark, read as UTF-16 little-endian from the first byte");
    }

    const std::vector<TextLine> lines = SplitLines(units, start);
    int last = MIN_LAST_ENTRY;
    for (const TextLine& line : lines) last = std::max(last, line.number);

    std::vector<std::string> table(static_cast<size_t>(last) + 1);
    for (int n = 1; n <= last; ++n) table[n] = "!!!lang: " + std::to_string(n);
    for (const TextLine& line : lines) {
        if (line.number >= 0) table[line.number] = Utf16ToUtf8(line.text);
    }
    return table;
}

void LoadTextTable(TStream& stream) { TextTable = ReadTextTable(stream); }

void LoadTextTable(const std::string& path) {
    StreamPtr stream = OpenRead(path);
    if (!stream) return;
    if (stream->Name().empty()) stream->SetName(path);
    LoadTextTable(*stream);
    stream->Close();
}
