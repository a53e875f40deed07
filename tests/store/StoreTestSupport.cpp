#include "StoreTestSupport.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zentabo::storetest {

ScratchDir::ScratchDir() {
    static std::atomic<int> serial{0};
    auto dir = std::filesystem::temp_directory_path() /
               ("zentabo-store-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(dir);
    dir_ = dir.string();
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write test file " + path);
    return path;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read test file " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Entries(const TLumStrings& store) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < store.Count(); ++i) out.push_back(store.Get(i));
    return out;
}

std::vector<std::string> ReferenceSplit(const std::string& text, bool takeTerminator) {
    // Walks text followed by its terminating NUL, as a C string scan would.
    std::string withTerminator = text + '\0';
    const std::size_t end = text.size();
    std::vector<std::string> out;
    std::size_t i = 0;
    do {
        std::string piece;
        for (;;) {
            if (i == end && !takeTerminator) break;
            char c = withTerminator[i++];
            piece += c;
            if (c == '\0') break;
            if (c == '\r') {
                if (i < end || (i == end && takeTerminator)) piece += withTerminator[i++];
                break;
            }
        }
        out.push_back(piece);
    } while (i < end);
    return out;
}

std::vector<std::string> ReferenceLoad(const std::string& bytes) {
    if (bytes.empty()) return {std::string(1, '\0')};
    std::string head = bytes.substr(0, 1024) + '\0';
    char separator = '\r';
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '\n') {
            separator = '\n';
            break;
        }
        if (head[i] == '\r') {
            if (head[i + 1] == '\n') return ReferenceSplit(bytes + '\0', true);
            break;
        }
        if (head[i] == '\0') break;
    }
    std::vector<std::string> out;
    std::string line;
    for (char c : bytes) {
        if (c == '\0') continue;
        if (c == separator) {
            out.push_back(line + "\r\n");
            line.clear();
        } else {
            line += c;
        }
    }
    out.push_back(line + '\0');
    return out;
}

int32_t ReferenceCountLineEndsBefore(const std::vector<std::string>& entries, int32_t index) {
    int32_t n = 0;
    for (int32_t i = 0; i < index; ++i) n += !entries[i].empty() && entries[i].back() == '\n';
    return n;
}

int32_t ReferenceIndexAfterLineEnds(const std::vector<std::string>& entries, int32_t n) {
    int32_t i = 0, passed = 0;
    int32_t last = static_cast<int32_t>(entries.size()) - 1;
    while (passed < n && i < last) {
        if (!entries[i].empty() && entries[i].back() == '\n') ++passed;
        ++i;
    }
    return i;
}

}  // namespace zentabo::storetest
