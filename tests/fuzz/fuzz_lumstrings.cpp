// Fuzzes the line store's parsers of outside input: the file loaders (all three
// line-break styles, with inputs stretched across the reader's 16 KB window seams),
// SetText, InsertText and SetCommaText, plus edit sequences for the position helpers.
// Every result is checked against small byte-by-byte reference rules written here.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/LumStrings.h"

namespace {

using zentabo::TLumStrings;
using Entries = std::vector<std::string>;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_lumstrings: %s\n", what);
        std::abort();
    }
}

Entries Snapshot(const TLumStrings& s) {
    Entries out;
    for (int32_t i = 0; i < s.Count(); ++i) out.emplace_back(s.Get(i));
    return out;
}

bool EndsWithCrLfPair(const std::string& s) {
    return s.size() >= 2 && s[s.size() - 2] == '\r' && s.back() == '\n';
}

// Splitting: only CR LF ends an entry; with takeTerminator the bytes after the last
// CR LF end with the text's own final NUL, or with one added.
Entries RefSplit(const std::string& text, bool takeTerminator) {
    Entries out;
    std::string piece;
    for (char c : text) {
        piece += c;
        if (EndsWithCrLfPair(piece)) {
            out.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty() || text.empty()) {
        if (takeTerminator && (piece.empty() || piece.back() != '\0')) piece += '\0';
        out.push_back(piece);
    }
    return out;
}

Entries RefLoad(const std::string& bytes) {
    if (bytes.empty()) return {std::string(1, '\0')};
    char sep = '\r';
    for (std::size_t i = 0; i < bytes.size() && i < 1024; ++i) {
        if (bytes[i] == '\n') {
            sep = '\n';
            break;
        }
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') return RefSplit(bytes + '\0', true);
            break;
        }
    }
    // The separator or a CR LF pair ends a line; every other byte is kept.
    Entries out;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != sep) {
            line += c;
            continue;
        }
        if (sep == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
        if (sep == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        out.push_back(line + "\r\n");
        line.clear();
    }
    out.push_back(line + '\0');
    return out;
}

Entries RefComma(const std::string& text) {
    Entries out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool quoted = text[i] == '"';
        if (quoted) ++i;
        std::string value;
        while (i < text.size()) {
            char c = text[i];
            if (c == '\r' || c == '\0' || c == '"' || (c == ',' && !quoted)) break;
            value += c;
            ++i;
        }
        out.push_back(value);
        i += quoted ? 2 : 1;
    }
    return out;
}

std::string RefCommaText(const Entries& entries) {
    std::string out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i) out += ',';
        bool quote =
            entries[i].find(' ') != std::string::npos || entries[i].find(',') != std::string::npos;
        out += quote ? '"' + entries[i] + '"' : entries[i];
    }
    return out;
}

void CheckPositionHelpers(const TLumStrings& s, const Entries& model) {
    const int32_t n = static_cast<int32_t>(model.size());
    // Every index on small stores; a sample on the stretched ones, to keep runs fast.
    const int32_t stride = std::max(1, n / 128);
    int32_t before = 0;
    for (int32_t i = 0; i <= n; ++i) {
        if (i % stride == 0 || i == n)
            Check(s.CountLineEndsBefore(i) == before, "CountLineEndsBefore differs from a scan");
        if (i < n) before += EndsWithCrLfPair(model[i]);
    }
    // The walk for count k goes on where the walk for k - 1 stopped.
    int32_t i = 0, passed = 0;
    for (int32_t k = 0; k <= before + 1; ++k) {
        while (passed < k && i < n - 1) passed += EndsWithCrLfPair(model[i++]);
        if (k % stride == 0 || k > before)
            Check(s.IndexAfterLineEnds(k) == i, "IndexAfterLineEnds differs from a scan");
    }
}

// A plain array: it must outlive the exit handler that removes the file.
char tempPath[96];

void RemoveTempFile() {
    std::remove(tempPath);
}

