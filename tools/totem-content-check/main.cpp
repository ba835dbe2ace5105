// totem-content-check GAMEDIR: checks a runtime game folder against what the
// game asks for: resource ids in their scopes, the files behind them, the skin
// table, dialog names, text numbers and the level table.
//
// Prints one line per problem ("FILE: problem" or "ID: problem") and exits
// with 1 when there is any; otherwise prints a one-line summary and exits
// with 0. A usage error exits with 2.

#include <cstdio>
#include <string>

#include "tools/totem-content-check/ContentCheck.h"
#include "media/Audio.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: totem-content-check GAMEDIR\n");
        return 2;
    }
    // Sounds are decoded to prove they play; no device is needed for that.
    UseSilentMixer();
    const ContentCheckResult result = CheckGameFolder(argv[1]);
    for (const std::string& problem : result.problems) std::printf("%s\n", problem.c_str());
    if (!result.problems.empty()) {
        std::fflush(stdout);
        std::fprintf(stderr, "totem-content-check: %zu problem%s in %s\n", result.problems.size(),
                     result.problems.size() == 1 ? "" : "s", argv[1]);
        return 1;
    }
    std::printf("totem-content-check: %s is complete: %d resources, %d dialog names, %d texts, %d levels\n", argv[1],
                result.resources, result.guiNames, result.texts, result.levels);
    return 0;
}
