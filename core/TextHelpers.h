#pragma once
#include <string>

// Text helpers for numbers shown to the player and for splitting content lines.

// x with exactly `decimals` fraction digits (none and no point for 0; negative
// counts as 0), rounded half away from zero on the decimal digits of the
// stored double, so 0.15 (stored just below) gives "0.1".
std::string FormatDecimal(double x, int decimals);
// The n-th field (1-based) of s split at sep. n ≤ 1 is the first field; past
// the last field it wraps round to the first again.
std::string GetField(int n, const std::string& s, const std::string& sep);
// Trims whitespace (codes ≤ 32) and collapses runs of sep into one.
std::string CollapseRepeats(const std::string& s, const std::string& sep);
// s with the ASCII letters folded to lower or upper case; other bytes (UTF-8
// sequences included) stay as they are, whatever the C locale says. Resource
// ids, scopes and pack names compare in this form.
std::string LowerAscii(std::string s);
std::string UpperAscii(std::string s);
