// The markup and text commands on 100 MB with nothing selected, so on the whole text:
// HTML encoding, paragraph conversion, a comma table from 1.5 million lines, and the
// whole-text replace and undo an encoding makes in the editor.
#include <limits>
#include <memory>
#include <string>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "commands/BlockBuilders.h"
#include "commands/TextTransforms.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
constexpr int kTableLines = 1500000;

template <class Command>
CaseResult TimeOnSample(Command&& command) {
    const std::string text = SampleText(kTextBytes);
    CaseResult r;
    r.bytes = static_cast<long long>(text.size());
    long long start = NowNs();
    std::string result = command(text);
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"result_bytes", static_cast<double>(result.size())});
    return r;
}

RegisterCase encodeHtml("command-encode-html-100mb", [] {
    return TimeOnSample([](const std::string& t) { return EncodeHtml(t); });
});

RegisterCase paragraphs("command-paragraphs-100mb", [] {
    return TimeOnSample([](const std::string& t) { return ConvertParagraphs(t); });
});

RegisterCase table("command-table-comma-1500k-lines", [] {
    const std::string text = CommaLines(kTableLines);
    CaseResult r;
    r.bytes = static_cast<long long>(text.size());
    long long start = NowNs();
    std::string result = BuildTable(text, ',', "list");
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"result_bytes", static_cast<double>(result.size())});
    return r;
});

// Select all, paste the encoded text over the selection (one replacement step), then
// one undo, with an undo budget that holds the step.
RegisterCase undoEncode("command-encode-html-undo-100mb", [] {
    FixedMetricsHost host;
    host.SetClientSize(1024, 768);
    auto edit = std::make_unique<TLumEdit>(host);
    edit->SetColumn(80);
    edit->SetUndoBuf(std::numeric_limits<int>::max());
    edit->SetAllText(SampleText(kTextBytes));
    const int linesBefore = edit->LineCount();
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    long long start = NowNs();
    edit->SelectAll();
    std::string selected = edit->GetSelText();
    r.extra.push_back({"get_text_ms", MillisecondsSince(start)});
    start = NowNs();
    std::string encoded = EncodeHtml(selected);
    selected = std::string();
    r.extra.push_back({"encode_ms", MillisecondsSince(start)});
    start = NowNs();
    edit->InsertString(encoded);
    encoded = std::string();
    r.extra.push_back({"replace_ms", MillisecondsSince(start)});
    r.extra.push_back({"undo_records", static_cast<double>(edit->UndoList().size())});
    start = NowNs();
    edit->Undo();
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"restored", edit->LineCount() == linesBefore ? 1.0 : 0.0});
    return r;
});

}  // namespace
}  // namespace zentabo::bench
