#pragma once

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <string>

namespace vigilon::test {

// Mounts a tiny tmpfs on path, in a mount namespace private to this test
// process so that nothing outlives it. False where mounting is not allowed
// (not root, or a container without the right); callers then skip.
inline bool IsolateMounts() {
    static const bool isolated = ::unshare(CLONE_NEWNS) == 0 &&
                                 ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return isolated;
}

inline bool MountSmallTmpfs(const std::string& path, int sizeKb) {
    if (!IsolateMounts()) return false;
    const std::string options = "size=" + std::to_string(sizeKb) + "k";
    return ::mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// Makes the directory at path read-only even for root: a read-only bind
// mount of it onto itself, private to this test process.
inline bool MakeReadOnly(const std::string& path) {
    return IsolateMounts() && ::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

inline void UnmountSmallTmpfs(const std::string& path) { ::umount2(path.c_str(), MNT_DETACH); }

// Takes every free block of the file system holding path.
inline void FillUp(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    char block[512] = {};
    while (::write(fd, block, sizeof block) > 0) {}
    ::close(fd);
}

}  // namespace vigilon::test
