#include "app/OpenRequest.h"

#include <algorithm>
#include <cstdint>

namespace zentabo {

namespace {

constexpr std::string_view kMagic = "ZTBOPEN1";
constexpr std::size_t kHeaderSize = kMagic.size() + 4;

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(std::string_view data, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + i])) << (8 * i);
    return v;
}

bool IsUsablePath(std::string_view path) {
    return !path.empty() && path.size() < kOpenRequestMaxPath && path.front() == '/' &&
           path.find('\0') == std::string_view::npos;
}

// The body alone: a count and that many length-prefixed paths, nothing after them.
bool DecodeBody(std::string_view body, std::vector<std::string>& files) {
    if (body.size() < 4) return false;
    const std::uint32_t count = GetU32(body, 0);
    // Each path takes at least five bytes, so a larger count cannot be honest.
    if (count > (body.size() - 4) / 5) return false;
    files.reserve(count);
    std::size_t at = 4;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (body.size() - at < 4) return false;
        const std::uint32_t length = GetU32(body, at);
        at += 4;
        if (length > body.size() - at) return false;
        const std::string_view path = body.substr(at, length);
        if (!IsUsablePath(path)) return false;
        files.emplace_back(path);
        at += length;
    }
    return at == body.size();
}

}  // namespace

std::string EncodeOpenRequest(const std::vector<std::string>& files) {
    std::string body;
    PutU32(body, static_cast<std::uint32_t>(files.size()));
    for (const std::string& f : files) {
        PutU32(body, static_cast<std::uint32_t>(f.size()));
        body += f;
    }
    std::string out(kMagic);
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

OpenRequestDecode DecodeOpenRequest(std::string_view data) {
    using Status = OpenRequestDecode::Status;
    OpenRequestDecode r;
    const std::size_t magicSeen = std::min(data.size(), kMagic.size());
    if (data.substr(0, magicSeen) != kMagic.substr(0, magicSeen)) {
        r.status = Status::Invalid;
        return r;
    }
    if (data.size() < kHeaderSize) return r;
    const std::uint32_t length = GetU32(data, kMagic.size());
    if (length > kOpenRequestMaxBody) {
        r.status = Status::Invalid;
        return r;
    }
    const std::size_t total = kHeaderSize + length;
    if (data.size() < total) return r;
    if (data.size() > total || !DecodeBody(data.substr(kHeaderSize), r.files)) {
        r.files.clear();
        r.status = Status::Invalid;
        return r;
    }
    r.status = Status::Complete;
    return r;
}

}  // namespace zentabo