std::string TempPath() {
    if (tempPath[0] == '\0') {
        std::snprintf(tempPath, sizeof tempPath, "/tmp/zentabo-fuzz-lumstrings-%d.txt",
                      static_cast<int>(getpid()));
        std::atexit(RemoveTempFile);
    }
    return tempPath;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::remove(path.c_str());  // a truncated file is flushed to disk on close: slow
    std::FILE* f = std::fopen(path.c_str(), "wb");
    Check(f != nullptr, "cannot create the temp file");
    Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "short temp write");
    std::fclose(f);
}

std::string ReadFile(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    Check(f != nullptr, "cannot open the saved file");
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

void LoadAndSave(const std::string& bytes) {
    WriteFile(TempPath(), bytes);
    TLumStrings s;
    s.LoadFromFile(TempPath());
    Entries got = Snapshot(s);
    Check(got == RefLoad(bytes), "LoadFromFile differs from the reference");
    Check(s.Capacity() == s.Count() || bytes.empty(), "capacity not trimmed after loading");
    CheckPositionHelpers(s, got);
    std::remove(TempPath().c_str());
    s.SaveToFile(TempPath());
    std::string joined = s.GetText();
    joined.pop_back();  // every load ends with the end-of-text marker
    Check(ReadFile(TempPath()) == joined, "SaveToFile wrote other bytes than the entries");
}

// Stretches the input across the reader's window: the body repeated, shifted so that
// its bytes meet the seams at 16384 and 16384 + 15872 in different places.
std::string Stretch(const std::string& head, const std::string& body, unsigned shift) {
    std::string out = head;
    out.append(16384 - 64 + shift % 128, 'x');
    while (out.size() < 16384 + 15872 + 256) out += body.empty() ? std::string("\r") : body;
    return out;
}

void EditSequence(const uint8_t* data, std::size_t size) {
    static const std::string kinds[] = {"a\r\n", "piece", "", "\r\n", std::string("x\0", 2)};
    TLumStrings s;
    Entries model;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        int32_t n = static_cast<int32_t>(model.size());
        int32_t at = n == 0 ? 0 : data[i + 1] % (n + 1);
        const std::string& e = kinds[data[i] % 5];
        switch ((data[i] >> 3) % 4) {
            case 0:
                s.Insert(at, e);
                model.insert(model.begin() + at, e);
                break;
            case 1:
                if (at < n) {
                    s.Delete(at);
                    model.erase(model.begin() + at);
                }
                break;
            case 2:
                if (at < n) {
                    s.Put(at, e);
                    model[at] = e;
                }
                break;
            default:
                s.SetCount(at);
                model.resize(at);
                break;
        }
        if (i % 16 == 0) CheckPositionHelpers(s, model);
    }
    Check(Snapshot(s) == model, "edits differ from a plain vector");
    CheckPositionHelpers(s, model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 6) {
        case 0: {
            TLumStrings s;
            s.SetText(text);
            Entries got = Snapshot(s);
            Check(got == RefSplit(text, true), "SetText differs from the reference");
            CheckPositionHelpers(s, got);
            break;
        }
        case 1: {
            TLumStrings s;
            s.SetText("one\r\ntwo\r\nthree");
            int32_t at = static_cast<int32_t>(data[0] / 6 % 4);
            Entries expected = Snapshot(s);
            Entries pieces = RefSplit(text, false);
            expected.insert(expected.begin() + at, pieces.begin(), pieces.end());
            int32_t index = at;
            s.InsertText(index, text);
            Check(Snapshot(s) == expected, "InsertText differs from the reference");
            Check(index == at + static_cast<int32_t>(pieces.size()) - 1, "InsertText index");
            CheckPositionHelpers(s, expected);
            break;
        }
        case 2: {
            TLumStrings s;
            s.SetCommaText(text);
            Entries got = Snapshot(s);
            Check(got == RefComma(text), "SetCommaText differs from the reference");
            Check(s.GetCommaText() == RefCommaText(got), "GetCommaText differs");
            break;
        }
        case 3:
            LoadAndSave(text);
            break;
        case 4: {
            // The first line of the input decides the style; the rest is repeated.
            std::size_t cut = text.find_first_of("\r\n");
            cut = cut == std::string::npos ? 0 : std::min(text.size(), cut + 2);
            LoadAndSave(Stretch(text.substr(0, cut), text.substr(cut), data[0]));
            break;
        }
        default:
            EditSequence(data + 1, size - 1);
            break;
    }
    return 0;
}
