// Search engine timings on 100 MB of wrapped text: a search that finds nothing, a
// replace-all of about a million occurrences, and undoing that as far as the undo
// buffer holds. The page's compare step answers OnFind, as in the program.
#include <memory>
#include <string>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "app/FindCompare.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
const std::string kToken = "#~";  // absent from the sample text
const std::string kReplacement = "#~!";

struct SearchText {
    FixedMetricsHost host;
    std::unique_ptr<TLumEdit> edit;
    long long tokens = 0;

    // withTokens: the token at the start of every logical line that begins at least
    // 100 bytes behind the previous token, about a million in all.
    explicit SearchText(bool withTokens) {
        host.SetClientSize(1024, 768);
        edit = std::make_unique<TLumEdit>(host);
        edit->SetColumn(80);
        std::string text = SampleText(kTextBytes);
        if (withTokens) {
            std::string marked;
            marked.reserve(text.size() + text.size() / 40);
            std::size_t last = 0, pos = 0;
            while (pos < text.size()) {
                std::size_t eol = text.find("\r\n", pos);
                std::size_t end = eol == std::string::npos ? text.size() : eol + 2;
                if (pos >= last + 56 || pos == 0) {
                    marked += kToken;
                    ++tokens;
                    last = pos;
                }
                marked.append(text, pos, end - pos);
                pos = end;
            }
            text.swap(marked);
        }
        edit->SetAllText(std::move(text));
        edit->OnFind = [](TLumEdit&, const std::string& str, const std::string& findchr, int,
                          int& x, int&) { x = FindCompare(str, findchr, false); };
    }
};

RegisterCase findNoHit("find-nohit-100mb", [] {
    SearchText t(false);
    bool missed = false;
    t.edit->OnFindNoHit = [&](TLumEdit&, const std::string&) { missed = true; };
    t.edit->SetFindText("zentabo-absent");
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    long long start = NowNs();
    t.edit->FindNext();
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"display_lines", static_cast<double>(t.edit->LineCount())});
    r.extra.push_back({"missed", missed ? 1.0 : 0.0});
    return r;
});

struct ReplacedText : SearchText {
    int replaced = 0;
    double replaceMs = 0;

    ReplacedText() : SearchText(true) {
        edit->OnFindChangeEnd = [this](TLumEdit&, const std::string&, const std::string&,
                                       int count) { replaced = count; };
        long long start = NowNs();
        edit->FindReplace(kToken, kReplacement, true, false, true);
        replaceMs = MillisecondsSince(start);
    }
};

RegisterCase replace("replace-1m", [] {
    ReplacedText t;
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    r.ms = t.replaceMs;
    r.extra.push_back({"tokens", static_cast<double>(t.tokens)});
    r.extra.push_back({"replaced", static_cast<double>(t.replaced)});
    r.extra.push_back({"undo_records", static_cast<double>(t.edit->UndoList().size())});
    r.extra.push_back({"display_lines", static_cast<double>(t.edit->LineCount())});
    return r;
});

RegisterCase undoReplace("undo-replace-1m", [] {
    ReplacedText t;
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    const double records = static_cast<double>(t.edit->UndoList().size());
    long long steps = 0;
    long long start = NowNs();
    while (!t.edit->UndoList().empty()) {
        t.edit->Undo();
        ++steps;
    }
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"undo_records", records});
    r.extra.push_back({"undo_steps", static_cast<double>(steps)});
    r.extra.push_back({"replace_ms", t.replaceMs});
    return r;
});

}  // namespace
}  // namespace zentabo::bench
