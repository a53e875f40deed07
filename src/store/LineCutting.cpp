#include "store/LineCutting.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <thread>

namespace zentabo {
namespace {

// The offset just behind the first CR LF at or after from, or the text's end.
std::size_t BreakAtOrAfter(std::string_view text, std::size_t from) {
    const char* data = text.data();
    const std::size_t len = text.size();
    while (from < len) {
        const void* p = std::memchr(data + from, '\r', len - from);
        if (!p) break;
        const std::size_t cr = static_cast<const char*>(p) - data;
        if (cr + 1 < len && data[cr + 1] == '\n') return cr + 2;
        from = cr + 1;
    }
    return len;
}

// Part boundaries: 0, the breaks nearest to equal shares, the end.
std::vector<std::size_t> PartBounds(std::string_view text, const LineShaping& shaping) {
    const std::size_t len = text.size();
    const std::size_t parts =
        std::clamp<std::size_t>(len / std::max<std::size_t>(1, shaping.minPartBytes), 1,
                                static_cast<std::size_t>(std::max(1, shaping.threads)));
    std::vector<std::size_t> bounds{0};
    for (std::size_t i = 1; i < parts; ++i) {
        const std::size_t at = BreakAtOrAfter(text, std::max(bounds.back(), len / parts * i));
        if (at > bounds.back() && at < len) bounds.push_back(at);
    }
    bounds.push_back(len);
    return bounds;
}

void CutPart(std::string_view part, const LineCutter& cut, std::vector<uint32_t>& lengths) {
    lengths.reserve(part.size() / 40 + 1);
    ForEachLine(part, [&](std::string_view line) {
        const std::size_t first = lengths.size();
        cut(line, lengths);
        std::size_t sum = 0;
        for (std::size_t i = first; i < lengths.size(); ++i) sum += lengths[i];
        if (sum != line.size()) throw std::logic_error("line cut into pieces of another length");
    });
}

}  // namespace

std::size_t CountCrLf(std::string_view text) {
    const char* data = text.data();
    const std::size_t len = text.size();
    std::size_t n = 0;
    for (std::size_t scan = 0; scan < len;) {
        const void* p = std::memchr(data + scan, '\r', len - scan);
        if (!p) break;
        scan = static_cast<std::size_t>(static_cast<const char*>(p) - data) + 1;
        if (scan < len && data[scan] == '\n') ++n;
    }
    return n;
}

std::vector<std::vector<uint32_t>> CutLines(std::string_view text, const LineShaping& shaping) {
    const std::vector<std::size_t> bounds = PartBounds(text, shaping);
    const std::size_t parts = bounds.size() - 1;
    std::vector<std::vector<uint32_t>> lengths(parts);
    std::vector<std::exception_ptr> failures(parts);
    auto run = [&](std::size_t i) {
        try {
            CutPart(text.substr(bounds[i], bounds[i + 1] - bounds[i]), shaping.cut, lengths[i]);
        } catch (...) {
            failures[i] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> workers;
        for (std::size_t i = 1; i < parts; ++i) workers.emplace_back(run, i);
        run(0);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    return lengths;
}

}  // namespace zentabo
