#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vigilon::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadText(const std::string& path) {
    Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The names in folder, sorted: to see that nothing is left beside a file.
inline std::vector<std::string> DirectoryEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs each test in a fresh directory of its own as the current directory,
// so the files are reached by their bare names as the program does.
class StoreTestDir : public ::testing::Test {
protected:
    void SetUp() override {
        // A new folder under the system's temporary one (Windows has no mkdtemp).
        std::random_device random;
        std::error_code error;
        do {
            dir = std::filesystem::temp_directory_path() /
                  ("vigilon-store-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(dir, error) && !error);
        ASSERT_FALSE(error) << error.message();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }

    void TearDown() override {
        std::filesystem::current_path(previous);
        // Tests lock folders; a user (not root) must open them to remove them.
        std::error_code ignored;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        for (auto it = std::filesystem::recursive_directory_iterator(dir, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::remove_all(dir, ignored);
    }

    std::filesystem::path dir;
    std::filesystem::path previous;
};

}  // namespace vigilon::test
