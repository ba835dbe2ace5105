#include "media/TStream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "media/Files.h"

namespace {

// Reads exactly n bytes or zero-fills what is missing, so callers that forget
// to test Eof() get zeros rather than garbage.
template <typename T>
T ReadLittle(TStream& s) {
    uint8_t b[sizeof(T)] = {};
    s.Read(b, sizeof(T));
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v |= uint64_t(b[i]) << (8 * i);
    T out;
    std::memcpy(&out, &v, sizeof(T));
    return out;
}

template <typename T>
void WriteLittle(TStream& s, T value) {
    uint64_t v = 0;
    std::memcpy(&v, &value, sizeof(T));
    uint8_t b[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) b[i] = uint8_t(v >> (8 * i));
    s.Write(b, sizeof(T));
}

class FileStream : public TStream {
public:
    FileStream(FILE* f, bool writable) : f_(f), writable_(writable) {
        if (!writable_) {
            std::fseek(f_, 0, SEEK_END);
            size_ = std::ftell(f_);
            std::fseek(f_, 0, SEEK_SET);
        }
    }
    ~FileStream() override { Close(); }

    bool Eof() const override { return !f_ || Pos() >= Size(); }
    int64_t Pos() const override { return f_ ? std::ftell(f_) : 0; }
    int64_t Size() const override {
        if (!f_) return 0;
        if (!writable_) return size_;
        long here = std::ftell(f_);
        std::fseek(f_, 0, SEEK_END);
        long end = std::ftell(f_);
        std::fseek(f_, here, SEEK_SET);
        return end;
    }
    bool Seek(int64_t pos) override {
        if (!f_ || pos < 0) return false;
        return std::fseek(f_, long(pos), SEEK_SET) == 0;
    }
    void Close() override {
        if (f_) std::fclose(f_);
        f_ = nullptr;
    }
    size_t Read(void* dst, size_t n) override { return f_ ? std::fread(dst, 1, n, f_) : 0; }
    size_t Write(const void* src, size_t n) override {
        return (f_ && writable_) ? std::fwrite(src, 1, n, f_) : 0;
    }

private:
    FILE* f_;
    bool writable_;
    int64_t size_ = 0;
};

class MemoryStream : public TStream {
public:
    MemoryStream(std::vector<uint8_t> bytes, bool writable) : data_(std::move(bytes)), writable_(writable) {}
    bool Eof() const override { return pos_ >= data_.size(); }
    int64_t Pos() const override { return int64_t(pos_); }
    int64_t Size() const override { return int64_t(data_.size()); }
    bool Seek(int64_t pos) override {
        if (pos < 0) return false;
        pos_ = size_t(pos);
        return true;
    }
    size_t Read(void* dst, size_t n) override {
        // Nothing asked for may come with no buffer at all (an empty vector's data()).
        if (n == 0 || pos_ >= data_.size()) return 0;
        size_t k = std::min(n, data_.size() - pos_);
        std::memcpy(dst, data_.data() + pos_, k);
        pos_ += k;
        return k;
    }
    size_t Write(const void* src, size_t n) override {
        if (!writable_ || n == 0) return 0;
        if (pos_ + n > data_.size()) data_.resize(pos_ + n);
        std::memcpy(data_.data() + pos_, src, n);
        pos_ += n;
        return n;
    }
    const std::vector<uint8_t>& Bytes() const { return data_; }

private:
    std::vector<uint8_t> data_;
    size_t pos_ = 0;
    bool writable_;
};

class WindowStream : public TStream {
public:
    WindowStream(StreamPtr base, int64_t offset, int64_t length)
        : base_(std::move(base)), offset_(offset), length_(length) {}
    bool Eof() const override { return pos_ >= length_; }
    int64_t Pos() const override { return pos_; }
    int64_t Size() const override { return length_; }
    bool Seek(int64_t pos) override {
        if (pos < 0) return false;
        pos_ = pos;
        return true;
    }
    size_t Read(void* dst, size_t n) override {
        if (pos_ >= length_) return 0;
        size_t k = size_t(std::min<int64_t>(int64_t(n), length_ - pos_));
        if (!base_->Seek(offset_ + pos_)) return 0;
        size_t got = base_->Read(dst, k);
        pos_ += int64_t(got);
        return got;
    }
    size_t Write(const void*, size_t) override { return 0; }

private:
    StreamPtr base_;
    int64_t offset_, length_, pos_ = 0;
};

}  // namespace

