#pragma once
#include <cstdint>
#include <string>

// Layout of the data pack "media/data.pak", shared by the game's reader and the
// totem-pak tool that builds it. All integers are 32-bit little-endian.
//
//   0            count of directory entries
//   4 + 108 * i  entry i: name (100 bytes), size, absolute offset of the data
//
// The data of each entry lies after the directory, stored byte for byte.
// Names are lower-case paths with "/" separators, padded with spaces to 100
// characters, and every byte of the name field is stored plus a fixed
// scramble offset so the directory does not read as plain text.

inline constexpr int PAK_NAME_LENGTH = 100;
inline constexpr int PAK_ENTRY_SIZE = 108;
inline constexpr int PAK_HEADER_SIZE = 4;
inline constexpr uint8_t PAK_NAME_SCRAMBLE = 0x5B;

// One character of a name field on disk and back (arithmetic wraps at 256).
inline uint8_t PakScrambleByte(uint8_t c) { return static_cast<uint8_t>(c + PAK_NAME_SCRAMBLE); }
inline uint8_t PakUnscrambleByte(uint8_t c) { return static_cast<uint8_t>(c - PAK_NAME_SCRAMBLE); }

// The directory key for a path as the game asks for it: ASCII letters
// lower-cased, cut to 100 characters or padded with spaces to 100. The key is
// in the pack's 8-bit encoding (the path's characters as Latin-1).
std::string PakKey(const std::string& utf8Path);
