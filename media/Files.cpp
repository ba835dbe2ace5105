#include "media/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {
size_t LastSeparator(const std::string& path) {
    size_t a = path.find_last_of('/');
    size_t b = path.find_last_of('\\');
    if (a == std::string::npos) return b;
    if (b == std::string::npos) return a;
    return std::max(a, b);
}

// Index of the extension's dot, or npos.
size_t ExtensionDot(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return dot;
    size_t sep = LastSeparator(path);
    if (sep != std::string::npos && dot < sep) return std::string::npos;
    return dot;
}

std::string FolderOf(const std::string& path) {
    size_t sep = LastSeparator(path);
    if (sep == std::string::npos) return ".";
    if (sep == 0) return "/";
    return path.substr(0, sep);
}

std::string Reason(const char* step, const std::string& path) {
    return std::string(step) + " " + path + ": " + std::strerror(errno);
}

// Writes all of `bytes` to an open descriptor, resuming after short writes and
// interruptions.
bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Without this the rename may be lost on a power cut even though the file's
// data reached the disk.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

std::string NativePath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

int PathKind(const std::string& path) {
    if (path.empty()) return 0;
    struct stat st {};
    if (stat(NativePath(path).c_str(), &st) != 0) return 0;
    if (S_ISDIR(st.st_mode)) return 2;
    if (S_ISREG(st.st_mode)) return 1;
    return 0;
}

std::string StripExtension(const std::string& path) {
    size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string PathExtension(const std::string& path) {
    size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    const std::string target = NativePath(path);
    const std::string temp = target + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = Reason("cannot create", temp);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    if (!ok) error = Reason("cannot write", temp);
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        error = Reason("cannot flush", temp);
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = Reason("cannot close", temp);
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = Reason("cannot replace", target);
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

bool FolderWritable(const std::string& folder) {
    const std::string native = NativePath(folder);
    struct stat st {};
    if (native.empty() || ::stat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if (::access(native.c_str(), W_OK | X_OK) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool MakeFolders(const std::string& folder, std::string& error) {
    const std::string native = NativePath(folder);
    std::error_code ec;
    std::filesystem::create_directories(native, ec);
    if (!ec && PathKind(native) == 2) return true;
    error = "cannot create the folder " + native + ": " + (ec ? ec.message() : "a file is in its place");
    return false;
}

bool RenamePath(const std::string& from, const std::string& to) {
    return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}
