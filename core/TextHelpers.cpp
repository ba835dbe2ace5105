#include "core/TextHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

std::string FormatDecimal(double x, int decimals) {
    if (decimals < 0) decimals = 0;
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "Inf";

    // 17 significant digits: the shortest text that always tells the stored
    // double apart, and what the rounding below works on.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.16e", std::fabs(x));
    int digits[17];
    int count = 0;
    const char* p = buf;
    for (; *p != 'e' && count < 17; ++p)
        if (*p >= '0' && *p <= '9') digits[count++] = *p - '0';
    while (*p != 'e') ++p;
    const int exponent = std::atoi(p + 1);  // digits[i] has weight 10^(exponent - i)

    auto digitAt = [&](int power) {
        const int i = exponent - power;
        return (i >= 0 && i < count) ? digits[i] : 0;
    };

    // Digits kept, most significant first, from the units (or higher) down to
    // 10^-decimals; the first dropped digit decides the rounding.
    const int top = std::max(exponent, 0);
    std::vector<int> kept;
    for (int power = top; power >= -decimals; --power) kept.push_back(digitAt(power));
    if (digitAt(-decimals - 1) >= 5) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == 9) kept[i--] = 0;
        if (i >= 0) ++kept[i];
        else kept.insert(kept.begin(), 1);
    }

    const size_t intDigits = kept.size() - static_cast<size_t>(decimals);
    std::string intPart, fracPart;
    for (size_t i = 0; i < kept.size(); ++i)
        (i < intDigits ? intPart : fracPart) += static_cast<char>('0' + kept[i]);
    const size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);

    const bool isZero = std::all_of(kept.begin(), kept.end(), [](int d) { return d == 0; });
    std::string out = (x < 0 && !isZero) ? "-" : "";
    out += intPart;
    if (decimals > 0) out += "." + fracPart;
    return out;
}

std::string GetField(int n, const std::string& s, const std::string& sep) {
    std::vector<std::string> fields;
    if (sep.empty()) {
        fields.push_back(s);
    } else {
        size_t start = 0;
        for (;;) {
            const size_t at = s.find(sep, start);
            if (at == std::string::npos) break;
            fields.push_back(s.substr(start, at - start));
            start = at + sep.size();
        }
        fields.push_back(s.substr(start));
    }
    if (n < 1) n = 1;
    const size_t index = static_cast<size_t>(n - 1) % fields.size();
    return fields[index];
}

std::string CollapseRepeats(const std::string& s, const std::string& sep) {
    auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t begin = 0, end = s.size();
    while (begin < end && isSpace(s[begin])) ++begin;
    while (end > begin && isSpace(s[end - 1])) --end;
    std::string out = s.substr(begin, end - begin);
    if (sep.empty()) return out;

    const std::string twice = sep + sep;
    while (out.find(twice) != std::string::npos) {
        std::string next;
        size_t start = 0;
        for (;;) {
            const size_t at = out.find(twice, start);
            if (at == std::string::npos) break;
            next.append(out, start, at - start);
            next += sep;
            start = at + twice.size();
        }
        next.append(out, start, std::string::npos);
        out = std::move(next);
    }
    return out;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}
