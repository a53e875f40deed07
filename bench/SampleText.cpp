#include "SampleText.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>

#include "BenchRegistry.h"

namespace zentabo::bench {
namespace {

// A small xorshift generator: the same text on every machine and every run.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 11);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t state_;
};

const char* const kTags[] = {"<p>",   "</p>", "<br />", "<a href=\"http://example.jp/\">",
                             "</a>",  "<em>", "</em>",  "<li>",
                             "</li>", "<h2>", "</h2>",  "&amp;"};

void AppendHiragana(std::string& out, Random& rng) {
    out += '\x82';
    out += static_cast<char>(0x9F + rng.Below(0xF1 - 0x9F + 1));
}

// Level-1 kanji rows 0x88..0x97 with trail bytes 0x9F..0xFC (all valid code points).
void AppendKanji(std::string& out, Random& rng) {
    out += static_cast<char>(0x89 + rng.Below(0x97 - 0x89 + 1));
    int trail = 0x40 + rng.Below(0xFC - 0x40 + 1);
    if (trail == 0x7F) trail = 0x80;
    out += static_cast<char>(trail);
}

void AppendLine(std::string& out, Random& rng) {
    // Mostly short and medium lines, a few long ones, some empty.
    int roll = rng.Below(100);
    int target = roll < 8 ? 0 : roll < 90 ? 10 + rng.Below(90) : 100 + rng.Below(201);
    std::size_t start = out.size();
    if (target > 0 && rng.Below(4) == 0) out += '\t';
    while (out.size() - start + 2 <= static_cast<std::size_t>(target)) {
        int kind = rng.Below(20);
        if (kind < 7)
            AppendHiragana(out, rng);
        else if (kind < 12)
            AppendKanji(out, rng);
        else if (kind < 13)
            out += "\x81\x40";  // full-width space
        else if (kind < 15 && out.size() - start + 12 < static_cast<std::size_t>(target))
            out += kTags[rng.Below(sizeof kTags / sizeof kTags[0])];
        else
            out += static_cast<char>('a' + rng.Below(26));
    }
}

const char* LineBreak(Breaks breaks) {
    return breaks == Breaks::CrLf ? "\r\n" : breaks == Breaks::Cr ? "\r" : "\n";
}

constexpr uint64_t kSeed = 0x5EED2026u;

}  // namespace

std::string SampleText(std::size_t bytes, Breaks breaks) {
    Random rng(kSeed);
    std::string text;
    text.reserve(bytes + 400);
    while (text.size() < bytes) {
        AppendLine(text, rng);
        text += LineBreak(breaks);
    }
    return text;
}

// Written block by block so that making the file does not count towards a case's peak memory.
std::string WriteSampleFile(const std::string& name, std::size_t bytes, Breaks breaks) {
    std::string path = ScratchDir() + "/" + name;
    std::ofstream out(path, std::ios::binary);
    Random rng(kSeed);
    std::string block;
    std::size_t written = 0;
    while (written < bytes) {
        block.clear();
        while (block.size() < (1u << 20) && written + block.size() < bytes) {
            AppendLine(block, rng);
            block += LineBreak(breaks);
        }
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        written += block.size();
    }
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
}

// Five cells a line, Japanese and ASCII, about 70 bytes with the line break.
std::string CommaLines(int count) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 72);
    for (int i = 0; i < count; ++i) {
        text += std::to_string(100000 + i);
        text +=
            ",\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67,";  // 日本語のテキスト
        text += i % 7 == 0 ? "" : "example.jp";
        text += ",\x81\x40\x92\x6C";  // full-width space, 値
        text += std::to_string(i % 977);
        text += ",note about row and value\r\n";
    }
    return text;
}

}  // namespace zentabo::bench
