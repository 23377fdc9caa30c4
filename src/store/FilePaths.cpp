#include "FilePaths.h"

#include <filesystem>
#include <system_error>

namespace vigilon {

namespace {

// The kernel's own limit on the links followed in one lookup.
constexpr int kMaxLinkHops = 40;

}  // namespace

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    return absolute.lexically_normal().string();
}

std::string DirectoryOf(const std::string& path) {
    std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string FollowLinks(const std::string& path) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) return current.string();
        std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) return current.string();
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return {};
}

}  // namespace vigilon
