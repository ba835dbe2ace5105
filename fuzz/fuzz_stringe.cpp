// libFuzzer entry point for the text table ("media/StringE.dat"): any bytes
// must give a table of at least the 300 numbered entries in valid UTF-8,
// never crash or read outside the file, and the table written out again as
// such a file must read back as the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/TextTable.h"
#include "media/TStream.h"

namespace {

bool ValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

void PutUnit(std::vector<uint8_t>& out, char32_t unit) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

// The table as the file would hold it: every entry on a numbered line.
std::vector<uint8_t> Encode(const std::vector<std::string>& table) {
    std::vector<uint8_t> out;
    PutUnit(out, 0xFEFF);
    for (size_t n = 0; n < table.size(); ++n) {
        std::string line = std::to_string(n);
        while (line.size() < 3) line.insert(line.begin(), '0');
        line += ' ';
        line += table[n];
        for (size_t i = 0; i < line.size();) {
            const char32_t code = NextCodePoint(line, i);
            if (code >= 0x10000) {
                PutUnit(out, 0xD800 + ((code - 0x10000) >> 10));
                PutUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                PutUnit(out, code);
            }
        }
        PutUnit(out, 13);
        PutUnit(out, 10);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StreamPtr file = OpenMemory(std::vector<uint8_t>(data, data + size), "media/StringE.dat");
    const std::vector<std::string> table = ReadTextTable(*file);
    if (table.size() < 301 || table.size() > 1000) std::abort();
    for (const std::string& text : table)
        if (!ValidUtf8(text)) std::abort();

    StreamPtr again = OpenMemory(Encode(table), "again.dat");
    if (ReadTextTable(*again) != table) std::abort();
    return 0;
}
