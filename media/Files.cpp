#include "media/Files.h"

#include <sys/stat.h>

#include <algorithm>

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
