#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/FileIo.h"

namespace zentabo::testing {

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentabo-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::filesystem::path Path() const { return path_; }

    // Every name in the folder, sorted.
    std::string Listing() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        std::string out;
        for (const auto& n : names) out += n + ";";
        return out;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadBack(const std::string& path) {
    return ReadWholeFile(path).data;
}

}  // namespace zentabo::testing
