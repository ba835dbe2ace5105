#include "gui/DrawWrappedText.h"

#include <vector>

#include "media/Graphics.h"
#include "media/TStream.h"

namespace {

constexpr char32_t kLineEnd = 13;
constexpr char32_t kSpace = 32;

std::string OneChar(char32_t c) {
    std::string s;
    AppendUtf8(s, c);
    return s;
}

// Code points, with every backslash-n pair turned into a line end and one
// space appended, so the last word ends at a space like every other.
std::u32string Prepare(const std::string& text) {
    std::u32string s;
    for (size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        if (c == 'n' && !s.empty() && s.back() == U'\\') {
            s.back() = kLineEnd;
            continue;
        }
        s.push_back(c);
    }
    s.push_back(kSpace);
    return s;
}

// Widths of the characters in the current font, measured once per character.
class Widths {
public:
    int operator()(char32_t c) {
        if (c < 32) return 0;
        for (const auto& [code, w] : known_)
            if (code == c) return w;
        const int w = TextWidth(OneChar(c));
        known_.push_back({c, w});
        return w;
    }

private:
    std::vector<std::pair<char32_t, int>> known_;
};

// Turns the separators where lines must break into line ends and returns the
// number of lines. Positions follow the layout rule: `pos` is the separator
// that ended the previous word, `lineStart` the width of the line before the
// word being measured.
int Wrap(std::u32string& s, int width, Widths& w) {
    int lines = 1;
    size_t pos = std::u32string::npos;  // "before the first character"
    int lineWidth = 0, lineStart = 0;
    auto first = [&] { return pos == std::u32string::npos ? 0 : pos + 1; };
    for (;;) {
        const size_t end = s.find(kSpace, first());
        if (end == std::u32string::npos) break;
        bool brokeAtLineEnd = false;
        for (size_t i = first(); i <= end; ++i) {
            const char32_t ch = s[i];
            if (ch >= 32) lineWidth += w(ch);
            if (ch == kLineEnd) {
                ++lines;
                lineWidth = 0;
                lineStart = 0;
                pos = i;
                brokeAtLineEnd = true;
                break;
            }
            if (lineWidth + w(ch) >= width && lineStart > 0) {
                // The word does not fit behind what the line already holds:
                // it starts the next line and is measured again from there.
                s[pos] = kLineEnd;
                ++lines;
                lineWidth = 0;
                lineStart = 0;
                i = pos;  // the loop steps to the word's first character
            }
        }
        if (brokeAtLineEnd) continue;
        pos = end;
        lineStart = lineWidth;
    }
    return lines;
}

void DrawLines(const std::u32string& s, float x, float y, int centered, int lineHeight, Widths& w) {
    int cy = static_cast<int>(y);
    size_t start = 0;
    while (start < s.size()) {
        size_t stop = s.find(kLineEnd, start);
        if (stop == std::u32string::npos) stop = s.size();
        int cx = static_cast<int>(x);
        if (centered != 0)
            for (size_t i = start; i < stop; ++i)
                if (s[i] >= 32) cx = static_cast<int>(static_cast<float>(cx) - static_cast<float>(w(s[i])) * 0.5f);
        for (size_t i = start; i < stop; ++i) {
            if (s[i] < 32) continue;
            DrawText(OneChar(s[i]), static_cast<float>(cx), static_cast<float>(cy));
            cx += w(s[i]);
        }
        cy += lineHeight;
        start = stop + 1;
    }
}

}  // namespace

int DrawWrappedText(float x, float y, const std::string& text, int width, int centered, int draw) {
    const int h = TextHeight("X");
    std::u32string s = Prepare(text);
    if (centered != 0) x += static_cast<float>(width / 2);
    Widths w;
    const int lines = Wrap(s, width, w);
    s.back() = kLineEnd;
    if (draw != 0) DrawLines(s, x, y, centered, h, w);
    return h * lines;
}
