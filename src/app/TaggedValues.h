#pragma once

// The tagged values the page store is made of: one tag byte, then the value;
// multi-byte integers are little-endian.

#include <cstdint>
#include <string>
#include <string_view>

namespace zentabo {

enum ValueTag : unsigned char {
    kTagInt8 = 0x02,
    kTagInt16 = 0x03,
    kTagInt32 = 0x04,
    kTagString = 0x06,
    kTagFalse = 0x08,
    kTagTrue = 0x09,
    kTagLString = 0x0C,
    kTagWString = 0x12,
    kTagUtf8String = 0x14,
};

// Appends values to a byte buffer.
class TaggedValueWriter {
public:
    explicit TaggedValueWriter(std::string& out) : out_(out) {}

    // The shortest of Int8, Int16 and Int32.
    void WriteInteger(std::int32_t value);
    void WriteBoolean(bool value);
    // Code page 932 text: 7-bit text as String or LString, anything else as UTF-8.
    // Bytes that would not come back unchanged from UTF-8 (bad bytes, duplicate
    // codes) are stored as they are under String or LString, which every reader takes
    // as code page 932 bytes, so no text is ever altered by saving it. Returns false,
    // writing nothing, for text too long for a 4-byte length.
    bool WriteString(std::string_view cp932);

private:
    void WriteRaw(unsigned char tag, std::string_view bytes);

    std::string& out_;
    std::string utf8_;  // reused between strings
};

// Reads values from a byte buffer. Any unexpected tag, truncation or conversion
// failure makes the read return false and every later read fail too.
class TaggedValueReader {
public:
    explicit TaggedValueReader(std::string_view data) : data_(data) {}
    // The reader keeps a view of the bytes: a temporary buffer would vanish under it.
    explicit TaggedValueReader(std::string&&) = delete;

    bool ReadInteger(std::int32_t& value);
    // Tag 09 is true and any other tag false; only the end of the data fails.
    bool ReadBoolean(bool& value);
    // String, LString (bytes as they are), UTF8String and WString (converted to code
    // page 932; a character it cannot hold is a failure).
    bool ReadString(std::string& value);

    bool Failed() const { return failed_; }
    bool AtEnd() const { return pos_ == data_.size(); }
    std::size_t Position() const { return pos_; }

private:
    bool Fail();
    bool Take(std::size_t n, std::string_view& bytes);
    bool TakeLength(std::size_t width, std::size_t unitSize, std::size_t& length);

    std::string_view data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace zentabo
