#pragma once
// Shared by the resource tests: a fresh folder to run in, a fresh resource
// manager reading the folder's "media/data.pak", and a fatal-message hook
// that records instead of ending the program; Leave puts everything back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/DataPak.h"
#include "content/TResManager.h"
#include "media/Graphics.h"
#include "media/TPicture.h"

namespace content_test {

class ResourceFolder {
public:
    // `name` keeps the folders of different test programs apart.
    void Enter(const std::string& name) {
        namespace fs = std::filesystem;
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() / (name + "_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        PakPath = "media/data.pak";
        ResetPakDirectory();
        ResManager = std::make_shared<TResManager>();
        ResourceFatal = [this](const std::string& m) { fatal.push_back(m); };
    }
    void Leave() {
        if (dir_.empty()) return;
        ResourceFatal = DefaultResourceFatal;
        ResManager = std::make_shared<TResManager>();
        ResetPakDirectory();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
        dir_.clear();
    }

    // The fatal messages the manager gave, in order.
    std::vector<std::string> fatal;

private:
    std::filesystem::path dir_, previous_;
};

// A PNG picture at `path` (folders made as needed) filled by f(x, y).
template <class F>
::testing::AssertionResult WritePicture(const std::string& path, int w, int h, bool alpha, F f) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    TPicture pic(w, h, alpha);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pic.WritePixel(x, y, f(x, y));
    if (SavePicturePNG(pic, path)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "could not write " << path;
}

}  // namespace content_test
