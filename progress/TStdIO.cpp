#include "progress/TStdIO.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
}  // namespace

std::vector<uint16_t> ToUtf16(const std::string& text) {
    std::vector<uint16_t> units;
    units.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t c = NextCodePoint(text, i);
        if (c > 0x10FFFF) c = kReplacement;
        if (c >= 0x10000) {
            c -= 0x10000;
            units.push_back(static_cast<uint16_t>(0xD800 + (c >> 10)));
            units.push_back(static_cast<uint16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            units.push_back(static_cast<uint16_t>(c));
        }
    }
    return units;
}

std::string FromUtf16(const std::vector<uint16_t>& units) {
    std::string text;
    text.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const uint32_t u = units[i];
        if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            AppendUtf8(text, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else {
            AppendUtf8(text, u);
        }
    }
    return text;
}

void TStdIO::WriteString(TStream& stream, const std::string& s) {
    const std::vector<uint16_t> units = ToUtf16(s);
    stream.WriteInt(static_cast<int32_t>(units.size()));
    for (uint16_t u : units) stream.WriteInt(u);
}

bool TStdIO::ReadString(TStream& stream, std::string& s) {
    int32_t count = 0;
    if (!ReadInt32(stream, count) || count < 0 || int64_t(count) * 4 > BytesLeft(stream)) return false;
    std::vector<uint16_t> units(static_cast<size_t>(count));
    for (uint16_t& u : units) {
        int32_t v = 0;
        if (!ReadInt32(stream, v) || v < 0 || v > 0xFFFF) return false;
        u = static_cast<uint16_t>(v);
    }
    s = FromUtf16(units);
    return true;
}

int64_t TStdIO::BytesLeft(const TStream& stream) {
    const int64_t left = stream.Size() - stream.Pos();
    return left > 0 ? left : 0;
}

bool TStdIO::ReadInt32(TStream& stream, int32_t& v) {
    uint8_t b[4];
    if (BytesLeft(stream) < 4 || stream.Read(b, 4) != 4) return false;
    v = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    return true;
}

bool TStdIO::ReadByte(TStream& stream, int& v) {
    uint8_t b = 0;
    if (BytesLeft(stream) < 1 || stream.Read(&b, 1) != 1) return false;
    v = b;
    return true;
}
