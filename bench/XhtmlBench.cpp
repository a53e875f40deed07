// XHTML checking of a 10 MB Japanese page against xmllint on the same file in the
// same run, and the closing-tag scan at the end of a 100 MB page.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "BenchRegistry.h"
#include "commands/XhtmlCheck.h"
#include "commands/XhtmlTagScan.h"
#include "store/Cp932Codec.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t k10Mb = 10u << 20;
constexpr int kRounds = 3;

// A valid XHTML 1.0 Strict page (or one with the short DOCTYPE) of Japanese
// paragraphs, lists, tables and links, about `bytes` long, in code page 932.
std::string ValidPage(std::size_t bytes, bool strict) {
    const std::string head =
        Utf8ToCp932(std::string("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n") +
                    (strict ? "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
                            : "<!DOCTYPE html>\r\n") +
                    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"ja\">\r\n"
                    "<head><title>検査の試験ページ</title></head>\r\n<body>\r\n")
            .bytes;
    const std::string a = Utf8ToCp932("\">第").bytes;
    std::string b =
        Utf8ToCp932(
            "章 日本語の見出し</h2>\r\n<p>これは<em>日本語</em>の段落です。&nbsp;漢字とかなが"
            "混じった文章を<a href=\"page.html\">リンク</a>付きで書きます。&amp; 記号も使います。"
            "ソフトウェアの表示能力を確かめます。</p>\r\n<ul>\r\n<li>項目一 ソース</li>\r\n"
            "<li>項目二 <strong>表</strong></li>\r\n</ul>\r\n<table summary=\"表\"><tr><td>セル"
            "</td><td>値</td></tr></table>\r\n<!-- コメント -->\r\n<p><img src=\"i.png\" "
            "alt=\"画像\""
            " /><br />改行の後の文。</p>\r\n")
            .bytes;
    // Without the DTD xmllint knows no &nbsp;.
    if (!strict) b.replace(b.find("&nbsp;"), 6, "&#160;");
    std::string page = head;
    page.reserve(bytes + 4096);
    for (int i = 0; page.size() < bytes; ++i)
        page += "<h2 id=\"s" + std::to_string(i) + a + std::to_string(i) + b;
    return page + "</body>\r\n</html>\r\n";
}

// Wall and processor time of the best round (by wall time).
struct Timing {
    double ms = 1e300, cpuMs = 0;
};

double CpuMs(int who) {
    rusage u{};
    getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

Timing BestCheck(const std::string& page, int& problems) {
    Timing best;
    for (int i = 0; i < kRounds; ++i) {
        long long start = NowNs();
        const double cpu = CpuMs(RUSAGE_SELF);
        XhtmlCheckResult r = CheckXhtml(page);
        const double ms = MillisecondsSince(start);
        if (ms < best.ms) best = {ms, CpuMs(RUSAGE_SELF) - cpu};
        problems = static_cast<int>(r.problems.size());
    }
    return best;
}

// Best of the rounds of xmllint on the file; ms < 0 where xmllint is missing.
Timing BestXmllint(const std::string& path, bool valid) {
    if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return {-1, 0};
    const std::string cmd = std::string("xmllint --noout --nonet ") + (valid ? "--valid " : "") +
                            "'" + path + "' >/dev/null 2>&1";
    Timing best;
    for (int i = 0; i < kRounds; ++i) {
        long long start = NowNs();
        const double cpu = CpuMs(RUSAGE_CHILDREN);
        if (std::system(cmd.c_str()) != 0) return {-1, 0};
        const double ms = MillisecondsSince(start);
        if (ms < best.ms) best = {ms, CpuMs(RUSAGE_CHILDREN) - cpu};
    }
    return best;
}

// On a shared machine the processor times compare more fairly than the wall times;
// both are printed.
CaseResult CheckCase(bool strict) {
    const std::string page = ValidPage(k10Mb, strict);
    const std::string path = ScratchDir() + "/page.xhtml";
    std::ofstream(path, std::ios::binary) << page;
    int problems = 0;
    const Timing ours = BestCheck(page, problems);
    CaseResult r;
    r.ms = ours.ms;
    r.bytes = static_cast<long long>(page.size());
    r.extra = {{"cpu_ms", ours.cpuMs}, {"problems", problems}};
    const Timing xmllint = BestXmllint(path, strict);
    if (xmllint.ms < 0) {
        std::fprintf(stderr, "xmllint is missing or failed: the comparison is skipped\n");
    } else {
        r.extra.push_back({"xmllint_ms", xmllint.ms});
        r.extra.push_back({"xmllint_cpu_ms", xmllint.cpuMs});
        r.extra.push_back({"ratio_to_xmllint", ours.ms / xmllint.ms});
        r.extra.push_back({"cpu_ratio_to_xmllint", ours.cpuMs / xmllint.cpuMs});
    }
    return r;
}

RegisterCase wellFormed("xhtml-check-10mb", [] { return CheckCase(false); });
RegisterCase validated("xhtml-check-valid-10mb", [] { return CheckCase(true); });

// The caret at the end of a 100 MB page whose only open element is the body at its
// start: the scan has to pass every tag of the page.
RegisterCase closingTag("xhtml-close-tag-100mb", [] {
    std::string page = ValidPage(100u << 20, true);
    page.resize(page.rfind("</body>"));
    double best = 1e300, bestCpu = 1e300;
    std::size_t length = 0;
    for (int i = 0; i < kRounds; ++i) {
        long long start = NowNs();
        const std::clock_t cpu = std::clock();
        std::optional<std::string> tag = ClosingTagText(page, page.size());
        best = std::min(best, MillisecondsSince(start));
        bestCpu = std::min(bestCpu, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        length = tag ? tag->size() : 0;
    }
    CaseResult r;
    r.ms = best;
    r.bytes = static_cast<long long>(page.size());
    // On a shared machine the processor time says more than the wall time.
    r.extra = {{"cpu_ms", bestCpu}, {"tag_length", static_cast<double>(length)}};
    return r;
});

}  // namespace
}  // namespace zentabo::bench
