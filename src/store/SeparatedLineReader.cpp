#include "store/SeparatedLineReader.h"

#include <cstring>
#include <vector>

namespace zentabo {
namespace {

constexpr std::size_t kBufferSize = 16384;
constexpr std::size_t kCarry = 512;
constexpr std::size_t kStep = kBufferSize - kCarry;  // 15872

// Appends [p, end) to line without its NUL bytes.
void AppendWithoutNul(std::string& line, const char* p, const char* end) {
    while (p < end) {
        const char* nul = static_cast<const char*>(std::memchr(p, '\0', end - p));
        const char* stop = nul ? nul : end;
        line.append(p, stop - p);
        p = nul ? nul + 1 : end;
    }
}

std::string WithCrLf(const char* p, std::size_t n) {
    std::string entry(n + 2, '\0');  // exact size: the store keeps it as it is
    if (n > 0) std::memcpy(entry.data(), p, n);
    entry[n] = '\r';
    entry[n + 1] = '\n';
    return entry;
}

}  // namespace

std::string ReadSeparatedLines(const FileHandle& file, const std::string& fileName, char separator,
                               const std::function<void(std::string&&)>& addLine) {
    // One guard byte behind the data keeps the buffer a terminated string.
    std::vector<char> buffer(kBufferSize + 1);
    char* buf = buffer.data();
    std::size_t filled = ReadSome(file, fileName, buf, kBufferSize);
    buf[filled] = '\0';
    std::size_t pos = 0;
    std::string line;  // the part of the current line read from earlier chunks
    for (;;) {
        bool full = filled == kBufferSize;
        // In a full buffer the scan stops at the step mark; the window then slides on.
        std::size_t stop = full ? kStep : filled;
        while (pos < stop) {
            const char* begin = buf + pos;
            const char* sep = static_cast<const char*>(std::memchr(begin, separator, stop - pos));
            const char* end = sep ? sep : buf + stop;
            if (sep && line.empty() && !std::memchr(begin, '\0', end - begin)) {
                addLine(WithCrLf(begin, end - begin));  // the usual case: one copy
            } else {
                AppendWithoutNul(line, begin, end);
                if (sep) {
                    addLine(WithCrLf(line.data(), line.size()));
                    line.clear();
                }
            }
            pos = (end - buf) + (sep ? 1 : 0);
        }
        if (!full) break;
        // Keep the last 512 bytes at the front and read behind them.
        std::memmove(buf, buf + kStep, kCarry);
        filled = kCarry + ReadSome(file, fileName, buf + kCarry, kStep);
        buf[filled] = '\0';
        pos -= kStep;
    }
    return line;
}

}  // namespace zentabo
