// The game installed the way a player or a package installs it: this build
// put into a temporary prefix by `cmake --install`, laid out where desktops
// look, its launcher and description passing the desktop's own checkers, and
// the installed program started from elsewhere, in a read-only and moved
// installation, keeping the player's files in the per-user data folder.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

const char* const kAppId = "io.github.totemriff.TotemRiff";
const int kIconSizes[] = {32, 48, 64, 128, 256};

std::string ReadAll(int fd) {
    std::string text;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    return text;
}

struct Outcome {
    int status;  // minus the signal that ended it; 999 when it hung
    std::string output;
};

// Runs a program to its end with both outputs kept for the failure message.
Outcome RunCaptured(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& workDir,
                const fs::path& log, int timeoutMs) {
    const int fd = ::open(log.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    const pid_t pid = SpawnChild(argv, env, workDir.string(), {}, ChildOutput::Capture, fd);
    std::optional<int> status = WaitChild(pid, timeoutMs);
    if (!status) {
        StopChild(pid, 2000);
        status = 999;
    }
    Outcome run{*status, ReadAll(fd)};
    ::close(fd);
    return run;
}

// A program on PATH, or empty.
std::string OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path candidate = fs::path(folder) / program;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

// Width and height from a PNG's header.
std::array<int, 2> PngSize(const fs::path& path) {
    const std::string bytes = Slurp(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    const auto word = [&](size_t at) {
        int v = 0;
        for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

// The value of `key=` in a desktop-style file, or empty.
std::string KeyValue(const fs::path& file, const std::string& key) {
    for (const std::string& line : Lines(Slurp(file))) {
        std::string l = line;
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (l.rfind(key + "=", 0) == 0) return l.substr(key.size() + 1);
    }
    return {};
}

// Every path below `root` with its size and change time: what the game must
// leave as it found it.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::error_code ec;
        const auto size = entry.is_regular_file(ec) ? entry.file_size(ec) : 0;
        const auto time = fs::last_write_time(entry.path(), ec).time_since_epoch().count();
        files[fs::relative(entry.path(), root).string()] = std::to_string(size) + " " + std::to_string(time);
    }
    return files;
}

void SetWritable(const fs::path& root, bool writable) {
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const auto option = writable ? fs::perm_options::add : fs::perm_options::remove;
    std::error_code ec;
    fs::permissions(root, writable ? fs::perms::owner_write : write, option, ec);
    for (const auto& entry : fs::recursive_directory_iterator(root, ec))
        if (!entry.is_symlink(ec)) fs::permissions(entry.path(), writable ? fs::perms::owner_write : write, option, ec);
}

class Installed : public testing::Test {
protected:
    void SetUp() override {
        const fs::path built = fs::path(TOTEM_BINARY_DIR) / "game";
        if (!fs::exists(built / "res.xml") || !fs::exists(built / "media" / "levels.xml"))
            GTEST_SKIP() << "the runtime folder is not built (content turned off): nothing to install";
        root_ = TestTempPath("install");
        Clean();
        fs::create_directories(root_);
        prefix_ = root_ / "prefix";
        const Outcome install = RunCaptured({TOTEM_CMAKE, "--install", TOTEM_BINARY_DIR, "--prefix", prefix_.string()},
                                        {}, root_, root_ / "install.log", 120000);
        ASSERT_EQ(install.status, 0) << install.output;
        data_ = prefix_ / "share" / "totem-riff";
    }
    void TearDown() override { Clean(); }

    void Clean() {
        if (root_.empty() || !fs::exists(root_)) return;
        SetWritable(root_, true);
        fs::remove_all(root_);
    }

    fs::path Desktop() const { return prefix_ / "share" / "applications" / (std::string(kAppId) + ".desktop"); }
    fs::path Metainfo() const { return prefix_ / "share" / "metainfo" / (std::string(kAppId) + ".metainfo.xml"); }

    fs::path root_, prefix_, data_;
};

TEST_F(Installed, EverythingIsWhereADesktopLooksForIt) {
    EXPECT_EQ(::access((prefix_ / "bin" / "totem-riff").c_str(), X_OK), 0) << "no program in bin/";
    for (const char* file : {"res.xml", "gui.xml", "media/data.pak", "media/levels.xml", "media/StringE.dat",
                             "media/skins.xml", "media/music/menu.ogg", "play.url", "website.url"})
        EXPECT_TRUE(fs::is_regular_file(data_ / file)) << file;
    EXPECT_TRUE(fs::is_directory(data_ / "media" / "songs"));
    // The player's files are made by the game, and the program lives in bin/ only.
    for (const char* absent : {"User.dat", "options.dat", "totem-riff"})
        EXPECT_FALSE(fs::exists(data_ / absent)) << absent << " was installed";
    EXPECT_TRUE(fs::is_regular_file(Desktop()));
    EXPECT_TRUE(fs::is_regular_file(Metainfo()));

    const std::string icon = KeyValue(Desktop(), "Icon");
    EXPECT_EQ(KeyValue(Desktop(), "Exec"), "totem-riff");
    ASSERT_FALSE(icon.empty());
    const fs::path hicolor = prefix_ / "share" / "icons" / "hicolor";
    for (int size : kIconSizes) {
        SCOPED_TRACE(size);
        const fs::path png = hicolor / (std::to_string(size) + "x" + std::to_string(size)) / "apps" / (icon + ".png");
        const std::array<int, 2> expected{size, size};
        EXPECT_EQ(PngSize(png), expected) << png;
    }
    const std::string svg = Slurp(hicolor / "scalable" / "apps" / (icon + ".svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos) << "no scalable icon";
}

// The links to the local pages must lead into this installation, not into
// the build folder the files came from.
TEST_F(Installed, TheLinksLeadToTheInstalledPages) {
    for (const char* link : {"play.url", "website.url"}) {
        SCOPED_TRACE(link);
        const std::string url = KeyValue(data_ / link, "URL");
        ASSERT_FALSE(url.empty());
        EXPECT_EQ(url.find(':'), std::string::npos) << "not relative to the link: " << url;
        EXPECT_TRUE(fs::is_regular_file(data_ / url)) << url;
    }
}

TEST_F(Installed, TheDescriptionNamesThisVersionAndTheLauncher) {
    const std::string xml = Slurp(Metainfo());
    EXPECT_NE(xml.find(std::string("<id>") + kAppId + "</id>"), std::string::npos);
    EXPECT_NE(xml.find(std::string(">") + kAppId + ".desktop</launchable>"), std::string::npos);
    // The newest release comes first and must be the version the program says.
    const size_t release = xml.find("<release ");
    ASSERT_NE(release, std::string::npos);
    EXPECT_EQ(xml.find("version=\"" + std::string(TOTEM_VERSION) + "\"", release),
              xml.find("version=\"", release));
}

TEST_F(Installed, TheDesktopsCheckersAcceptTheLauncherAndTheDescription) {
    const std::string desktopCheck = OnPath("desktop-file-validate");
    const std::string appstream = OnPath("appstreamcli");
    if (desktopCheck.empty() || appstream.empty())
        GTEST_SKIP() << "desktop-file-validate or appstreamcli missing (scripts/install-deps.sh installs them)";
    const Outcome desktop = RunCaptured({desktopCheck, Desktop().string()}, {}, root_, root_ / "desktop.log", 60000);
    EXPECT_EQ(desktop.status, 0) << desktop.output;
    EXPECT_EQ(desktop.output, "") << "desktop-file-validate has remarks";
    const Outcome metainfo =
        RunCaptured({appstream, "validate", "--no-net", Metainfo().string()}, {}, root_, root_ / "appstream.log", 60000);
    EXPECT_EQ(metainfo.status, 0) << metainfo.output;
}

// Read-only (even for root: the game goes by the permission bits), moved to
// another prefix, started from a folder that has nothing of the game: the
// player's files go to the per-user folder, made on the first start, and the
// installation is left exactly as it was.
TEST_F(Installed, TheInstalledGameStartsAndKeepsThePlayersFilesInTheUserFolder) {
    const fs::path moved = root_ / "moved";
    fs::rename(prefix_, moved);
    SetWritable(moved, false);
    const auto before = Snapshot(moved);
    fs::create_directories(root_ / "elsewhere");
    const fs::path home = root_ / "home";
    fs::create_directories(home);

    // First with XDG_DATA_HOME, which names a folder not made yet; then
    // without it, where a damaged profile file waits in ~/.local/share: it
    // is read from there and put aside there.
    struct Case {
        const char* name;
        bool dataHomeSet;
        fs::path folder;  // where the player's files must land
        bool damagedProfiles;
    };
    const Case cases[] = {
        {"XDG_DATA_HOME set", true, root_ / "xdg" / "totem-riff", false},
        {"XDG_DATA_HOME unset", false, home / ".local" / "share" / "totem-riff", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1",
                                        "HOME=" + home.string()};
        env.push_back(c.dataHomeSet ? "XDG_DATA_HOME=" + (root_ / "xdg").string() : "XDG_DATA_HOME");
        if (c.damagedProfiles) {
            fs::create_directories(c.folder);
            std::ofstream(c.folder / "User.dat", std::ios::binary) << "not a profile file";
        } else {
            ASSERT_FALSE(fs::exists(c.folder.parent_path()));
        }
        const Outcome run = RunCaptured({(moved / "bin" / "totem-riff").string(), "--quit-after", "menu"}, env,
                                        root_ / "elsewhere", root_ / "game.log", 120000);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("cold start: menu ready"), std::string::npos) << run.output;
        std::error_code ec;
        EXPECT_EQ(fs::file_size(c.folder / "options.dat", ec), 5u) << run.output;
        if (c.damagedProfiles) {
            EXPECT_EQ(Slurp(c.folder / "User.dat.damaged"), "not a profile file") << run.output;
            EXPECT_NE(run.output.find((c.folder / "User.dat").string()), std::string::npos) << run.output;
        }
        EXPECT_TRUE(fs::is_empty(root_ / "elsewhere")) << "written where it was started";
    }

    EXPECT_EQ(Snapshot(moved), before) << "the game wrote into its installation";
}

}  // namespace
