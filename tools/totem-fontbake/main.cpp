// Bakes TrueType/OpenType fonts into the bitmap fonts the game draws its text
// with: a glyph atlas "<base>.png" and its glyph table "<base>.fnt".
//
//   totem-fontbake FONTFILE SIZE OUTBASE [--fill RRGGBB[:RRGGBB]] [--outline RRGGBB:W]
//                  [--shadow RRGGBB:DX:DY] [--kerning N]
//   totem-fontbake --table TABLE OUTDIR
//
// A table line is "NAME FONTFILE SIZE [options]" and writes OUTDIR/NAME.png and
// OUTDIR/NAME.fnt; '#' starts a comment line. A font file named by a relative
// path is looked for beside the table.

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FontBaker.h"
#include "FontStyle.h"

namespace {

void Usage() {
    std::fprintf(stderr,
                 "usage: totem-fontbake FONTFILE SIZE OUTBASE [--fill RRGGBB[:RRGGBB]] [--outline RRGGBB:W]\n"
                 "                      [--shadow RRGGBB:DX:DY] [--kerning N]\n"
                 "       totem-fontbake --table TABLE OUTDIR\n");
}

int Fail(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    return 1;
}

// Runs one bake; `where` prefixes problems found in the arguments themselves.
bool BakeOne(const std::string& fontFile, const std::string& sizeText, const std::string& outBase,
             const std::vector<std::string>& options, const std::string& where, std::string& problem) {
    int size = 0;
    if (!ParseInt(sizeText, size)) {
        problem = where + "the size \"" + sizeText + "\" is not a whole number";
        return false;
    }
    FontStyle style;
    if (!ParseFontStyle(options, style, problem)) {
        problem = where + problem;
        return false;
    }
    BakedFont font;
    if (!BakeFont(fontFile, size, style, font, problem)) return false;
    return WriteBakedFont(font, outBase, problem);
}

bool ValidName(const std::string& name) {
    // The game lower-cases resource paths, so upper-case names would never be found.
    for (char c : name)
        if (!(std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) || c == '_' ||
              c == '-'))
            return false;
    return !name.empty();
}

struct TableLine {
    int number = 0;
    std::vector<std::string> fields;
};

int BakeTable(const std::string& tablePath, const std::string& outDir) {
    std::ifstream in(tablePath);
    if (!in) return Fail(tablePath + ": cannot be read");

    // Check the whole table before baking anything, so a typo on the last line
    // does not leave a half-updated folder behind.
    std::vector<TableLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::istringstream words(text);
        TableLine line{number, {}};
        for (std::string w; words >> w;) line.fields.push_back(w);
        if (line.fields.empty() || line.fields[0][0] == '#') continue;
        const std::string where = tablePath + ":" + std::to_string(number) + ": ";
        if (line.fields.size() < 3) return Fail(where + "expected NAME FONTFILE SIZE [options]");
        if (!ValidName(line.fields[0]))
            return Fail(where + "the name \"" + line.fields[0] + "\" must be lower-case letters, digits, _ or -");
        int size = 0;
        if (!ParseInt(line.fields[2], size)) return Fail(where + "the size \"" + line.fields[2] + "\" is not a whole number");
        FontStyle style;
        std::string problem;
        if (!ParseFontStyle({line.fields.begin() + 3, line.fields.end()}, style, problem)) return Fail(where + problem);
        for (const TableLine& earlier : lines)
            if (earlier.fields[0] == line.fields[0])
                return Fail(where + "the name \"" + line.fields[0] + "\" is already used on line " +
                            std::to_string(earlier.number));
        lines.push_back(std::move(line));
    }
    if (lines.empty()) return Fail(tablePath + ": names no fonts");

    const std::filesystem::path tableDir = std::filesystem::path(tablePath).parent_path();
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const TableLine& line : lines) {
        std::filesystem::path fontFile = line.fields[1];
        if (fontFile.is_relative()) fontFile = tableDir / fontFile;
        const std::string where = tablePath + ":" + std::to_string(line.number) + ": ";
        std::string problem;
        if (!BakeOne(fontFile.string(), line.fields[2], (std::filesystem::path(outDir) / line.fields[0]).string(),
                     {line.fields.begin() + 3, line.fields.end()}, "", problem))
            return Fail(where + problem);
    }
    std::printf("%s: %zu fonts baked into %s\n", tablePath.c_str(), lines.size(), outDir.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--table") {
        if (args.size() != 3) {
            Usage();
            return 2;
        }
        return BakeTable(args[1], args[2]);
    }
    if (args.size() < 3) {
        Usage();
        return 2;
    }
    std::string problem;
    if (!BakeOne(args[0], args[1], args[2], {args.begin() + 3, args.end()}, "", problem)) return Fail(problem);
    return 0;
}
