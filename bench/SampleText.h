#pragma once

#include <cstddef>
#include <string>

namespace zentabo::bench {

enum class Breaks { CrLf, Cr, Lf };

// Deterministic Japanese XHTML in code page 932: markup, kana, kanji, full-width
// spaces and tabs, lines of 0 to 300 bytes (about 60 on average), about `bytes` long.
std::string SampleText(std::size_t bytes, Breaks breaks = Breaks::CrLf);

// Comma-separated lines of five cells, Japanese and ASCII, about 70 bytes each.
std::string CommaLines(int count);

// Writes SampleText to a file in the scratch folder and returns its path.
std::string WriteSampleFile(const std::string& name, std::size_t bytes, Breaks breaks);

}  // namespace zentabo::bench
