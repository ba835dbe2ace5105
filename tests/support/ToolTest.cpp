#include "support/ToolTest.h"

#include "content/DataPak.h"
#include "media/Graphics.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void ToolTest::SetUp() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / (tool_ + "_" + std::to_string(::getpid()) + "_" + info->test_suite_name() +
                                        "_" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

void ToolTest::TearDown() { fs::remove_all(dir_); }

ToolRun ToolTest::Tool(const std::string& args) {
    const std::string tool = std::string(TOTEM_BINARY_DIR) + "/bin/" + tool_;
    const fs::path out = dir_ / "stdout.txt";
    const fs::path err = dir_ / "stderr.txt";
    const std::string command = "'" + tool + "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ToolRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Spit(const fs::path& path, const std::string& text) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream ss(text);
    for (std::string line; std::getline(ss, line);) lines.push_back(line);
    return lines;
}

fs::path TestTempPath(const std::string& name) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string suffix = "_" + std::to_string(::getpid());
    if (info) suffix += std::string("_") + info->test_suite_name() + "_" + info->name();
    return fs::temp_directory_path() / (name + suffix);
}

PicturePtr GameFolderPicture(const std::filesystem::path& gameDir, const std::string& path) {
    const std::string savedPak = PakPath;
    PakPath = (gameDir / "media" / "data.pak").string();
    ResetPakDirectory();
    StreamPtr stream = OpenResource(path);
    PicturePtr picture = stream ? LoadPicture(*stream) : nullptr;
    PakPath = savedPak;
    ResetPakDirectory();
    return picture;
}
