#include "store/LumEditSub.h"

#include <utility>

#include "store/FileHandle.h"
#include "store/StoreErrors.h"

namespace zentabo {

int ByteTypeAt(std::string_view s, int pos, bool singleByteMode) {
    if (singleByteMode || pos < 1 || static_cast<size_t>(pos) > s.size()) return kSingleByte;
    // Trail bytes can take lead-byte values, so the parity of the run of lead-byte
    // values before pos decides, without scanning from the start of the line.
    int run = 0;
    for (int i = pos - 1; i >= 1 && IsLeadByte(static_cast<unsigned char>(s[i - 1])); --i) ++run;
    if (run % 2 == 1) return kTrailByte;
    return IsLeadByte(static_cast<unsigned char>(s[pos - 1])) ? kLeadByte : kSingleByte;
}

int DetectLineBreakStyle(const std::string& fileName) {
    FileHandle file = OpenForReading(fileName);
    // One byte beyond the 1024 tells a CR at the edge from a CR LF. A NUL byte is an
    // ordinary byte of a line, so the scan goes on behind it.
    char buf[1024 + 1];
    size_t n = ReadSome(file, fileName, buf, sizeof buf);
    if (n == 0) return kBreakEmpty;
    for (size_t i = 0; i < n && i < 1024; ++i) {
        if (buf[i] == '\n') return kBreakLf;
        if (buf[i] == '\r') return i + 1 < n && buf[i + 1] == '\n' ? kBreakCrLf : kBreakCr;
    }
    return kBreakCr;  // no break in the first 1024 bytes
}

bool EndsWithCrLf(std::string_view s) {
    return s.size() >= 2 && s[s.size() - 1] == '\n' && s[s.size() - 2] == '\r';
}

std::string StripLineEnd(std::string_view s) {
    if (EndsWithCrLf(s)) return std::string(s.substr(0, s.size() - 2));
    if (!s.empty() && s.back() == '\0') return std::string(s.substr(0, s.size() - 1));
    return std::string(s);
}

std::string StripEndMark(std::string_view s) {
    if (!s.empty() && s.back() == '\0') s.remove_suffix(1);
    return std::string(s);
}

bool HasLineEnd(std::string_view s) {
    return EndsWithCrLf(s) || (!s.empty() && s.back() == '\0');
}

bool HasEndMark(std::string_view s) {
    return !s.empty() && s.back() == '\0';
}

void OrderPair(int& a, int& b) {
    if (b < a) std::swap(a, b);
}

}  // namespace zentabo
