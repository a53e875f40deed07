// Edits that bring a lone CR and a lone LF together (or part them again): the store
// must stay exactly what a fresh split of its bytes gives, and undo must restore them.
#include <gtest/gtest.h>

#include <random>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

std::vector<std::string> FreshLines(const std::string& text, bool wrap, int column) {
    EditorFixture g;
    g.edit->SetWordWrap(wrap);
    g.edit->SetColumn(column);
    g.edit->SetAllText(text);
    return g.Lines();
}

// A caret position for byte offset off of the text: never between CR and LF, and at
// the end of a wrapped piece the start of the next one.
void PositionOf(const EditorFixture& f, size_t off, int& line, int& col) {
    const std::vector<std::string> lines = f.Lines();
    line = 0;
    while (line + 1 < static_cast<int>(lines.size()) && off >= lines[line].size())
        off -= lines[line++].size();
    col = static_cast<int>(off);
}

bool InsideCrLf(const std::string& text, size_t off) {
    return off > 0 && off < text.size() && text[off - 1] == '\r' && text[off] == '\n';
}

struct JoinFixture : EditorFixture {
    JoinFixture(bool wrap, int column) {
        edit->SetWordWrap(wrap);
        edit->SetColumn(column);
        edit->OnFind = [](TLumEdit&, const std::string& str, const std::string& f, int, int& x,
                          int&) {
            const size_t p = str.find(f);
            x = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
        };
    }
};

TEST(LineEndJoinTest, RandomEditsAroundLoneCrAndLfKeepTheStoreAFreshSplit) {
    const char* const kPieces[] = {"a", "X", "X", "\r", "\n", "\r\n", "bc", "XX"};
    std::mt19937 rng(20261210);
    for (int round = 0; round < 240; ++round) {
        const bool wrap = round % 2 == 1;
        const int column = 4 + static_cast<int>(rng() % 8);
        std::string text;
        for (int i = static_cast<int>(rng() % 40); i > 0; --i) text += kPieces[rng() % 8];
        JoinFixture f(wrap, column);
        f.edit->SetAllText(text);
        const std::string start = f.edit->GetAllText();
        std::string ref = start;
        std::string ops;
        for (int step = 0; step < 30; ++step) {
            size_t off = rng() % (ref.size() + 1);
            while (InsideCrLf(ref, off)) off = rng() % (ref.size() + 1);
            int line, col;
            PositionOf(f, off, line, col);
            const unsigned op = rng() % 6;
            ops += static_cast<char>('0' + op);
            if (op == 0 || op == 1) {
                // Taking an X out is what joins a CR before it to an LF behind it.
                const size_t x = ref.find('X', off);
                if (x == std::string::npos) continue;
                PositionOf(f, x, line, col);
                f.edit->SelectFrom(1, col, line);
                f.edit->DeleteSelection(true, false);
                ref.erase(x, 1);
            } else if (op == 2) {
                f.edit->MoveCaretTo(col, line, 0);
                f.edit->TypeText(rng() % 2 ? "X" : "\r\n");
                ref.insert(off, f.edit->GetAllText().size() > ref.size() + 1 ? "\r\n" : "X");
            } else if (op == 3 && off < ref.size()) {
                f.edit->MoveCaretTo(col, line, 0);
                f.edit->DeleteForward();
                ref.erase(off, ref.compare(off, 2, "\r\n") == 0 ? 2 : 1);
            } else if (op == 4 && off > 0) {
                f.edit->MoveCaretTo(col, line, 0);
                f.edit->DeleteBackward();
                const bool pair = off >= 2 && ref.compare(off - 2, 2, "\r\n") == 0;
                ref.erase(off - (pair ? 2 : 1), pair ? 2 : 1);
            } else if (op == 5 && rng() % 4 == 0) {
                f.edit->FindReplace("X", "", true, false, true);
                std::erase(ref, 'X');
            }
            ASSERT_EQ(f.edit->GetAllText(), ref) << "round " << round << " ops " << ops;
            ASSERT_EQ(f.Lines(), FreshLines(ref, wrap, column))
                << "round " << round << " ops " << ops;
        }
        const std::string end = ref;
        while (!f.edit->UndoList().empty()) {
            f.edit->Undo();
            ASSERT_EQ(f.Lines(), FreshLines(f.edit->GetAllText(), wrap, column))
                << "round " << round << " ops " << ops;
        }
        ASSERT_EQ(f.edit->GetAllText(), start) << "round " << round << " ops " << ops;
        while (!f.edit->RedoList().empty()) {
            f.edit->Redo();
            ASSERT_EQ(f.Lines(), FreshLines(f.edit->GetAllText(), wrap, column))
                << "round " << round << " ops " << ops;
        }
        ASSERT_EQ(f.edit->GetAllText(), end) << "round " << round << " ops " << ops;
    }
}

}  // namespace
}  // namespace zentabo
