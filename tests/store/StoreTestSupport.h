#pragma once

// Files, snapshots and reference rules shared by the line store's tests. The reference
// splitters walk byte by byte, independently of the store's own scanning.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "store/LumStrings.h"

namespace zentabo::storetest {

// A folder of its own under the system's temp folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string dir_;
};

std::string ReadFileBytes(const std::string& path);

std::vector<std::string> Entries(const TLumStrings& store);

// The split of SetText (takeTerminator) or InsertText (not).
std::vector<std::string> ReferenceSplit(const std::string& text, bool takeTerminator);
// What LoadFromFile makes of a file's bytes.
std::vector<std::string> ReferenceLoad(const std::string& bytes);
// Plain scans for the position helpers.
int32_t ReferenceCountLineEndsBefore(const std::vector<std::string>& entries, int32_t index);
int32_t ReferenceIndexAfterLineEnds(const std::vector<std::string>& entries, int32_t n);

// About `size` bytes of code page 932 text with CR LF breaks: kana and kanji, lone lead
// bytes, tabs, lone CR and LF, NUL bytes, empty lines and now and then a line over 32 KB.
std::string RandomCp932Text(std::mt19937& rng, std::size_t size);

}  // namespace zentabo::storetest
