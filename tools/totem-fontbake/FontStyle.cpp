#include "FontStyle.h"

#include <cctype>
#include <cstdlib>

namespace {

std::vector<std::string> SplitColons(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos) return parts;
        start = colon + 1;
    }
}

}  // namespace

bool ParseInt(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(text[k]))) return false;
    value = std::atoi(text.c_str());
    return true;
}

bool ParseColor(const std::string& text, uint32_t& argb) {
    if (text.size() != 6 && text.size() != 8) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    const uint32_t v = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    argb = text.size() == 6 ? (0xFF000000u | v) : ((v & 0xFFu) << 24) | (v >> 8);
    return true;
}

bool ParseFontStyle(const std::vector<std::string>& args, FontStyle& style, std::string& problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option != "--fill" && option != "--outline" && option != "--shadow" && option != "--kerning") {
            problem = "unknown option \"" + option + "\"";
            return false;
        }
        if (i + 1 >= args.size()) {
            problem = option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        const std::vector<std::string> parts = SplitColons(value);
        bool ok = true;
        if (option == "--fill") {
            ok = parts.size() <= 2 && ParseColor(parts[0], style.fillTop);
            style.fillBottom = style.fillTop;
            if (ok && parts.size() == 2) ok = ParseColor(parts[1], style.fillBottom);
            if (!ok) problem = "--fill wants RRGGBB or RRGGBB:RRGGBB, not \"" + value + "\"";
        } else if (option == "--outline") {
            ok = parts.size() == 2 && ParseColor(parts[0], style.outlineColor) &&
                 ParseInt(parts[1], style.outlineWidth) && style.outlineWidth >= 0 && style.outlineWidth <= 8;
            if (!ok) problem = "--outline wants RRGGBB:W with W from 0 to 8, not \"" + value + "\"";
        } else if (option == "--shadow") {
            ok = parts.size() == 3 && ParseColor(parts[0], style.shadowColor) && ParseInt(parts[1], style.shadowDx) &&
                 ParseInt(parts[2], style.shadowDy) && std::abs(style.shadowDx) <= 16 && std::abs(style.shadowDy) <= 16;
            style.shadow = ok;
            if (!ok) problem = "--shadow wants RRGGBB:DX:DY with offsets up to 16, not \"" + value + "\"";
        } else {
            ok = ParseInt(value, style.kerning) && std::abs(style.kerning) <= 32;
            if (!ok) problem = "--kerning wants a whole number from -32 to 32, not \"" + value + "\"";
        }
        if (!ok) return false;
    }
    return true;
}
