#pragma once
#include <string>
#include <vector>

#include "media/TStream.h"

// The numbered texts the player reads (captions, questions, prize names, the
// window title), kept in "media/StringE.dat" so the game can be translated by
// replacing that one file. Every part of the game gets a text as TextTable[n].
//
// The file is UTF-16 little-endian text behind a byte-order mark. Each line
// ends with a carriage return (the unit after it, normally a line feed, is
// dropped). A line's first three characters are its number, the fourth is a
// separator whatever it holds, and the text runs from the fifth to the end,
// trimmed of spaces and control characters. Numbers the file leaves out read
// "!!!lang: <n>" so a missing translation shows on screen.

// Starts with 300 empty entries; the loader replaces it.
extern std::vector<std::string> TextTable;

inline constexpr const char* TEXT_TABLE_PATH = "media/StringE.dat";

// Builds the table from the whole stream. Problems with the file (no
// byte-order mark, odd length) are reported on standard output naming the
// stream and read as well as they can be.
std::vector<std::string> ReadTextTable(TStream& stream);

// Replaces TextTable with the table read from the stream.
void LoadTextTable(TStream& stream);
// Replaces TextTable with the table read from the file; a missing file leaves
// TextTable as it is.
void LoadTextTable(const std::string& path = TEXT_TABLE_PATH);
