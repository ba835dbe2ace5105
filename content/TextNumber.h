#pragma once
#include <string_view>

// Lenient text-to-number conversion used wherever content text holds numbers
// (XML attributes and every reader built on them). Nothing here fails: text
// that does not start like a number reads as 0, and reading stops quietly at
// the first character that cannot continue the number ('12px' is 12).

// Skips leading whitespace (codes up to 32), takes an optional sign, then
// decimal digits. "$" in front of the digits switches to hexadecimal, "%" to
// binary. Values beyond 32 bits wrap around instead of overflowing.
int TextToInt(std::string_view text);

// Skips leading whitespace, then reads an optionally signed decimal number
// with an optional fraction and exponent ('1.5e2', '-.5', '3.'). An "e" not
// followed by digits ends the number before it.
float TextToFloat(std::string_view text);