int TStream::ReadByte() { return ReadLittle<uint8_t>(*this); }
int TStream::ReadShort() { return ReadLittle<uint16_t>(*this); }
int32_t TStream::ReadInt() { return ReadLittle<int32_t>(*this); }
float TStream::ReadFloat() { return ReadLittle<float>(*this); }

std::string TStream::ReadString(int n) {
    if (n <= 0) return {};
    int64_t left = Size() - Pos();
    std::string raw(size_t(std::clamp<int64_t>(n, 0, std::max<int64_t>(left, 0))), '\0');
    raw.resize(Read(raw.data(), raw.size()));
    return Latin1ToUtf8(raw);
}

std::string TStream::ReadLine() {
    std::string raw;
    uint8_t c;
    while (Read(&c, 1) == 1) {
        if (c == '\n' || c == 0) break;
        if (c != '\r') raw.push_back(char(c));
    }
    return Latin1ToUtf8(raw);
}

std::vector<uint8_t> TStream::ReadAll() {
    std::vector<uint8_t> out;
    int64_t left = Size() - Pos();
    if (left > 0) {
        out.resize(size_t(left));
        out.resize(Read(out.data(), out.size()));
    }
    return out;
}

void TStream::WriteByte(int v) { WriteLittle<uint8_t>(*this, uint8_t(v)); }
void TStream::WriteShort(int v) { WriteLittle<uint16_t>(*this, uint16_t(v)); }
void TStream::WriteInt(int32_t v) { WriteLittle<int32_t>(*this, v); }
void TStream::WriteFloat(float v) { WriteLittle<float>(*this, v); }

void TStream::WriteString(const std::string& s) {
    std::string raw = Utf8ToLatin1(s);
    Write(raw.data(), raw.size());
}

void TStream::WriteLine(const std::string& s) {
    WriteString(s);
    Write("\r\n", 2);
}

StreamPtr OpenRead(const std::string& path) {
    if (PathKind(path) != 1) return nullptr;
    FILE* f = std::fopen(NativePath(path).c_str(), "rb");
    if (!f) return nullptr;
    auto s = std::make_shared<FileStream>(f, false);
    s->SetName(path);
    return s;
}

StreamPtr OpenWrite(const std::string& path) {
    FILE* f = std::fopen(NativePath(path).c_str(), "w+b");
    if (!f) return nullptr;
    auto s = std::make_shared<FileStream>(f, true);
    s->SetName(path);
    return s;
}

StreamPtr OpenMemory(std::vector<uint8_t> bytes, std::string name) {
    auto s = std::make_shared<MemoryStream>(std::move(bytes), false);
    s->SetName(std::move(name));
    return s;
}

StreamPtr OpenMemoryWrite(std::string name) {
    auto s = std::make_shared<MemoryStream>(std::vector<uint8_t>{}, true);
    s->SetName(std::move(name));
    return s;
}

std::vector<uint8_t> MemoryBytes(const TStream& stream) {
    if (auto m = dynamic_cast<const MemoryStream*>(&stream)) return m->Bytes();
    return {};
}

StreamPtr OpenWindow(StreamPtr base, int64_t offset, int64_t length, std::string name) {
    if (!base || offset < 0 || length < 0 || offset + length > base->Size()) return nullptr;
    auto s = std::make_shared<WindowStream>(std::move(base), offset, length);
    s->SetName(std::move(name));
    return s;
}

std::string Latin1ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) AppendUtf8(out, c);
    return out;
}

std::string Utf8ToLatin1(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t c = NextCodePoint(text, i);
        out.push_back(c <= 0xFF ? char(c) : '?');
    }
    return out;
}

char32_t NextCodePoint(const std::string& text, size_t& i) {
    if (i >= text.size()) return 0;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t extra = c >= 0xF8 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    // A lone or cut-off lead byte stands for itself, so 8-bit text still shows.
    if (extra == 0 || i + extra > text.size() - 1) {
        ++i;
        return c;
    }
    char32_t code = c & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
        const unsigned char d = static_cast<unsigned char>(text[i + k]);
        if ((d & 0xC0) != 0x80) {
            ++i;
            return c;
        }
        code = (code << 6) | (d & 0x3F);
    }
    i += extra + 1;
    return code;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(char(code));
    } else if (code < 0x800) {
        out.push_back(char(0xC0 | (code >> 6)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(char(0xE0 | (code >> 12)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (code >> 18)));
        out.push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    }
}
