#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "StoreTestSupport.h"
#include "store/LumStrings.h"

namespace zentabo {
namespace {

using namespace storetest;
using V = std::vector<std::string>;

const std::string kNul(1, '\0');
std::string B(const char* s, std::size_t n) {
    return std::string(s, n);
}

// The reader's window: first read 16384 bytes, then 15872 more at a time.
constexpr std::size_t kFirstRead = 16384, kStep = 15872;

class LumStringsFile : public ::testing::Test {
protected:
    V Load(const std::string& bytes) {
        TLumStrings s;
        s.LoadFromFile(dir.Write("in.txt", bytes));
        if (!bytes.empty()) {
            EXPECT_EQ(s.Capacity(), s.Count());  // trimmed after splitting
        }
        return Entries(s);
    }
    ScratchDir dir;
};

TEST_F(LumStringsFile, AllThreeBreakStylesLoadAsCrLf) {
    const V expected = {"a\r\n", B("b\0", 2)};
    EXPECT_EQ(Load("a\r\nb"), expected);
    EXPECT_EQ(Load("a\nb"), expected);
    EXPECT_EQ(Load("a\rb"), expected);
    // A break at the end leaves the end-of-text marker alone in the last entry.
    const V withEnd = {"a\r\n", "b\r\n", kNul};
    EXPECT_EQ(Load("a\r\nb\r\n"), withEnd);
    EXPECT_EQ(Load("a\nb\n"), withEnd);
    EXPECT_EQ(Load("a\rb\r"), withEnd);
    EXPECT_EQ(Load(""), V{kNul});
    EXPECT_EQ(Load("\n\n"), (V{"\r\n", "\r\n", kNul}));
}

TEST_F(LumStringsFile, StyleComesFromTheFirstBreakOnly) {
    // No break in the first 1024 bytes: CR is the separator; a CR LF further on is still
    // one break, so that saving gives the same bytes back.
    std::string longHead(1100, 'x');
    EXPECT_EQ(Load(longHead + "\r\nnext\r\n"), (V{longHead + "\r\n", "next\r\n", kNul}));
    // In an LF file a lone CR is an ordinary byte; in a CR file a lone LF is.
    EXPECT_EQ(Load("a\nb\r\nc\rd"), (V{"a\r\n", "b\r\n", B("c\rd\0", 4)}));
    EXPECT_EQ(Load("a\rb\nc"), (V{"a\r\n", B("b\nc\0", 4)}));
}

// A NUL byte, and a lone CR or LF in a CR LF file, is a byte of its line in every style;
// only the last entry ends with the end-of-text NUL.
TEST_F(LumStringsFile, NulBytesAndLoneBreaksAreBytesOfTheirLine) {
    EXPECT_EQ(Load(B("a\r\nb\0c", 6)), (V{"a\r\n", B("b\0c\0", 4)}));
    EXPECT_EQ(Load(B("a\nb\0c\n\0", 7)), (V{"a\r\n", B("b\0c\r\n", 5), B("\0\0", 2)}));
    EXPECT_EQ(Load(B("a\rb\0\0c", 6)), (V{"a\r\n", B("b\0\0c\0", 5)}));
    EXPECT_EQ(Load(B("a\r\nb\rc\nd\0\r\n", 11)), (V{"a\r\n", B("b\rc\nd\0\r\n", 8), kNul}));
    EXPECT_TRUE(Load(std::string(40000, '\0')) == V{std::string(40001, '\0')});
    // Saved again, a CR LF file gives back every byte.
    const std::string crlf = B("x\0\0y\r\n\rz\n\r\r\n\0", 13);
    TLumStrings s;
    s.LoadFromFile(dir.Write("nul.txt", crlf));
    s.SaveToFile(dir.Path("out.txt"));
    EXPECT_EQ(ReadFileBytes(dir.Path("out.txt")), crlf);
}

TEST_F(LumStringsFile, LinesLongerThanTheWindowAreReadWhole) {
    std::string big;
    for (int i = 0; i < 3 * 1024 * 1024; ++i) big += static_cast<char>('a' + i % 26);
    // Compared as booleans: a failure would otherwise print megabytes.
    EXPECT_TRUE(Load("q\n" + big + "\nz") == (V{"q\r\n", big + "\r\n", B("z\0", 2)}));
    EXPECT_TRUE(Load("q\r" + big + "\rz") == (V{"q\r\n", big + "\r\n", B("z\0", 2)}));
    EXPECT_TRUE(Load(big) == (V{big + kNul}));  // no break at all: CR style, one line
    EXPECT_TRUE(Load("q\r\n" + big) == (V{"q\r\n", big + kNul}));
}

TEST_F(LumStringsFile, SpecialBytesOnEveryWindowSeamLoadAsTheReferenceSays) {
    // A separator, a NUL and a CR LF pair placed across each seam of the window.
    const std::size_t seams[] = {kFirstRead, kFirstRead + kStep, kFirstRead + 2 * kStep, kStep};
    for (char sep : {'\n', '\r'}) {
        for (std::size_t seam : seams) {
            for (int shift = -2; shift <= 1; ++shift) {
                for (const std::string& mark : {std::string(1, sep), B("\0", 1), B("\r\n", 2)}) {
                    std::string bytes = std::string("head") + sep;
                    while (bytes.size() < seam + 40)
                        bytes += static_cast<char>('a' + bytes.size() % 7);
                    bytes.replace(seam + shift, mark.size(), mark);
                    ASSERT_EQ(Load(bytes), ReferenceLoad(bytes))
                        << "sep " << int(sep) << " seam " << seam << " shift " << shift;
                }
            }
        }
    }
}

TEST_F(LumStringsFile, RandomFilesOfEveryStyleLoadAsTheReferenceSays) {
    std::mt19937 rng(1234);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0', '\x82', '\xA0'};
    for (int round = 0; round < 40; ++round) {
        std::string bytes;
        // Start with a chosen break so that every style comes up.
        bytes += "ab";
        bytes += round % 3 == 0 ? "\r\n" : round % 3 == 1 ? "\r" : "\n";
        std::size_t len = rng() % 60000;
        int weight = 1 + static_cast<int>(rng() % 200);  // from dense breaks to long lines
        while (bytes.size() < len) {
            char c = rng() % weight == 0 ? alphabet[2 + rng() % 3] : alphabet[rng() % 7];
            bytes += c;
        }
        ASSERT_EQ(Load(bytes), ReferenceLoad(bytes)) << "round " << round;
    }
}

TEST_F(LumStringsFile, SavingWritesTheTextWithoutTheEndMarker) {
    const std::string crlf = "line one\r\n\x82\xA0\x82\xA2\r\n\r\nlast";
    TLumStrings s;
    s.LoadFromFile(dir.Write("a.txt", crlf));
    s.SaveToFile(dir.Path("out.txt"));
    EXPECT_EQ(ReadFileBytes(dir.Path("out.txt")), crlf);

    s.LoadFromFile(dir.Write("b.txt", "x\ny\n"));
    s.SaveToFile(dir.Path("out.txt"));
    EXPECT_EQ(ReadFileBytes(dir.Path("out.txt")), "x\r\ny\r\n");

    s.LoadFromFile(dir.Write("c.txt", ""));
    s.SaveToFile(dir.Path("out.txt"));
    EXPECT_EQ(ReadFileBytes(dir.Path("out.txt")), "");

    // Soft-wrapped pieces join again; every byte value survives, whatever its meaning.
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') all += static_cast<char>(b);
    s.SetText(all + "\r\n" + all + kNul);
    s.Insert(1, std::string(20000, 'w'));
    s.SaveToFile(dir.Path("out.txt"));
    EXPECT_EQ(ReadFileBytes(dir.Path("out.txt")), all + "\r\n" + std::string(20000, 'w') + all);
}

TEST_F(LumStringsFile, FailuresThrowAndLeaveFilesAndStoreAlone) {
    TLumStrings s;
    s.SetText("keep\r\n");
    EXPECT_THROW(s.LoadFromFile(dir.Path("missing.txt")), FileError);
    EXPECT_THROW(s.LoadFromFile(dir.Path("")), FileError);  // a folder
    EXPECT_EQ(Entries(s), V{"keep\r\n"});

    EXPECT_THROW(s.SaveToFile(dir.Path("no/such/folder/out.txt")), FileError);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_THROW(s.SaveToFile("/dev/full"), FileError);  // a full disk
    }

    // An empty store raises before the file is touched.
    std::string path = dir.Write("precious.txt", "data");
    TLumStrings empty;
    EXPECT_THROW(empty.SaveToFile(path), IndexError);
    EXPECT_EQ(ReadFileBytes(path), "data");
}

TEST(LumStringsStream, StreamsCarryTheTextWithItsMarkers) {
    TLumStrings s;
    s.SetText(B("a\r\nb\0", 5));
    std::ostringstream out;
    s.SaveToStream(out);
    EXPECT_EQ(out.str(), B("a\r\nb\0", 5));

    std::istringstream in("skip:x\r\ny");
    in.ignore(5);
    s.LoadFromStream(in);
    EXPECT_EQ(Entries(s), (V{"x\r\n", B("y\0", 2)}));

    std::istringstream rest("");
    s.LoadFromStream(rest);
    EXPECT_EQ(s.Count(), 0);  // unlike SetText of an empty text
}

}  // namespace
}  // namespace zentabo
