#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "media/TPicture.h"

// Base fixture for tests that run one of the built command-line tools: each
// test gets its own empty temporary folder, and Tool() runs build/bin/<tool>
// with shell-quoted arguments, capturing its status and both outputs.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

class ToolTest : public testing::Test {
protected:
    explicit ToolTest(std::string tool) : tool_(std::move(tool)) {}
    void SetUp() override;
    void TearDown() override;

    ToolRun Tool(const std::string& args);
    static std::string Q(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

    std::filesystem::path dir_;

private:
    std::string tool_;
};

std::string Slurp(const std::filesystem::path& path);
void Spit(const std::filesystem::path& path, const std::string& text);
std::vector<std::string> Lines(const std::string& text);

// A path in the temporary folder that no other test process uses: the name
// is suffixed with the process id and the running test's name, so tests that
// CTest runs side by side never share files.
std::filesystem::path TestTempPath(const std::string& name);

// A picture of a built game folder, read the way the game reads it: a loose
// file first, else from the folder's data pack. Null when it is neither.
PicturePtr GameFolderPicture(const std::filesystem::path& gameDir, const std::string& path);
