// The built game started in a copy of its folder with one file damaged: cut
// short, emptied or filled with noise, as a half-copied download, a disk
// error or a hand edit leaves it. Whatever the damage, the game must end on
// its own (no crash, no hang, no sanitizer report), either going on without
// the damaged thing or ending with its exit code and a message that names the
// file; a damaged profile file must be kept for the player, not overwritten.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "media/TStream.h"
#include "progress/ProgressGlobals.h"
#include "progress/TOptions.h"
#include "progress/TimingFile.h"
#include "progress/UserFile.h"
#include "support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

#ifndef TOTEM_RUNTIME_FOLDER
#define TOTEM_RUNTIME_FOLDER TOTEM_BINARY_DIR "/game"
#endif

enum class Damage { Truncated, Emptied, Noise };
// How far the game is run: to the main menu, or into a level (the song of
// level 1 is "coral_surf"), each ending after its first frame.
enum class RunTo { Menu, Level };

struct DamageCase {
    const char* file;  // inside the game's folder
    RunTo runTo;
    // True where the game must go on (exit code 0) whatever the damage.
    bool mustGoOn;
    // A word of the message that names the file, when the game ends on it.
    const char* named;
};

const DamageCase kFiles[] = {
    {"res.xml", RunTo::Menu, false, "res.xml"},
    {"gui.xml", RunTo::Menu, false, "gui.xml"},
    {"media/data.pak", RunTo::Menu, false, "data.pak"},
    {"media/StringE.dat", RunTo::Menu, false, "StringE.dat"},
    {"media/fonts/font_main.fnt", RunTo::Menu, false, "font_main"},
    {"media/fonts/font_main.png", RunTo::Menu, false, "font_main"},
    // Inside the pack; an effect that cannot be read is left out.
    {"media/effects/button.xml", RunTo::Menu, true, "button.xml"},
    // Sounds, like pictures and fonts, that cannot be decoded end the program.
    {"media/sound/gryph_fail.ogg", RunTo::Menu, false, "gryph_fail.ogg"},
    {"media/music/menu.ogg", RunTo::Menu, false, "menu.ogg"},
    {"media/levels.xml", RunTo::Menu, false, "levels.xml"},
    {"media/skins.xml", RunTo::Level, false, "skins.xml"},
    {"media/songs/coral_surf/notes.mid", RunTo::Level, false, "notes.mid"},
    {"media/songs/coral_surf/guitar.ogg", RunTo::Level, false, "guitar.ogg"},
    {"media/songs/coral_surf/song.ogg", RunTo::Level, false, "song.ogg"},
    {"options.dat", RunTo::Menu, true, "options.dat"},
    {"User.dat", RunTo::Menu, true, "User.dat"},
    {"timing.ini", RunTo::Menu, true, "timing.ini"},
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.file; }

const char* DamageName(Damage d) {
    switch (d) {
        case Damage::Truncated: return "truncated";
        case Damage::Emptied: return "emptied";
        case Damage::Noise: return "noise";
    }
    return "?";
}

std::vector<char> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// The same damage for the same file on every run, so a failure repeats.
std::vector<char> Damaged(std::vector<char> bytes, Damage damage, const std::string& seedText) {
    switch (damage) {
        case Damage::Truncated: bytes.resize(bytes.size() / 2); break;
        case Damage::Emptied: bytes.clear(); break;
        case Damage::Noise: {
            std::mt19937 random(uint32_t(std::hash<std::string>{}(seedText)));
            for (char& b : bytes) b = char(random() & 0xFF);
            break;
        }
    }
    return bytes;
}

std::string ReadAll(int fd) {
    std::string text;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    return text;
}

class DamagedFolder : public ::testing::TestWithParam<std::tuple<DamageCase, Damage>> {
protected:
    fs::path folder;

    void SetUp() override {
        const fs::path built = TOTEM_RUNTIME_FOLDER;
        if (!fs::exists(built / "res.xml") || !fs::exists(built / "media" / "levels.xml"))
            GTEST_SKIP() << "the runtime folder is not built (content turned off)";
        const auto& info = *::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info.name();
        for (char& c : name) if (c == '/') c = '_';
        folder = fs::temp_directory_path() / ("totem_damaged_" + std::to_string(::getpid()) + "_" + name);
        CopyGame(built);
    }

    void TearDown() override {
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }

    // The runtime folder for a player's first start, with this build's game
    // in it; the songs are linked, all but the one a case damages, and the
    // splash screens (four seconds each by design) are left out where the
    // resource file is not the damaged one: a missing splash is skipped.
    void CopyGame(const fs::path& built) {
        fs::create_directories(folder / "media" / "songs");
        for (const auto& entry : fs::directory_iterator(built)) {
            if (entry.path().filename() == "media") continue;
            fs::copy(entry.path(), folder / entry.path().filename(), fs::copy_options::recursive);
        }
        for (const auto& entry : fs::directory_iterator(built / "media")) {
            if (entry.path().filename() == "songs") continue;
            fs::copy(entry.path(), folder / "media" / entry.path().filename(), fs::copy_options::recursive);
        }
        for (const auto& song : fs::directory_iterator(built / "media" / "songs")) {
            const fs::path to = folder / "media" / "songs" / song.path().filename();
            if (std::string(std::get<0>(GetParam()).file).find(song.path().filename().string()) != std::string::npos)
                fs::copy(song.path(), to, fs::copy_options::recursive);
            else
                fs::create_directory_symlink(fs::canonical(song.path()), to);
        }
        fs::remove(folder / "User.dat");
        fs::remove(folder / "options.dat");
        fs::remove(folder / "timing.ini");
        fs::copy_file(TOTEM_GAME_PROGRAM, folder / "totem-riff", fs::copy_options::overwrite_existing);
        WithoutSplashes();
    }

