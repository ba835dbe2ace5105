#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A byte stream with a position, the only way game code reads or writes files.
// Every reader of the game takes one, so tests can feed in-memory fixtures.
// Numbers are little-endian. Strings are 8-bit characters on disk (Latin-1) and
// UTF-8 in memory; the reader and writer convert between the two.
// Reading past the end never touches memory outside the data: missing bytes
// read as zero and Eof() turns true.
class TStream {
public:
    virtual ~TStream() = default;

    virtual bool Eof() const = 0;
    virtual int64_t Pos() const = 0;
    virtual int64_t Size() const = 0;
    virtual bool Seek(int64_t pos) = 0;
    virtual void Close() {}
    // Raw block transfer; returns the number of bytes actually moved.
    virtual size_t Read(void* dst, size_t n) = 0;
    virtual size_t Write(const void* src, size_t n) = 0;

    int ReadByte();
    int ReadShort();
    int32_t ReadInt();
    float ReadFloat();
    std::string ReadString(int n);
    std::string ReadLine();
    // Everything from the current position to the end.
    std::vector<uint8_t> ReadAll();

    void WriteByte(int v);
    void WriteShort(int v);
    void WriteInt(int32_t v);
    void WriteFloat(float v);
    void WriteString(const std::string& s);
    void WriteLine(const std::string& s);

    // Name used in error messages (the path for files).
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

private:
    std::string name_;
};

using StreamPtr = std::shared_ptr<TStream>;

// Opens an existing file for reading, or null. Both / and \ separate folders.
StreamPtr OpenRead(const std::string& path);
// Creates or truncates a file for writing, or null.
StreamPtr OpenWrite(const std::string& path);
// A read-only stream over a copy of the bytes.
StreamPtr OpenMemory(std::vector<uint8_t> bytes, std::string name = "<memory>");
// A growable in-memory stream for writing and reading back.
StreamPtr OpenMemoryWrite(std::string name = "<memory>");
// The bytes written so far into a stream made by OpenMemoryWrite (empty otherwise).
std::vector<uint8_t> MemoryBytes(const TStream& stream);
// A read-only view of `length` bytes of `base` starting at `offset`; positions
// are relative to the window. Used for files stored inside the data pack.
StreamPtr OpenWindow(StreamPtr base, int64_t offset, int64_t length, std::string name);

// Latin-1 <-> UTF-8, the conversion the stream's string readers and writers use.
std::string Latin1ToUtf8(const std::string& bytes);
std::string Utf8ToLatin1(const std::string& text);
// Decodes one UTF-8 code point at i and advances i; malformed bytes decode as themselves.
char32_t NextCodePoint(const std::string& text, size_t& i);
void AppendUtf8(std::string& out, char32_t code);
