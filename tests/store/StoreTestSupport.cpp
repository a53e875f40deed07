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
    for (int32_t i = 0; i < store.Count(); ++i) out.emplace_back(store.Get(i));
    return out;
}

namespace {

bool EndsWithCrLfPair(const std::string& s) {
    return s.size() >= 2 && s[s.size() - 2] == '\r' && s.back() == '\n';
}

}  // namespace

std::vector<std::string> ReferenceSplit(const std::string& text, bool takeTerminator) {
    // Only CR LF ends an entry; every other byte belongs to its line.
    std::vector<std::string> out;
    std::string piece;
    for (char c : text) {
        piece += c;
        if (EndsWithCrLfPair(piece)) {
            out.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty() || text.empty()) {
        // The text's own final NUL is the end-of-text marker; otherwise one is added.
        if (takeTerminator && (piece.empty() || piece.back() != '\0')) piece += '\0';
        out.push_back(piece);
    }
    return out;
}

std::vector<std::string> ReferenceLoad(const std::string& bytes) {
    if (bytes.empty()) return {std::string(1, '\0')};
    char separator = '\r';
    for (std::size_t i = 0; i < bytes.size() && i < 1024; ++i) {
        if (bytes[i] == '\n') {
            separator = '\n';
            break;
        }
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                return ReferenceSplit(bytes + '\0', true);
            break;
        }
    }
    // One separator byte, or a CR LF pair, ends a line; every other byte is kept.
    std::vector<std::string> out;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != separator) {
            line += c;
            continue;
        }
        if (separator == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
        if (separator == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        out.push_back(line + "\r\n");
        line.clear();
    }
    out.push_back(line + '\0');
    return out;
}

int32_t ReferenceCountLineEndsBefore(const std::vector<std::string>& entries, int32_t index) {
    int32_t n = 0;
    for (int32_t i = 0; i < index; ++i) n += EndsWithCrLfPair(entries[i]);
    return n;
}

int32_t ReferenceIndexAfterLineEnds(const std::vector<std::string>& entries, int32_t n) {
    int32_t i = 0, passed = 0;
    int32_t last = static_cast<int32_t>(entries.size()) - 1;
    while (passed < n && i < last) {
        if (EndsWithCrLfPair(entries[i])) ++passed;
        ++i;
    }
    return i;
}

std::string RandomCp932Text(std::mt19937& rng, std::size_t size) {
    std::string text;
    text.reserve(size + 40000);
    while (text.size() < size) {
        const unsigned roll = rng() % 1000;
        const std::size_t length = roll < 3 ? 32768 + rng() % 20000 : roll < 100 ? 0 : rng() % 300;
        for (std::size_t end = text.size() + length; text.size() < end;) {
            const unsigned kind = rng() % 40;
            if (kind < 14) {
                text += static_cast<char>(0x82);  // hiragana
                text += static_cast<char>(0x9F + rng() % 83);
            } else if (kind < 22) {
                text += static_cast<char>(0x88 + rng() % 16);  // kanji
                text += static_cast<char>(0x9F + rng() % 94);
            } else if (kind == 22) {
                text += '\t';
            } else if (kind == 23) {
                text += "\r\n\0"[rng() % 3];  // a lone CR or LF, or a NUL
            } else if (kind == 24) {
                text += static_cast<char>(0x81 + rng() % 31);  // a lead byte, maybe lone
            } else {
                text += static_cast<char>('a' + rng() % 26);
            }
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace zentabo::storetest