    void WithoutSplashes() {
        std::ifstream in(folder / "res.xml");
        std::ostringstream kept;
        for (std::string line; std::getline(in, line);)
            if (line.find("IMAGE_ZAR_SPLASH") == std::string::npos) kept << line << '\n';
        in.close();
        std::ofstream(folder / "res.xml", std::ios::trunc) << kept.str();
    }

    // The saved files a returning player has: one profile, the options.
    void WriteSavedFiles() {
        UserList.clear();
        const UserPtr ann = CreateUser("Ann");
        StreamPtr out = OpenWrite((folder / "User.dat").string());
        ASSERT_TRUE(out);
        WriteUserList(*out, UserList, ann);
        out.reset();
        UserList.clear();
        const std::vector<uint8_t> options = OptionsBytes(0.8f, 0);
        WriteBytes(folder / "options.dat", std::vector<char>(options.begin(), options.end()));
        const std::string timing = TimingText(40, 0);
        WriteBytes(folder / "timing.ini", std::vector<char>(timing.begin(), timing.end()));
    }

    // Damages `file`; a file inside the pack is taken out, damaged and packed
    // again with the game's own pack tool.
    void DamageFile(const std::string& file, Damage damage) {
        const fs::path loose = folder / file;
        if (fs::exists(loose)) {
            WriteBytes(loose, Damaged(ReadBytes(loose), damage, file));
            return;
        }
        const fs::path unpacked = folder / "unpacked";
        const std::string pak = (folder / "media" / "data.pak").string();
        const std::string tool = TOTEM_BINARY_DIR "/bin/totem-pak";
        ASSERT_EQ(RunChild({tool, "extract", pak, unpacked.string()}, {}, 60000), 0);
        const fs::path inside = unpacked / file;
        ASSERT_TRUE(fs::exists(inside)) << file << " is neither in the folder nor in the pack";
        WriteBytes(inside, Damaged(ReadBytes(inside), damage, file));
        ASSERT_EQ(RunChild({tool, "pack", unpacked.string(), pak}, {}, 60000), 0);
        fs::remove_all(unpacked);
    }

    struct Outcome {
        int exitCode;  // minus the signal when one ended it; 999 when it hung
        std::string output;
    };

    Outcome RunGame(RunTo runTo) {
        std::vector<std::string> argv = {(folder / "totem-riff").string()};
        if (runTo == RunTo::Level) argv.insert(argv.end(), {"--level", "1"});
        argv.insert(argv.end(), {"--quit-after", "menu"});
        const fs::path log = folder / "run.log";
        const int fd = ::open(log.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        const pid_t pid = SpawnChild(argv, {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"},
                                     folder.string(), {}, ChildOutput::Capture, fd);
        // The sanitizer build starts slowly; a hang waits far longer than this.
        std::optional<int> code = WaitChild(pid, 120000);
        if (!code) {
            StopChild(pid, 2000);
            code = 999;
        }
        Outcome outcome{*code, ReadAll(fd)};
        ::close(fd);
        return outcome;
    }
};

TEST_P(DamagedFolder, TheGameEndsOnItsOwnAndNamesTheFileItCouldNotUse) {
    const auto& [c, damage] = GetParam();
    WriteSavedFiles();
    const std::vector<char> before = ReadBytes(folder / c.file);
    DamageFile(c.file, damage);
    const std::vector<char> damagedUserFile = ReadBytes(folder / "User.dat");

    const Outcome run = RunGame(c.runTo);
    SCOPED_TRACE(run.output);
    ASSERT_NE(run.exitCode, 999) << "the game hung";
    ASSERT_GE(run.exitCode, 0) << "the game was ended by signal " << -run.exitCode;
    EXPECT_EQ(run.output.find("runtime error:"), std::string::npos) << "undefined behaviour";
    EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos);
    if (c.mustGoOn) {
        EXPECT_EQ(run.exitCode, 0) << "the game must go on without " << c.file;
    } else {
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << "exit code " << run.exitCode;
    }
    if (run.exitCode != 0) {
        EXPECT_NE(run.output.find(c.named), std::string::npos) << "the message does not name " << c.file;
    }
    // A profile file that cannot be read is put aside whole, never lost.
    if (std::string(c.file) == "User.dat" && !before.empty()) {
        if (fs::exists(folder / "User.dat.damaged"))
            EXPECT_EQ(ReadBytes(folder / "User.dat.damaged"), damagedUserFile);
        else
            EXPECT_EQ(ReadBytes(folder / "User.dat"), damagedUserFile);
    } else {
        EXPECT_EQ(ReadBytes(folder / "User.dat"), damagedUserFile) << "the profiles were rewritten";
    }
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<DamageCase, Damage>>& info) {
    std::string name = std::string(std::get<0>(info.param).file) + "_" + DamageName(std::get<1>(info.param));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DamagedFolder,
                         ::testing::Combine(::testing::ValuesIn(kFiles),
                                            ::testing::Values(Damage::Truncated, Damage::Emptied, Damage::Noise)),
                         CaseName);

}  // namespace
