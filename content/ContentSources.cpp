#include "content/ContentSources.h"

#include <cctype>
#include <cstdint>
#include <map>

#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "media/TStream.h"

namespace {

// Fragments may start with an XML declaration of their own; the joined
// document has one at its top only.
std::string WithoutDeclaration(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (start == std::string::npos) return "";
    if (text.compare(start, 5, "<?xml") == 0) {
        const size_t end = text.find("?>", start);
        if (end == std::string::npos) return "";
        return text.substr(end + 2);
    }
    return text.substr(start);
}

bool Declares(const std::string& tag) {
    const std::string t = LowerAscii(tag);
    return t == "image" || t == "imagefont" || t == "effect" || t == "sound" || t == "animimage";
}

struct Declared {
    std::string file;
};

void CheckGroup(sdXMLnode* group, const std::string& file,
                std::map<std::string, std::map<std::string, Declared>>& scopes,
                std::vector<std::string>& problems) {
    const std::string scope = LowerAscii(XmlAttrString(group, "id", ""));
    if (scope.empty()) problems.push_back(file + ": a resources group without an id");
    std::string idPrefix;
    for (sdXMLnode* child = group->firstchild; child; child = child->NextNode) {
        if (XmlNameEquals(child->Tag, "setdefaults")) {
            const std::string prefix = XmlAttrString(child, "idprefix", "#NONE#");
            if (prefix != "#NONE#") idPrefix = prefix;
            continue;
        }
        if (!Declares(child->Tag)) continue;
        const std::string rawId = XmlAttrString(child, "id", "");
        const std::string id = LowerAscii(idPrefix + rawId);
        if (rawId.empty()) {
            problems.push_back(file + ": a " + child->Tag + " without an id in scope \"" + scope + "\"");
            continue;
        }
        if (XmlAttrString(child, "path", "").empty())
            problems.push_back(file + ": " + id + " has no path");
        auto& ids = scopes[scope];
        auto found = ids.find(id);
        if (found != ids.end()) {
            problems.push_back(file + ": duplicate id " + id + " in scope \"" + scope + "\" (first declared in " +
                               found->second.file + ")");
            continue;
        }
        ids[id] = Declared{file};
    }
}

void AppendUtf16(std::string& out, uint32_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

// Decodes one UTF-8 sequence at `i`; returns false on malformed input.
bool DecodeUtf8(const std::string& s, size_t& i, uint32_t& cp) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    int extra = 0;
    if (b0 < 0x80) {
        cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1F;
        extra = 1;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0F;
        extra = 2;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07;
        extra = 3;
    } else {
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= s.size() || (byte(i + k) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    i += static_cast<size_t>(extra) + 1;
    return true;
}

}  // namespace

std::string JoinResourceFragments(const std::vector<ResourceFragment>& fragments,
                                  std::vector<std::string>& problems) {
    std::map<std::string, std::map<std::string, Declared>> scopes;
    std::string joined = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<res>\n";
    for (const ResourceFragment& fragment : fragments) {
        const std::string body = WithoutDeclaration(fragment.text);
        const std::string wrapped = "<res>" + body + "</res>";
        XmlNode root = XmlLoad(OpenMemory(std::vector<uint8_t>(wrapped.begin(), wrapped.end()), fragment.name));
        int groups = 0;
        for (sdXMLnode* group = root ? root->firstchild : nullptr; group; group = group->NextNode) {
            if (!XmlNameEquals(group->Tag, "resources")) continue;
            ++groups;
            CheckGroup(group, fragment.name, scopes, problems);
        }
        if (groups == 0) problems.push_back(fragment.name + ": no resources group");
        joined += "<!-- " + fragment.name.substr(fragment.name.find_last_of('/') + 1) + " -->\n" + body + "\n";
    }
    joined += "</res>\n";
    return joined;
}

std::string CompileTextTable(const std::string& sourceName, const std::string& source,
                             std::vector<std::string>& problems) {
    std::string out;
    AppendUtf16(out, 0xFEFF);
    std::map<int, int> definedAt;
    size_t pos = 0;
    int lineNumber = 0;
    while (pos < source.size()) {
        size_t end = source.find('\n', pos);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        const std::string where = sourceName + ":" + std::to_string(lineNumber) + ": ";
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        size_t digits = 0;
        while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
        if (digits == 0 || digits > 3 || (digits < line.size() && line[digits] != ' ' && line[digits] != '\t')) {
            problems.push_back(where + "a text line must start with its number (1 to 3 digits)");
            continue;
        }
        const int number = std::stoi(line.substr(0, digits));
        std::string text = digits < line.size() ? line.substr(digits + 1) : "";
        auto earlier = definedAt.find(number);
        if (earlier != definedAt.end()) {
            problems.push_back(where + "text " + std::to_string(number) + " is already defined on line " +
                               std::to_string(earlier->second));
            continue;
        }
        definedAt[number] = lineNumber;
        // The reader takes the number from the first three characters and the
        // text from the fifth on, so the number is padded to three.
        std::string prefix = std::to_string(number);
        prefix.insert(0, 3 - prefix.size(), ' ');
        for (char c : prefix + " ") AppendUtf16(out, static_cast<unsigned char>(c));
        for (size_t i = 0; i < text.size();) {
            uint32_t cp = 0;
            if (!DecodeUtf8(text, i, cp)) {
                problems.push_back(where + "invalid UTF-8");
                break;
            }
            if (cp > 0xFFFF) {
                problems.push_back(where + "a character beyond U+FFFF cannot be stored");
                break;
            }
            // A carriage return would end the entry early in the table and
            // turn the rest of the text into a line of its own; other
            // control characters would draw nothing.
            if (cp < 32 && cp != '\t') {
                problems.push_back(where + "control character " + std::to_string(cp) + " in the text");
                break;
            }
            AppendUtf16(out, cp);
        }
        AppendUtf16(out, '\r');
        AppendUtf16(out, '\n');
    }
    return out;
}
