#include "app/TaggedValues.h"

#include <limits>

#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

void PutLittleEndian(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetLittleEndian(std::string_view bytes) {
    std::uint32_t v = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) v = v << 8 | static_cast<unsigned char>(bytes[i]);
    return v;
}

bool IsSevenBit(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

constexpr std::size_t kMaxLength = std::numeric_limits<std::int32_t>::max();

}  // namespace

void TaggedValueWriter::WriteInteger(std::int32_t value) {
    if (value >= -128 && value <= 127) {
        out_.push_back(static_cast<char>(kTagInt8));
        PutLittleEndian(out_, static_cast<std::uint32_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        out_.push_back(static_cast<char>(kTagInt16));
        PutLittleEndian(out_, static_cast<std::uint32_t>(value), 2);
    } else {
        out_.push_back(static_cast<char>(kTagInt32));
        PutLittleEndian(out_, static_cast<std::uint32_t>(value), 4);
    }
}

void TaggedValueWriter::WriteBoolean(bool value) {
    out_.push_back(static_cast<char>(value ? kTagTrue : kTagFalse));
}

void TaggedValueWriter::WriteRaw(unsigned char tag, std::string_view bytes) {
    out_.push_back(static_cast<char>(tag));
    PutLittleEndian(out_, static_cast<std::uint32_t>(bytes.size()), tag == kTagString ? 1 : 4);
    out_.append(bytes);
}

bool TaggedValueWriter::WriteString(std::string_view cp932) {
    if (cp932.size() > kMaxLength) return false;
    bool raw = IsSevenBit(cp932) || !Cp932ToUtf8Lossless(cp932, utf8_);
    if (raw) {
        WriteRaw(cp932.size() <= 255 ? kTagString : kTagLString, cp932);
        return true;
    }
    if (utf8_.size() > kMaxLength) return false;
    WriteRaw(kTagUtf8String, utf8_);
    return true;
}

bool TaggedValueReader::Fail() {
    failed_ = true;
    return false;
}

bool TaggedValueReader::Take(std::size_t n, std::string_view& bytes) {
    if (failed_ || n > data_.size() - pos_) return Fail();
    bytes = data_.substr(pos_, n);
    pos_ += n;
    return true;
}

// A length field checked against what is left, so a damaged length never asks for
// more memory than the file holds.
bool TaggedValueReader::TakeLength(std::size_t width, std::size_t unitSize, std::size_t& length) {
    std::string_view field;
    if (!Take(width, field)) return false;
    std::uint32_t raw = GetLittleEndian(field);
    if (width == 4 && raw > kMaxLength) return Fail();  // a negative length
    std::uint64_t bytes = std::uint64_t(raw) * unitSize;
    if (bytes > data_.size() - pos_) return Fail();
    length = raw;
    return true;
}

bool TaggedValueReader::ReadInteger(std::int32_t& value) {
    std::string_view tag;
    if (!Take(1, tag)) return false;
    std::string_view bytes;
    switch (static_cast<unsigned char>(tag[0])) {
        case kTagInt8:
            if (!Take(1, bytes)) return false;
            value = static_cast<std::int8_t>(GetLittleEndian(bytes));
            return true;
        case kTagInt16:
            if (!Take(2, bytes)) return false;
            value = static_cast<std::int16_t>(GetLittleEndian(bytes));
            return true;
        case kTagInt32:
            if (!Take(4, bytes)) return false;
            value = static_cast<std::int32_t>(GetLittleEndian(bytes));
            return true;
        default:
            return Fail();
    }
}

bool TaggedValueReader::ReadBoolean(bool& value) {
    std::string_view tag;
    if (!Take(1, tag)) return false;
    value = static_cast<unsigned char>(tag[0]) == kTagTrue;
    return true;
}

bool TaggedValueReader::ReadString(std::string& value) {
    std::string_view tag;
    if (!Take(1, tag)) return false;
    std::size_t length = 0;
    std::string_view bytes;
    switch (static_cast<unsigned char>(tag[0])) {
        case kTagString:
            if (!TakeLength(1, 1, length) || !Take(length, bytes)) return false;
            value.assign(bytes);
            return true;
        case kTagLString:
            if (!TakeLength(4, 1, length) || !Take(length, bytes)) return false;
            value.assign(bytes);
            return true;
        case kTagUtf8String: {
            if (!TakeLength(4, 1, length) || !Take(length, bytes)) return false;
            Cp932EncodeResult r = Utf8ToCp932(bytes);
            if (!r.ok()) return Fail();
            value = std::move(r.bytes);
            return true;
        }
        case kTagWString: {
            if (!TakeLength(4, 2, length) || !Take(length * 2, bytes)) return false;
            std::u16string text(length, u'\0');
            for (std::size_t i = 0; i < length; ++i) {
                text[i] = static_cast<char16_t>(GetLittleEndian(bytes.substr(2 * i, 2)));
            }
            Cp932EncodeResult r = Utf16ToCp932(text);
            if (!r.ok()) return Fail();
            value = std::move(r.bytes);
            return true;
        }
        default:
            return Fail();
    }
}

}  // namespace zentabo
