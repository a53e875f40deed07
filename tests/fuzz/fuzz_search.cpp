// The fuzzer's bytes give a text, a search text, a replacement and the answers of a
// matching handler that may report anything; every find and replace step must end,
// keep the store's end marker and undo back to the start. With a plain handler, a
// replace-all over the whole text must replace what the run through the confirmation
// path, told to stop asking, replaces; a replace-all stopped at any step must leave the
// text, its layout and its journal as they were.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/LumEdit.h"
#include "support/EditorTestAccess.h"
#include "support/HeadlessHost.cpp"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "search check failed: %s\n", what);
        std::abort();
    }
}

void PlainFind(zentabo::TLumEdit& edit) {
    edit.OnFind = [](zentabo::TLumEdit&, const std::string& str, const std::string& f, int, int& x,
                     int&) {
        const size_t p = f.empty() ? std::string::npos : str.find(f);
        x = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
    };
}

std::vector<std::string> LinesOf(const zentabo::TLumEdit& edit) {
    std::vector<std::string> lines;
    for (int i = 0; i < edit.LineCount(); ++i) lines.emplace_back(edit.Lines().Get(i));
    return lines;
}

// The replace-all of `edit` (just done) against the same run found hit by hit.
void CompareWithOneByOne(const zentabo::TLumEdit& edit, uint8_t flags, const std::string& text,
                         const std::string& find, const std::string& change) {
    using namespace zentabo;
    HeadlessHost host;
    TLumEdit ref(host);
    ref.SetColumn(10 + (flags & 7));
    if (flags & 8) ref.SetWordWrap(false);
    ref.SetAllText(text);
    PlainFind(ref);
    ref.OnFindChange = [](TLumEdit&, const std::string&, const std::string&, int, int, int, int,
                          bool&, bool& kakuninF, bool&) { kakuninF = false; };
    // The same steps before, so the caret stands where the run may start.
    ref.SetFindText(find);
    for (int i = 0; i < 6; ++i) (i % 3 == 2) ? ref.FindPrev() : ref.FindNext();
    ref.FindFirst();
    ref.FindReplace(find, change, (flags & 128) != 0, true, true);
    Check(ref.GetAllText() == edit.GetAllText(), "replace-all differs from the run hit by hit");
    Check(LinesOf(ref) == LinesOf(edit), "replace-all laid out differently");
    Check(ref.UndoList().size() == edit.UndoList().size(), "replace-all journalled differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zentabo;
    if (size < 4) return 0;
    // Layout: flags, the three texts split at 0xFF bytes, the rest drives the handler.
    const uint8_t flags = data[0];
    std::string parts[4];
    int part = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && part < 3) {
            ++part;
            continue;
        }
        parts[part] += static_cast<char>(data[i]);
    }
    const std::string& answers = parts[3];
    size_t next = 0;
    int asked = 0;
    auto setUp = [&](TLumEdit& edit) {
        edit.SetColumn(10 + (flags & 7));
        if (flags & 8) edit.SetWordWrap(false);
        edit.SetAllText(parts[0]);
        edit.OnFind = [&](TLumEdit&, const std::string& str, const std::string& f, int, int& x,
                          int& len) {
            if (answers.empty() || (flags & 16)) {
                const size_t p = f.empty() ? std::string::npos : str.find(f);
                x = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
                return;
            }
            const uint8_t a = static_cast<uint8_t>(answers[next++ % answers.size()]);
            x = static_cast<int>(a & 0x0F) - 2;
            len = static_cast<int>(a >> 4) - 3;
        };
        edit.OnFindChange = [&](TLumEdit&, const std::string&, const std::string&, int, int, int,
                                int, bool& changeF, bool& kakuninF, bool& abortF) {
            ++asked;
            changeF = (asked & 1) != 0;
            if (asked > 50) kakuninF = false;
            abortF = (flags & 32) && asked == 3;
        };
        edit.SetFindText(parts[1]);
        for (int i = 0; i < 6; ++i) (i % 3 == 2) ? edit.FindPrev() : edit.FindNext();
        edit.FindFirst();
        if (flags & 64) edit.SetSel(1, 0, edit.LineCount() - 1, 1);
    };
    if (!(flags & 4)) {
        // Stopped at a step the input chooses.
        HeadlessHost stoppedHost;
        TLumEdit stopped(stoppedHost);
        setUp(stopped);
        const std::string before = stopped.GetAllText();
        const std::vector<std::string> lines = LinesOf(stopped);
        const size_t journal = stopped.UndoList().size();
        EditorTestAccess::PollEveryStep(stopped);
        int calls = 0;
        const int stopAt = static_cast<int>(size % 23);
        stopped.OnReplaceProgress = [&](double) { return calls++ != stopAt; };
        if (!stopped.FindReplace(parts[1], parts[2], (flags & 128) != 0, false,
                                 (flags & 64) == 0)) {
            Check(stopped.GetAllText() == before, "a stopped replace-all changed the text");
            Check(LinesOf(stopped) == lines, "a stopped replace-all changed the layout");
            Check(stopped.UndoList().size() == journal, "a stopped replace-all kept records");
        }
        next = 0;
        asked = 0;
    }
    HeadlessHost host;
    TLumEdit edit(host);
    setUp(edit);
    const std::string original = edit.GetAllText();
    edit.FindReplace(parts[1], parts[2], (flags & 128) != 0, (flags & 4) != 0, (flags & 64) == 0);
    if ((flags & 16) && !(flags & 4) && !(flags & 64))
        CompareWithOneByOne(edit, flags, parts[0], parts[1], parts[2]);
    for (int i = 0; i < edit.LineCount(); ++i)
        Check(!edit.Lines().Get(i).empty(), "an empty entry");
    const std::string_view last = edit.Lines().Get(edit.LineCount() - 1);
    Check(last.back() == '\0', "the end-of-text marker went");
    while (!edit.UndoList().empty()) edit.Undo();
    if (!edit.HistoryTruncated()) Check(edit.GetAllText() == original, "undo did not restore");
    return 0;
}
