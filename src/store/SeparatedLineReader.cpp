#include "store/SeparatedLineReader.h"

#include <cstring>
#include <vector>

namespace zentabo {
namespace {

constexpr std::size_t kBufferSize = 16384;
constexpr std::size_t kCarry = 512;
constexpr std::size_t kStep = kBufferSize - kCarry;  // 15872

std::string WithCrLf(const char* p, std::size_t n) {
    std::string entry(n + 2, '\0');  // exact size: the store keeps it as it is
    if (n > 0) std::memcpy(entry.data(), p, n);
    entry[n] = '\r';
    entry[n + 1] = '\n';
    return entry;
}

bool EndsWithCr(const std::string& s) {
    return !s.empty() && s.back() == '\r';
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
            // A CR LF among the single separators is one break, not a break and a
            // stray byte: saved with CR LF, the line then keeps its bytes.
            const bool crBeforeLf =
                sep && separator == '\n' && (end > begin ? end[-1] == '\r' : EndsWithCr(line));
            const bool lfAfterCr =
                sep && separator == '\r' && sep + 1 < buf + filled && sep[1] == '\n';
            if (sep && line.empty()) {
                addLine(WithCrLf(begin, end - begin - (crBeforeLf ? 1 : 0)));  // one copy
            } else {
                line.append(begin, end);
                if (sep) {
                    if (crBeforeLf) line.pop_back();
                    addLine(WithCrLf(line.data(), line.size()));
                    line.clear();
                }
            }
            pos = (end - buf) + (sep ? 1 : 0) + (lfAfterCr ? 1 : 0);
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
