#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/TObject.h"
#include "media/TStream.h"

// Base of the saved-profile classes: the string encoding of "User.dat" and
// the bounded reads every part of that file goes through. A string is an
// int32 count of UTF-16 code units followed by one int32 per unit; in memory
// names are UTF-8 like every other string of the game.
//
// The readers never trust a count: anything the bytes left in the stream
// cannot hold is refused before a byte is allocated for it, so a damaged or
// hostile file costs no more memory than its own size.
class TStdIO : public TObject {
    TOTEM_CLASS(TStdIO)

    static void WriteString(TStream& stream, const std::string& s);
    // False (s unchanged) when the count is negative or larger than the bytes
    // left can hold, or a unit is not a UTF-16 code unit (above 0xFFFF).
    static bool ReadString(TStream& stream, std::string& s);

    // Bytes between the stream's position and its end.
    static int64_t BytesLeft(const TStream& stream);
    // False when fewer than four (one) bytes are left.
    static bool ReadInt32(TStream& stream, int32_t& v);
    static bool ReadByte(TStream& stream, int& v);
};

// A UTF-8 string as UTF-16 code units. Code points above 0xFFFF become
// surrogate pairs; a surrogate code point kept from an unpaired unit (below)
// becomes that unit again, so any sequence of units survives a round trip.
std::vector<uint16_t> ToUtf16(const std::string& text);
// UTF-16 code units as UTF-8. A pair becomes its code point; an unpaired
// surrogate is kept as its own code point in the same three-byte form.
std::string FromUtf16(const std::vector<uint16_t>& units);
