#include "content/TextNumber.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

size_t SkipSpace(std::string_view text, size_t i) {
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
    return i;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int TextToInt(std::string_view text) {
    size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Unsigned arithmetic: an over-long number wraps instead of being undefined.
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
        value = value * base + static_cast<uint32_t>(digit);
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

float TextToFloat(std::string_view text) {
    size_t start = SkipSpace(text, 0);
    size_t i = start;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        number += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        size_t fraction = i + 1;
        size_t j = fraction;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (digits > 0 || j > fraction) {
            if (digits == 0) number += '0';
            number += '.';
            number.append(text.substr(fraction, j - fraction));
            digits += j - fraction;
            i = j;
        }
    }
    if (digits == 0) return 0.0f;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        size_t expStart = j;
        while (j < text.size() && IsDigit(text[j])) exponent += text[j++];
        if (j > expStart) number += exponent;
    }
    float value = 0.0f;
    const char* first = number.data();
    const char* last = first + number.size();
    auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a float: saturate the way a cast would.
        double wide = 0.0;
        if (std::from_chars(first, last, wide).ec == std::errc::result_out_of_range) {
            bool tiny = number.find("e-") != std::string::npos;
            wide = tiny ? 0.0 : HUGE_VAL;
            if (number[0] == '-') wide = -wide;
        }
        return static_cast<float>(wide);
    }
    return value;
}
